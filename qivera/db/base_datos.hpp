#pragma once
#include <memory>
#include <stdexcept>
#include <string>

#include "qivera/db/conexion_qt.hpp"

namespace qivera::db {

// Opens the database a URL names (see InterpretaUrl).
std::unique_ptr<ConexionQt> AbreBaseDatos(const std::string& url);

// Whether the database has the host's schema.
bool TieneEsquema(ConexionQt& conexion);

// A database a program was pointed at that is not there, or not made for it.
class BaseNoPreparada : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Opens a database to work on: a SQLite file must already exist (opening it would create it) and the
// schema must be in it. Raises BaseNoPreparada otherwise, and RuntimeError when it cannot be opened.
std::unique_ptr<ConexionQt> AbreBaseExistente(const std::string& url);

}  // namespace qivera::db
