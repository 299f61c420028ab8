#pragma once
#include <string>

#include "kx204/host/connection.hpp"

namespace qivera::db {

// Query templates the host keeps in table Consulta (Cs_Nombre, Cs_Texto), written
// in SQL Server's dialect like every statement of the screen.
//
// Condition injection: a template holds the placeholder {WHERE} where a complete
// WHERE clause goes, the word WHERE included, or nothing at all. Whoever runs it
// replaces every {WHERE}, compared without regard to case: the screen with the
// clause it composes ("WHERE Venta.Es_Cve_Estado not in ('CA','FA','DE') AND ..."),
// a search window given a condition C such as "Venta.Sc_Cve_Sucursal = '01'" with
// "WHERE " + C, and with the empty text when it has no condition. Conditions name
// columns by the tables a template reads (Venta, Cliente, Almacen...), which the
// templates therefore never alias. Conditions a template always needs (a search
// for pending notes) live in its HAVING, so that any clause can be put in.

// One row per sale note, the folio first; headers Folio, Cliente, Fecha, Tipo,
// Referencia, Impuesto, Importe, DSCTO GLOBAL, SUBTOTAL, Total, Cond. Venta,
// Forma pago, Operador, Vendedor, Origen, Documento.
inline constexpr const char* kFacturacionVentaConsolidada = "FACTURACION_VENTA_CONSOLIDADA";
// The sale notes that are neither cancelled, invoiced nor deleted, the folio first.
inline constexpr const char* kVentaNoFacturada = "VENTA_NO_FACTURADA";

// Stores every template in Consulta: the two above and one search per catalog key
// field of the screen (FACTURA, SUCURSAL, ALMACEN, CLIENTE, MONEDA, VENDEDOR,
// CONDICION_VENTA), each answering the key first and its description second.
void GuardaPlantillas(kx204::host::Connection& conexion);

// The template with every {WHERE} replaced by a complete clause.
std::string AplicaClausula(const std::string& plantilla, const std::string& clausula);
// The template narrowed by a condition: "WHERE " + condition, or no clause for an empty one.
std::string AplicaCondicion(const std::string& plantilla, const std::string& condicion);

}  // namespace qivera::db
