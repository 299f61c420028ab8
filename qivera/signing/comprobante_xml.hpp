#pragma once
#include <string>

#include "qivera/printing/factura_guardada.hpp"

namespace qivera {

// The invoice as the canonical XML that is signed: UTF-8, no whitespace between elements,
// elements in a fixed order, every value as element text with &, <, > escaped, carriage
// returns as character references and other control characters dropped, amounts and
// quantities with four decimals, the exchange rate with six. The same invoice always gives
// the same bytes. `baseDatos` names the database the invoice belongs to.
std::string ComprobanteXml(const FacturaGuardada& factura, const std::string& baseDatos);

}  // namespace qivera
