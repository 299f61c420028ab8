#include "qivera/printing/factura_guardada.hpp"

#include <cstdint>

#include "qivera/db/sql.hpp"

namespace qivera {

using kx204::host::Currency;
using kx204::host::Recordset;
using kx204::host::SqlText;

namespace {

std::string Texto(const Recordset& rs, const char* campo) { return rs.Field(campo).ToTextOrEmpty(); }

Currency Importe(const Recordset& rs, const char* campo) {
    const kx204::host::Variant valor = rs.Field(campo);
    return valor.IsNull() ? Currency() : valor.ToCurrency();
}

FacturaGuardada Encabezado(const Recordset& rs) {
    FacturaGuardada f;
    f.folio = Texto(rs, "Fc_Folio");
    f.factura = Texto(rs, "Fc_Factura");
    f.serie = Texto(rs, "Fc_Serie");
    f.numero = rs.Field("Fc_Numero").ToLong();
    f.fecha = rs.Field("Fc_Fecha").ToDate();
    f.moneda = Texto(rs, "Mn_Cve_Moneda");
    f.tipoCambio = rs.Field("Fc_Tipo_Cambio").ToDouble();
    f.condicionVenta = Texto(rs, "Fc_Condicion_Venta");
    f.almacen = Texto(rs, "Al_Cve_Almacen");
    f.sucursal = Texto(rs, "Sc_Cve_Sucursal");
    f.sucursalNombre = Texto(rs, "Sc_Descripcion");
    f.sucursalDireccion = Texto(rs, "Sc_Direccion");
    f.cliente = Texto(rs, "Cl_Cve_Cliente");
    // The legal name is what a document shows; the short description stands in when it is empty.
    f.clienteNombre = Texto(rs, "Cl_Razon_Social_1");
    if (f.clienteNombre.empty()) f.clienteNombre = Texto(rs, "Cl_Descripcion");
    f.clienteRfc = Texto(rs, "Cl_R_F_C");
    f.clienteDireccion = Texto(rs, "Cl_Direccion_1");
    f.clienteEmail = Texto(rs, "Cl_Email");
    f.subtotal = Importe(rs, "Fc_Subtotal");
    f.descuento = Importe(rs, "Fc_Descuento_Global_Importe");
    f.impuesto = Importe(rs, "Fc_Impuesto");
    f.total = Importe(rs, "Fc_Total");
    return f;
}

RenglonGuardado Renglon(const Recordset& rs) {
    RenglonGuardado r;
    r.renglon = Texto(rs, "Fd_Renglon");
    r.producto = Texto(rs, "Pr_Cve_Producto");
    r.concepto = Texto(rs, "Fd_Concepto");
    r.talla = Texto(rs, "Tl_Cve_Talla");
    r.color = Texto(rs, "Cl_Cve_Color");
    r.cantidad1 = rs.Field("Fd_Cantidad_Control_1").ToDouble();
    r.unidad1 = Texto(rs, "Fd_Unidad_Control_1");
    r.cantidad2 = rs.Field("Fd_Cantidad_Control_2").ToDouble();
    r.unidad2 = Texto(rs, "Fd_Unidad_Control_2");
    r.precioUnitario = Importe(rs, "Fd_Precio_Unitario");
    r.cuotaFija = Importe(rs, "Fd_Cuota_Fija");
    r.importe = Importe(rs, "Fd_Importe");
    r.impuesto = Texto(rs, "Im_Cve_Impuesto");
    r.impuestoImporte = Importe(rs, "Fd_Impuesto_Importe");
    r.lotes = Texto(rs, "Fd_Lotes");
    r.series = Texto(rs, "Fd_Series");
    return r;
}

std::vector<RenglonGuardado> Renglones(kx204::host::Connection& conexion, const std::string& folio) {
    auto rs =
        conexion.Execute("SELECT * FROM Factura_Detalle WHERE Fc_Folio = '" + SqlText(folio) + "' ORDER BY Fd_Renglon");
    std::vector<RenglonGuardado> renglones;
    for (; !rs->Eof(); rs->MoveNext()) renglones.push_back(Renglon(*rs));
    rs->Close();
    return renglones;
}

}  // namespace

std::optional<FacturaGuardada> LeeFactura(kx204::host::Connection& conexion, const std::string& folio,
                                          Alcance alcance) {
    auto rs = conexion.Execute(
        "SELECT f.*, s.Sc_Descripcion, s.Sc_Direccion, c.Cl_Descripcion, c.Cl_Razon_Social_1, c.Cl_R_F_C, "
        "c.Cl_Direccion_1, c.Cl_Email FROM Factura f "
        "LEFT JOIN Sucursal s ON s.Sc_Cve_Sucursal = f.Sc_Cve_Sucursal "
        "LEFT JOIN Cliente c ON c.Cl_Cve_Cliente = f.Cl_Cve_Cliente WHERE f.Fc_Folio = '" +
        SqlText(folio) + "'");
    std::optional<FacturaGuardada> factura;
    if (!rs->Eof()) factura = Encabezado(*rs);
    rs->Close();
    if (!factura || alcance == Alcance::Encabezado) return factura;
    factura->renglones = Renglones(conexion, factura->folio);
    if (alcance == Alcance::Renglones) return factura;
    factura->notas = PrimeraColumna(
        conexion, "SELECT DISTINCT Vn_Folio FROM Venta WHERE Fc_Folio = '" + SqlText(folio) + "' ORDER BY Vn_Folio");
    return factura;
}

std::string TextoDecimal(Currency valor) {
    const std::int64_t escalado = valor.Scaled();
    // Through the magnitude as unsigned, so that the most negative amount has one too.
    const std::uint64_t magnitud =
        escalado < 0 ? ~static_cast<std::uint64_t>(escalado) + 1 : static_cast<std::uint64_t>(escalado);
    std::string decimales = std::to_string(magnitud % Currency::kScale);
    decimales.insert(0, 4 - decimales.size(), '0');
    return (escalado < 0 ? "-" : "") + std::to_string(magnitud / Currency::kScale) + "." + decimales;
}

std::string TextoCantidad(double cantidad) { return TextoDecimal(Currency::FromDouble(cantidad)); }

}  // namespace qivera
