#include "apoyo/salidas.hpp"

#include <QUrl>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "apoyo/base_prueba.hpp"

namespace prueba {

namespace {

namespace fs = std::filesystem;

fs::path ArchivoPropio(const std::string& nombre) {
    return CarpetaDeSalidas() / (nombre + "-" + std::to_string(::getpid()));
}

// Appends `texto` to this process's file `nombre`-PID of the folder; created 0600, as it may hold secrets.
void Anota(const std::string& nombre, const std::string& texto) {
    const fs::path carpeta = CarpetaDeSalidas();
    if (carpeta.empty()) return;
    ::mkdir(carpeta.c_str(), 0700);  // or it is there already
    const std::string ruta = ArchivoPropio(nombre).string();
    const int archivo = ::open(ruta.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (archivo < 0) return;
    for (std::size_t escritos = 0; escritos < texto.size();) {
        const ssize_t n = ::write(archivo, texto.data() + escritos, texto.size() - escritos);
        if (n <= 0) break;
        escritos += static_cast<std::size_t>(n);
    }
    ::close(archivo);
}

std::string Lee(const fs::path& ruta) {
    std::ostringstream texto;
    texto << std::ifstream(ruta).rdbuf();
    return texto.str();
}

// Every secret this process recorded, by what it is, and the test server's password.
std::set<std::pair<std::string, std::string>> Secretos() {
    std::set<std::pair<std::string, std::string>> secretos;
    const std::string servidor = QUrl(QString::fromStdString(ServidorDePrueba())).password().toStdString();
    if (!servidor.empty()) secretos.emplace("the test server's password", servidor);
    std::istringstream lineas(Lee(ArchivoPropio("secretos")));
    for (std::string linea; std::getline(lineas, linea);)
        if (const auto tab = linea.find('\t'); tab != std::string::npos && tab + 1 < linea.size())
            secretos.emplace(linea.substr(0, tab), linea.substr(tab + 1));
    return secretos;
}

// The origin (see Transcribe) of what the transcript holds at `donde`.
std::string Origen(const std::string& transcripcion, std::size_t donde) {
    const std::string inicio = kInicioDeOrigen;
    const std::size_t origen = transcripcion.rfind(inicio, donde);
    if (origen == std::string::npos) return "?";
    const std::size_t desde = origen + inicio.size();
    return transcripcion.substr(desde, transcripcion.find('\n', desde) - desde);
}

}  // namespace

int SecretosALaVista() {
    if (CarpetaDeSalidas().empty()) return 0;
    const std::string texto = Lee(ArchivoPropio("salida"));
    int vistos = 0;
    for (const auto& [que, valor] : Secretos()) {
        const std::size_t donde = texto.find(valor);
        if (donde == std::string::npos) continue;
        std::cerr << "A secret shows: " << que << ", in what " << Origen(texto, donde) << " printed\n";
        ++vistos;
    }
    if (vistos == 0) {
        std::error_code ignorado;
        for (const char* nombre : {"salida", "secretos"}) fs::remove(ArchivoPropio(nombre), ignorado);
    }
    return vistos;
}

std::filesystem::path CarpetaDeSalidas() { return VariableDeEntorno("KX204_SALIDAS"); }

void Transcribe(const std::string& origen, const std::string& texto) {
    if (!texto.empty()) Anota("salida", kInicioDeOrigen + origen + "\n" + texto);
}

void Secreto(const std::string& que, const std::string& valor) {
    if (!valor.empty()) Anota("secretos", que + "\t" + valor + "\n");
}

}  // namespace prueba
