#pragma once
#include <string>

#include "qivera/sesion/sesion.hpp"

namespace qivera {

// A key field's catalog search (F2): the person chooses among the catalog's rows, shown as
// "key — description" so that either can be searched for. Answers the chosen key, empty when
// the search was closed without choosing.
std::string BuscaEnCatalogo(Sesion& sesion, const std::string& consulta, const std::string& condicion);

}  // namespace qivera
