#include "qivera/signing/libro_pac_prueba.hpp"

#include <fstream>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include "kx204/host/runtime_error.hpp"

namespace qivera {

LibroPacPrueba::Bloqueo::Bloqueo(const std::string& ruta)
    : descriptor_(::open((ruta + ".bloqueo").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
    if (descriptor_ < 0 || ::flock(descriptor_, LOCK_EX) != 0)
        throw kx204::host::RuntimeError(75, "No se pudo abrir el libro del proveedor de prueba " + ruta);
}

LibroPacPrueba::Bloqueo::~Bloqueo() { ::close(descriptor_); }  // closing releases the lock

std::vector<AsientoPac> LibroPacPrueba::Asientos() const {
    std::vector<AsientoPac> asientos;
    std::ifstream entrada(ruta_);
    for (std::string linea; std::getline(entrada, linea);) {
        const auto j = nlohmann::json::parse(linea, nullptr, false);
        if (j.is_discarded()) continue;  // a line cut short by a killed writer
        asientos.push_back({j.value("evento", ""), j.value("uuid", ""), j.value("fecha_timbrado", ""),
                            j.value("documento", ""), j.value("motivo", ""), j.value("relacion", "")});
    }
    return asientos;
}

void LibroPacPrueba::Agrega(const std::vector<AsientoPac>& asientos) const {
    std::ofstream salida(ruta_, std::ios::app);
    for (const AsientoPac& a : asientos)
        salida << nlohmann::ordered_json{{"evento", a.evento},
                                         {"uuid", a.uuid},
                                         {"fecha_timbrado", a.fechaTimbrado},
                                         {"documento", a.documento},
                                         {"motivo", a.motivo},
                                         {"relacion", a.relacion}}
                      .dump()
               << "\n";
    if (!salida.flush()) throw kx204::host::RuntimeError(75, "No se pudo escribir el libro " + ruta_);
}

}  // namespace qivera
