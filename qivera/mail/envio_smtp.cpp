#include "qivera/mail/envio_smtp.hpp"

#include <algorithm>
#include <cstring>
#include <memory>

#include <curl/curl.h>

namespace qivera {

namespace {

constexpr long kSegundosConexion = 15;
constexpr long kSegundosEnvio = 120;

struct Lectura {
    const std::string& texto;
    std::size_t enviado = 0;
};

std::size_t Lee(char* destino, std::size_t tamano, std::size_t cuantos, void* datos) {
    auto* lectura = static_cast<Lectura*>(datos);
    const std::size_t n = std::min(tamano * cuantos, lectura->texto.size() - lectura->enviado);
    std::memcpy(destino, lectura->texto.data() + lectura->enviado, n);
    lectura->enviado += n;
    return n;
}

struct LiberaCurl {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
struct LiberaLista {
    void operator()(curl_slist* lista) const { curl_slist_free_all(lista); }
};

}  // namespace

std::string EnviaSmtp(const std::string& url, const std::string& remitente,
                      const std::vector<std::string>& destinatarios, const std::string& eml) {
    static const CURLcode iniciado = curl_global_init(CURL_GLOBAL_DEFAULT);
    if (iniciado != CURLE_OK) return curl_easy_strerror(iniciado);
    std::unique_ptr<CURL, LiberaCurl> curl(curl_easy_init());
    if (!curl) return "no se pudo iniciar libcurl";
    std::unique_ptr<curl_slist, LiberaLista> lista;
    for (const std::string& destinatario : destinatarios) {
        curl_slist* ampliada = curl_slist_append(lista.get(), ("<" + destinatario + ">").c_str());
        if (ampliada == nullptr) return "sin memoria";
        lista.release();
        lista.reset(ampliada);
    }
    Lectura lectura{eml};
    char error[CURL_ERROR_SIZE] = "";
    CURL* c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    // Only mail: a URL of another protocol in the configuration is refused, not followed.
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "smtp,smtps");
    curl_easy_setopt(c, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_TRY));
    curl_easy_setopt(c, CURLOPT_MAIL_FROM, ("<" + remitente + ">").c_str());
    curl_easy_setopt(c, CURLOPT_MAIL_RCPT, lista.get());
    curl_easy_setopt(c, CURLOPT_READFUNCTION, Lee);
    curl_easy_setopt(c, CURLOPT_READDATA, &lectura);
    curl_easy_setopt(c, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(c, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(eml.size()));
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, error);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, kSegundosConexion);
    curl_easy_setopt(c, CURLOPT_TIMEOUT, kSegundosEnvio);
    const CURLcode resultado = curl_easy_perform(c);
    if (resultado == CURLE_OK) return {};
    return error[0] != '\0' ? error : curl_easy_strerror(resultado);
}

}  // namespace qivera
