#include "qivera/db/base_datos.hpp"

namespace qivera::db {

std::unique_ptr<ConexionQt> AbreBaseDatos(const std::string& url) { return std::make_unique<ConexionQt>(url); }

}  // namespace qivera::db
