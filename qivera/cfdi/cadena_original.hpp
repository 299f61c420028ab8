#pragma once
#include <string>

#include "qivera/cfdi/nodo_xml.hpp"

namespace qivera {

// The original string of a CFDI 4.0 ("cadena original") by the tax authority's rules: the values of
// the sealed attributes in their fixed order, each after a "|", whitespace collapsed, the whole
// between "||" and "||". Seal, certificate, complements and addenda are not part of it. An element
// the rules of this program do not cover raises RuntimeError rather than being left out of the seal.
std::string CadenaOriginal(const NodoXml& comprobante);
// The original string of the digital tax stamp (TimbreFiscalDigital 1.1).
std::string CadenaOriginalTimbre(const NodoXml& timbre);

}  // namespace qivera
