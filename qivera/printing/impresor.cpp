#include "qivera/printing/impresor.hpp"

#include "kx204/host/runtime_error.hpp"
#include "qivera/printing/carpetas.hpp"
#include "qivera/printing/factura_guardada.hpp"
#include "qivera/printing/pdf_factura.hpp"
#include "qivera/services/listas.hpp"

namespace qivera {

namespace {

constexpr long kErrorDocumento = 5;  // VB's "Invalid procedure call or argument"

}  // namespace

std::string RutaImpresion(Sesion& sesion, const std::string& folio) {
    return RutaDocumento(CarpetaDocumentos(sesion.conexion, "IMPRESION_DIRECTORIO", "impresos"), folio, "pdf");
}

void ImpresorQivera::ImprimeDocumento(const std::string& formato, const std::string& folio, const std::string&, double,
                                      double, const std::string&) {
    const std::optional<FacturaGuardada> factura = LeeFactura(sesion_.conexion, folio);
    if (!factura) throw kx204::host::RuntimeError(kErrorDocumento, "No existe la factura " + folio);
    const std::optional<RepresentacionCfdi> cfdi = LeeRepresentacionCfdi(sesion_.conexion, folio);
    const QByteArray pdf = PdfFactura(*factura, formato, cfdi ? &*cfdi : nullptr);
    const std::string ruta = RutaImpresion(sesion_, folio);
    GuardaArchivo(ruta, pdf.toStdString());
    if (sesion_.registra) sesion_.registra("print", folio, ruta);
}

}  // namespace qivera
