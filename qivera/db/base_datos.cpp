#include "qivera/db/base_datos.hpp"

#include <filesystem>

namespace qivera::db {

std::unique_ptr<ConexionQt> AbreBaseDatos(const std::string& url) { return std::make_unique<ConexionQt>(url); }

// Table Venta stands for the whole schema: it is the screen's own table.
bool TieneEsquema(ConexionQt& conexion) {
    const std::string consulta =
        conexion.dialecto() == Dialecto::SQLite
            ? "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = 'Venta' COLLATE NOCASE"
            : "SELECT count(*) FROM information_schema.tables WHERE lower(table_name) = 'venta'";
    return conexion.Execute(consulta)->Field(0).ToLong() > 0;
}

std::unique_ptr<ConexionQt> AbreBaseExistente(const std::string& url) {
    const Destino destino = InterpretaUrl(url);
    if (destino.enArchivo && !std::filesystem::exists(destino.base))
        throw BaseNoPreparada("the database " + UrlSinClave(url) + " does not exist");
    auto conexion = AbreBaseDatos(url);
    if (!TieneEsquema(*conexion)) throw BaseNoPreparada("the database " + UrlSinClave(url) + " has no schema");
    return conexion;
}

}  // namespace qivera::db
