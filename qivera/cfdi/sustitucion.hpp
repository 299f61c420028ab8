#pragma once
#include <string>
#include <vector>

#include "qivera/cfdi/nodo_xml.hpp"

namespace qivera {

// The SAT's relation 04: a CFDI that replaces others, which are then cancelled with reason 01 naming it.
NodoXml NodoSustitucion(const std::vector<std::string>& uuids);
// The UUIDs `comprobante` replaces; none when it relates to none by 04.
std::vector<std::string> UuidsSustituidos(const NodoXml& comprobante);
// The same of a CFDI's text, which is parsed only when it names the relation at all: most replace none.
std::vector<std::string> UuidsSustituidos(const std::string& xml);

}  // namespace qivera
