#pragma once
#include <cstdint>
#include <string>

#include "kx204/host/date.hpp"
#include "qivera/printing/factura_guardada.hpp"
#include "qivera/cfdi/nodo_xml.hpp"
#include "qivera/signing/datos_cfdi.hpp"

namespace qivera {

inline constexpr const char* kEspacioCfdi = "http://www.sat.gob.mx/cfd/4";

// The stored invoice as a CFDI 4.0 of income, issued at `fecha` under the certificate numbered
// `noCertificado` (its DER in base64 is `certificado`), with an empty Sello for the sealer to fill.
// One concept per invoice line, its price the line's amount over its quantity to six decimals; the
// global discount shared among the lines in proportion to their amounts, the last taking the remainder;
// each line's tax over its amount after discount, exact to the millionth; the document's sums from the
// concepts, each group of taxes rounded once, so that every total adds up to the cent. Imported goods carry their customs declarations. An invoice
// to the general public carries its period (InformacionGlobal) and, as the SAT's guide for the global
// CFDI asks, one concept per sale note instead of one per line.
// Whether books `centavos` apart from a CFDI of `conceptos` concepts differ only by rounding: each
// concept rounded on its own, and the document's SubTotal and Descuento.
bool DifierePorRedondeo(std::int64_t centavos, std::size_t conceptos);

NodoXml ComprobanteCfdi(const FacturaGuardada& factura, const DatosCfdi& datos, const kx204::host::Date& fecha,
                        const std::string& noCertificado, const std::string& certificado);

}  // namespace qivera
