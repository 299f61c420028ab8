#pragma once
#include <memory>
#include <string>

#include "qivera/db/conexion_qt.hpp"

namespace qivera::db {

// Opens the database a URL names (see InterpretaUrl).
std::unique_ptr<ConexionQt> AbreBaseDatos(const std::string& url);

}  // namespace qivera::db
