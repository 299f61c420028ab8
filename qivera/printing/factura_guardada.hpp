#pragma once
#include <optional>
#include <string>
#include <vector>

#include "kx204/host/connection.hpp"
#include "kx204/host/currency.hpp"
#include "kx204/host/date.hpp"

namespace qivera {

// One stored invoice line (Factura_Detalle).
struct RenglonGuardado {
    std::string renglon, producto, concepto, talla, color;
    double cantidad1 = 0;
    std::string unidad1;
    double cantidad2 = 0;
    std::string unidad2;
    kx204::host::Currency precioUnitario, cuotaFija, importe, impuestoImporte;
    std::string impuesto, lotes, series;
};

// A stored invoice (Factura) as the documents made of it show it: its branch, its client and its lines.
struct FacturaGuardada {
    std::string folio, factura, serie;
    long numero = 0;
    kx204::host::Date fecha;
    std::string moneda;
    double tipoCambio = 1;
    std::string condicionVenta, almacen;
    std::string sucursal, sucursalNombre, sucursalDireccion;
    std::string cliente, clienteNombre, clienteRfc, clienteDireccion, clienteEmail;
    kx204::host::Currency subtotal, descuento, impuesto, total;
    std::vector<RenglonGuardado> renglones;  // in line order
    std::vector<std::string> notas;          // the sale notes it covers, in folio order
};

// How much of a stored invoice a document needs: its header, also its lines, or also its notes (which at
// thousands of notes are most of what is read).
enum class Alcance { Encabezado, Renglones, Completa };

// The invoice `folio` read as far as `alcance`, or nothing when there is none.
std::optional<FacturaGuardada> LeeFactura(kx204::host::Connection& conexion, const std::string& folio,
                                          Alcance alcance = Alcance::Completa);

// Fixed four decimals, no separators: "1234.5000", "-0.0100".
std::string TextoDecimal(kx204::host::Currency valor);
// A quantity the same way, rounded to the fourth decimal.
std::string TextoCantidad(double cantidad);

}  // namespace qivera
