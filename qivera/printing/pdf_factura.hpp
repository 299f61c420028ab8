#pragma once
#include <QByteArray>
#include <string>

#include "qivera/printing/factura_guardada.hpp"

namespace qivera {

// The invoice laid out on Letter pages as a PDF: the print format in the top right corner, a
// header with branch, series and number, folio and date, the client's block, one row per line
// with its lots and serial numbers, and the totals. Text needs a QGuiApplication; without one
// this raises RuntimeError.
QByteArray PdfFactura(const FacturaGuardada& factura, const std::string& formato);

}  // namespace qivera
