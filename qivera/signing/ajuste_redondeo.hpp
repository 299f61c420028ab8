#pragma once
#include "kx204/host/connection.hpp"
#include "kx204/host/currency.hpp"
#include "qivera/printing/factura_guardada.hpp"
#include "qivera/cfdi/nodo_xml.hpp"

namespace qivera {

// The one place where the books give way to the legal document. The CFDI rounds its SubTotal, its
// Descuento and each group of taxes to the cent on its own, and a concept's tax may move only within
// the SAT's tolerance; when that cannot reach the books' total to the cent, the invoice and its
// receivable take the CFDI's total, the difference going to their tax (the receivable's largest tax
// line). Runs inside the caller's transaction, the one that records the sealed CFDI, and answers the
// cents the books moved: zero when they already agreed.
kx204::host::Currency IgualaLibrosAlCfdi(kx204::host::Connection& conexion, const FacturaGuardada& factura,
                                         const NodoXml& cfdi);

}  // namespace qivera
