#pragma once
#include <memory>
#include <string>

#include "qivera/db/conexion_qt.hpp"
#include "qivera/db/demo.hpp"

namespace qivera::db {

// Opens the database a URL names (see InterpretaUrl).
std::unique_ptr<ConexionQt> AbreBaseDatos(const std::string& url);

// Creates the schema and the query templates, and the demo data with `notas`
// pending sale notes when asked, all in one transaction. A database that already
// has the schema is refused with a RuntimeError and left untouched.
void InicializaBaseDatos(const std::string& url, bool demo, int notas = kNotasDemo);

}  // namespace qivera::db
