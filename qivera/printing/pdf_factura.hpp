#pragma once
#include <QByteArray>
#include <string>

#include "qivera/printing/factura_guardada.hpp"
#include "qivera/printing/representacion_cfdi.hpp"

namespace qivera {

// The invoice laid out on Letter pages as a PDF: the print format in the top right corner, a
// header with branch, series and number, folio and date, the client's block, one row per line
// with its lots and serial numbers, and the totals. With its CFDI, the printed representation:
// issuer and receiver with their tax IDs and regimes, place of issue, use, payment form and method,
// each line's SAT keys, the taxes by rate, the total in words, and the stamp with its QR code, seals
// and original string. Text needs a QGuiApplication; without one this raises RuntimeError.
QByteArray PdfFactura(const FacturaGuardada& factura, const std::string& formato,
                      const RepresentacionCfdi* cfdi = nullptr);

}  // namespace qivera
