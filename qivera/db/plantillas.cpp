#include "qivera/db/plantillas.hpp"

#include "kx204/host/texto.hpp"

#include <cctype>
#include <utility>
#include <vector>

namespace qivera::db {

namespace {

constexpr const char* kPlaceholder = "{WHERE}";

// Per-note figures sum the note's lines; the note's own data come from any of
// its lines (MAX) or from its header, so that every engine accepts the grouping.
constexpr const char* kTextoFacturacionVentaConsolidada = R"(SELECT
    Venta.Vn_Folio AS "Folio",
    MAX(isnull(Cliente.Cl_Descripcion, Venta.Cl_Cve_Cliente)) AS "Cliente",
    MAX(Venta.Vn_Fecha) AS "Fecha",
    MAX(CASE Condicion_Venta.Cv_Tipo_Condicion WHEN '02' THEN 'CREDITO' ELSE 'CONTADO' END) AS "Tipo",
    MAX(isnull(Venta_Encabezado.Vn_Referencia, '')) AS "Referencia",
    round(SUM(Venta.Vn_Impuesto_Importe), 4) AS "Impuesto",
    round(SUM(Venta.Vn_Precio_Descontado_Importe - Venta.Vn_Descuento_Global_Importe), 4) AS "Importe",
    round(SUM(Venta.Vn_Descuento_Global_Importe), 4) AS "DSCTO GLOBAL",
    round(SUM(Venta.Vn_Precio_Descontado_Importe), 4) AS "SUBTOTAL",
    round(SUM(Venta.Vn_Precio_Neto_Importe), 4) AS "Total",
    MAX(Venta.Vn_Condicion_Venta) AS "Cond. Venta",
    MAX(isnull(Venta_Encabezado.Vn_Forma_Pago, '')) AS "Forma pago",
    MAX(isnull(Venta_Encabezado.Oper_Alta, Venta.Oper_Alta)) AS "Operador",
    MAX(Venta.Vn_Cve_Vendedor) AS "Vendedor",
    MAX(isnull(Venta_Encabezado.Vn_Origen, '')) AS "Origen",
    MAX(isnull(Venta_Encabezado.Vn_Documento, '')) AS "Documento"
FROM Venta
    LEFT JOIN Venta_Encabezado ON Venta_Encabezado.Vn_Folio = Venta.Vn_Folio
    LEFT JOIN Cliente ON Cliente.Cl_Cve_Cliente = Venta.Cl_Cve_Cliente
    LEFT JOIN Condicion_Venta ON Condicion_Venta.Cv_Cve_Condicion_Venta = Venta.Vn_Condicion_Venta
{WHERE}
GROUP BY Venta.Vn_Folio
ORDER BY Venta.Vn_Folio)";

// A note is offered only when none of its lines is cancelled, invoiced, tied to an invoice or deleted.
constexpr const char* kTextoVentaNoFacturada = R"(SELECT
    Venta.Vn_Folio AS "Folio",
    MAX(Venta.Vn_Fecha) AS "Fecha",
    MAX(Venta.Cl_Cve_Cliente) AS "Cliente",
    MAX(isnull(Cliente.Cl_Descripcion, '')) AS "Nombre",
    MAX(Venta.Mn_Cve_Moneda) AS "Moneda",
    round(SUM(Venta.Vn_Precio_Neto_Importe), 4) AS "Total"
FROM Venta
    LEFT JOIN Cliente ON Cliente.Cl_Cve_Cliente = Venta.Cl_Cve_Cliente
{WHERE}
GROUP BY Venta.Vn_Folio
HAVING SUM(CASE WHEN Venta.Es_Cve_Estado IN ('CA','FA','DE') OR Venta.Fc_Folio <> '' OR Venta.Oper_Baja <> ''
                THEN 1 ELSE 0 END) = 0
ORDER BY Venta.Vn_Folio)";

std::string Catalogo(const std::string& tabla, const std::string& clave, const std::string& descripcion) {
    return "SELECT " + tabla + "." + clave + " AS \"Clave\", " + tabla + "." + descripcion +
           " AS \"Descripción\" FROM " + tabla + " {WHERE} ORDER BY " + tabla + "." + clave;
}

std::vector<std::pair<std::string, std::string>> Plantillas() {
    return {
        {kFacturacionVentaConsolidada, kTextoFacturacionVentaConsolidada},
        {kVentaNoFacturada, kTextoVentaNoFacturada},
        {"FACTURA", Catalogo("Factura", "Fc_Folio", "Fc_Factura")},
        {"SUCURSAL", Catalogo("Sucursal", "Sc_Cve_Sucursal", "Sc_Descripcion")},
        {"ALMACEN", Catalogo("Almacen", "Al_Cve_Almacen", "Al_Descripcion")},
        {"CLIENTE", Catalogo("Cliente", "Cl_Cve_Cliente", "Cl_Descripcion")},
        {"MONEDA", Catalogo("Moneda", "Mn_Cve_Moneda", "Mn_Descripcion")},
        {"VENDEDOR", Catalogo("Vendedor", "Vn_Cve_Vendedor", "Vn_Descripcion")},
        {"CONDICION_VENTA", Catalogo("Condicion_Venta", "Cv_Cve_Condicion_Venta", "Cv_Descripcion")},
    };
}

}  // namespace

void GuardaPlantillas(kx204::host::Connection& conexion) {
    using kx204::host::SqlText;
    for (const auto& [nombre, texto] : Plantillas())
        conexion.Execute("INSERT INTO Consulta (Cs_Nombre, Cs_Texto) VALUES ('" + SqlText(nombre) + "', '" +
                         SqlText(texto) + "')");
}

std::string AplicaClausula(const std::string& plantilla, const std::string& clausula) {
    return kx204::host::ReemplazaSinMayusculas(plantilla, kPlaceholder, clausula);
}

std::string AplicaCondicion(const std::string& plantilla, const std::string& condicion) {
    return AplicaClausula(plantilla, condicion.empty() ? std::string() : "WHERE " + condicion);
}

}  // namespace qivera::db
