// Run by ctest after every other test (tests/CMakeLists.txt): no secret the suite's runs were handed
// shows in anything they printed.
#include <gtest/gtest.h>

#include <QUrl>
#include <fstream>
#include <set>
#include <sstream>

#include "apoyo/base_prueba.hpp"
#include "apoyo/salidas.hpp"

namespace {

namespace fs = std::filesystem;

std::string Lee(const fs::path& ruta) {
    std::ostringstream texto;
    texto << std::ifstream(ruta).rdbuf();
    return texto.str();
}

// Every secret recorded, by what it is, and the test server's password.
std::set<std::pair<std::string, std::string>> Secretos(const std::vector<fs::path>& archivos) {
    std::set<std::pair<std::string, std::string>> secretos;
    const std::string servidor = QUrl(QString::fromStdString(prueba::ServidorDePrueba())).password().toStdString();
    if (!servidor.empty()) secretos.emplace("the test server's password", servidor);
    for (const fs::path& archivo : archivos) {
        std::istringstream lineas(Lee(archivo));
        for (std::string linea; std::getline(lineas, linea);)
            if (const auto tab = linea.find('\t'); tab != std::string::npos && tab + 1 < linea.size())
                secretos.emplace(linea.substr(0, tab), linea.substr(tab + 1));
    }
    return secretos;
}

// The origin (see prueba::Transcribe) of what the transcript holds at `donde`.
std::string Origen(const std::string& transcripcion, std::size_t donde) {
    const std::string inicio = prueba::kInicioDeOrigen;
    const std::size_t origen = transcripcion.rfind(inicio, donde);
    if (origen == std::string::npos) return "?";
    const std::size_t desde = origen + inicio.size();
    return transcripcion.substr(desde, transcripcion.find('\n', desde) - desde);
}

}  // namespace

TEST(Salidas, NoneShowsASecret) {
    const fs::path carpeta = prueba::CarpetaDeSalidas();
    if (carpeta.empty() || !fs::exists(carpeta)) return;  // nothing was run, or not under ctest
    std::vector<fs::path> salidas, guardados;
    for (const auto& entrada : fs::directory_iterator(carpeta))
        (entrada.path().filename().string().rfind("secretos-", 0) == 0 ? guardados : salidas).push_back(entrada.path());
    const auto secretos = Secretos(guardados);
    for (const fs::path& salida : salidas) {
        const std::string texto = Lee(salida);
        for (const auto& [que, valor] : secretos) {
            const std::size_t donde = texto.find(valor);
            if (donde != std::string::npos)
                ADD_FAILURE() << salida << " shows " << que << ", in what " << Origen(texto, donde) << " printed";
        }
    }
}
