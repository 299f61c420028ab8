#include "qivera/db/base_datos.hpp"

#include <filesystem>

#include "qivera/db/esquema.hpp"

namespace qivera::db {

std::unique_ptr<ConexionQt> AbreBaseDatos(const std::string& url) { return std::make_unique<ConexionQt>(url); }

std::unique_ptr<ConexionQt> AbreBaseExistente(const std::string& url) {
    const Destino destino = InterpretaUrl(url);
    if (destino.enArchivo && !std::filesystem::exists(destino.base))
        throw BaseNoPreparada(BaseNoPreparada::Motivo::NoExiste,
                              "the database " + UrlSinClave(url) + " does not exist");
    auto conexion = AbreBaseDatos(url);
    const int version = VersionEsquema(*conexion, conexion->dialecto());
    const std::string base = "the database " + UrlSinClave(url);
    if (version == 0) throw BaseNoPreparada(BaseNoPreparada::Motivo::SinEsquema, base + " has no schema");
    if (version < kVersionEsquema)
        throw BaseNoPreparada(BaseNoPreparada::Motivo::Antigua,
                              base + " has schema version " + std::to_string(version) + " and this program needs " +
                                  std::to_string(kVersionEsquema));
    if (version > kVersionEsquema)
        throw BaseNoPreparada(BaseNoPreparada::Motivo::Nueva, base + " has schema version " + std::to_string(version) +
                                                                  ", newer than this program's " +
                                                                  std::to_string(kVersionEsquema));
    return conexion;
}

}  // namespace qivera::db
