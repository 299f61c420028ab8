#include "qivera/signing/openssl.hpp"

#include <openssl/err.h>

#include "kx204/host/runtime_error.hpp"

namespace qivera {

namespace {

constexpr long kErrorFirma = 5;             // VB's "Invalid procedure call or argument"
constexpr int kDiaSerialEpocaUnix = 25569;  // 1970-01-01 counted from 1899-12-30
constexpr std::time_t kSegundosPorDia = 86400;

}  // namespace

void FallaOpenSsl(const std::string& motivo) {
    const unsigned long codigo = ERR_get_error();
    ERR_clear_error();
    std::string detalle;
    if (codigo != 0) {
        char texto[256];
        ERR_error_string_n(codigo, texto, sizeof texto);
        detalle = std::string(" (") + texto + ")";
    }
    throw kx204::host::RuntimeError(kErrorFirma, motivo + detalle);
}

Bio BioDeTexto(const std::string& texto) {
    Bio bio(BIO_new_mem_buf(texto.data(), static_cast<int>(texto.size())));
    if (!bio) FallaOpenSsl("Sin memoria para leer las credenciales");
    return bio;
}

std::string TextoDeBio(BIO* bio) {
    char* datos = nullptr;
    const long largo = BIO_get_mem_data(bio, &datos);
    return std::string(datos, static_cast<std::size_t>(largo));
}

std::time_t InicioDelDia(const kx204::host::Date& dia) {
    return (static_cast<std::time_t>(dia.SerialDays()) - kDiaSerialEpocaUnix) * kSegundosPorDia;
}

}  // namespace qivera
