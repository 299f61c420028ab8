#pragma once
#include <string>

#include "qivera/demo/demo.hpp"

namespace qivera::db {

// Creates the schema and the query templates, and the demo data with `notas`
// pending sale notes when asked (the user ADMIN alone otherwise), all in one transaction. The demo's
// invoices are stamped by the command `timbrador` when given (see CFDI_TIMBRADO_COMANDO). A database that already
// has the schema is refused with a RuntimeError and left untouched.
void InicializaBaseDatos(const std::string& url, bool demo, int notas = kNotasDemo, const std::string& timbrador = {});

}  // namespace qivera::db
