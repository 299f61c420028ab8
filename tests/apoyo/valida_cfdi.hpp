#pragma once
#include <string>
#include <vector>

namespace prueba {

// What is wrong with a CFDI 4.0 XML: its structure against cfdi40.xsd, then the arithmetic rules. Empty when
// nothing is.
std::vector<std::string> ErroresCfdi(const std::string& xml);

}  // namespace prueba
