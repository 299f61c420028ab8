#include "qivera/signing/ajuste_redondeo.hpp"

#include "qivera/db/sql.hpp"
#include "qivera/printing/legible.hpp"
#include "qivera/signing/cfdi.hpp"

namespace qivera {

using kx204::host::Currency;

namespace {

std::string Suma(const char* columna, Currency ajuste) {
    return std::string(columna) + " = " + columna + " + " + LiteralImporte(ajuste);
}

// Only rounding gives way: the CFDI already carries the books' SubTotal and Descuento, and the taxes
// differ by rounding alone. Books further from their own lines are not mended here.
bool EsRedondeo(const FacturaGuardada& factura, const NodoXml& cfdi, Currency ajuste) {
    const NodoXml* conceptos = cfdi.Hijo("Conceptos");
    const auto importe = [&](const char* atributo) {
        return cfdi.TieneAtributo(atributo) ? Currency::Parse(cfdi.Atributo(atributo)) : Currency();
    };
    return conceptos != nullptr && importe("SubTotal") == AlCentavo(factura.subtotal) &&
           importe("Descuento") == AlCentavo(factura.descuento) &&
           DifierePorRedondeo(ajuste.Scaled() / (Currency::kScale / 100), conceptos->hijos.size());
}

}  // namespace

Currency IgualaLibrosAlCfdi(kx204::host::Connection& conexion, const FacturaGuardada& factura, const NodoXml& cfdi) {
    const Currency ajuste = Currency::Parse(cfdi.Atributo("Total")) - AlCentavo(factura.total);
    if (ajuste == Currency() || !EsRedondeo(factura, cfdi, ajuste)) return Currency();
    const std::string folio = LiteralTexto(factura.folio);
    for (const char* tabla : {"Factura", "Factura_Encabezado"})
        conexion.Execute(std::string("UPDATE ") + tabla + " SET " + Suma("Fc_Impuesto", ajuste) + ", " +
                         Suma("Fc_Total", ajuste) + " WHERE Fc_Folio = " + folio);
    const std::string cuenta =
        "(SELECT Cxc_Folio FROM Cuenta_x_Cobrar WHERE Cxc_Tabla = 'FACTURA' AND Cxc_Documento = " + folio +
        " AND Es_Cve_Estado <> 'CA')";
    conexion.Execute("UPDATE Cuenta_x_Cobrar SET " + Suma("Cxc_Impuesto_Importe", ajuste) + ", " +
                     Suma("Cxc_Impuesto_Saldo", ajuste) + ", " + Suma("Cxc_Precio_Neto_Importe", ajuste) + ", " +
                     Suma("Cxc_Precio_Neto_Saldo", ajuste) + " WHERE Cxc_Folio = " + cuenta);
    conexion.Execute("UPDATE CUENTA_X_COBRAR_IMPUESTO SET " + Suma("Cxci_Importe", ajuste) + ", " +
                     Suma("Cxci_Saldo", ajuste) + " WHERE Cxc_Folio = " + cuenta +
                     " AND Im_Cve_Impuesto = (SELECT Im_Cve_Impuesto FROM CUENTA_X_COBRAR_IMPUESTO WHERE Cxc_Folio = " +
                     cuenta + " ORDER BY Cxci_Importe DESC, Im_Cve_Impuesto LIMIT 1)");
    return ajuste;
}

}  // namespace qivera
