#include "kx204/invoicing/sentencias_factura.hpp"

#include "kx204/host/connection.hpp"

namespace kx204::sentencias {

std::string LineasAgrupadas(const std::string& folios) {
    return "SELECT "
           "   Venta.Pr_Cve_Producto, "
           "   Venta.Tl_Cve_Talla, "
           "   Venta.Cl_Cve_Color, "
           "   producto.pr_descripcion as Vn_Concepto, "
           "   SUM(Venta.Vn_Cantidad_Control_1) AS Vn_Cantidad_Control_1, "
           "   Venta.Vn_Unidad_Control_1, "
           "   SUM(Venta.Vn_Cantidad_Control_2) AS Vn_Cantidad_Control_2, "
           "   Venta.Vn_Unidad_Control_2, "
           "   Venta.Vn_Cuota_Fija, "
           "   SUM(Venta.Vn_Precio_Descontado_Importe - Venta.Vn_Descuento_Global_Importe) as Importe_Venta "
           "FROM "
           "   Venta "
           "   inner join producto on producto.pr_cve_producto = venta.pr_cve_producto "
           "WHERE "
           "   Venta.Vn_Folio IN (" +
           folios +
           ") "
           "GROUP BY "
           "   Venta.Pr_Cve_Producto, "
           "   Venta.Tl_Cve_Talla, "
           "   Venta.Cl_Cve_Color, "
           "   producto.pr_descripcion, "
           "   Venta.Vn_Unidad_Control_1,"
           "   Venta.Vn_Unidad_Control_2, "
           "   Venta.Vn_Cuota_Fija "
           "ORDER BY "
           "   Venta.Pr_Cve_Producto ";
}

std::string LineasPorRenglon(const std::string& folios) {
    return "SELECT "
           "   Vn_Folio, "
           "   Vn_Id, "
           "   Pr_Cve_Producto, "
           "   Tl_Cve_Talla, "
           "   Cl_Cve_Color, "
           "   Vn_Concepto, "
           "   (Vn_Cantidad_1) AS Vn_Cantidad_1, "
           "   Vn_Unidad_1, "
           "   (Vn_Cantidad_Control_1) AS Vn_Cantidad_Control_1, "
           "   Vn_Unidad_Control_1, "
           "   (Vn_Cantidad_Control_2) AS Vn_Cantidad_Control_2, "
           "   Vn_Unidad_Control_2, "
           "   Venta.Vn_Cuota_Fija, "
           "   (Vn_Precio_Descontado_Importe - Vn_Descuento_Global_Importe) as Importe_Venta "
           "FROM "
           "   Venta "
           "WHERE "
           "   Vn_Folio IN (" +
           folios +
           ") "
           "ORDER BY "
           "   Venta.Vn_Folio ASC, Venta.Vn_ID ASC ";
}

std::string LotesDeProducto(const std::string& tabla, const std::string& documentos, const std::string& producto) {
    return "SELECT "
           "   Lote.Lt_Cve_Lote, "
           "   Lote.Lt_Fecha_Caducidad, "
           "   Lote.Lt_Pedimento, "
           "   Lote.Lt_Fecha_Pedimento, "
           "   Lote.Lt_Aduana, "
           "   ISNULL(SUM(Lote_Documento.Lt_Cantidad_Control_1),0) as Lt_Cantidad_Control_1, "
           "   ISNULL(SUM(Lote_Documento.Lt_Cantidad_Control_2),0) AS Lt_Cantidad_Control_2 "
           "FROM  Lote_Documento "
           "   INNER JOIN PRODUCTO ON PRODUCTO.PR_CVE_PRODUCTO = LOTE_DOCUMENTO.PR_CVE_PRODUCTO "
           "   INNER JOIN Lote ON Lote_Documento.Lt_Cve_Lote = Lote.Lt_Cve_Lote AND "
           "       Lote.Pr_Cve_Producto = (CASE Producto.Pr_Equivalencia_Producto WHEN '' THEN "
           "Producto.Pr_Cve_Producto ELSE Producto.Pr_Equivalencia_Producto END) "
           "WHERE "
           "   Lote_Documento.Pr_Cve_Producto = '" +
           host::SqlText(producto) +
           "' AND "
           "   Lote_Documento.Ld_Tabla = '" +
           host::SqlText(tabla) +
           "' AND "
           "   Lote_Documento.Ld_Documento IN (" +
           documentos +
           ") "
           "GROUP BY "
           "   Lote.Lt_Cve_Lote, "
           "   Lote.Lt_Fecha_Caducidad, "
           "   Lote.Lt_Pedimento, "
           "   Lote.Lt_Fecha_Pedimento, "
           "   Lote.Lt_Aduana ";
}

std::string SeriesDeProducto(const std::string& folios, const std::string& producto) {
    return "Select * "
           "from Serie_Documento "
           "where "
           "   Sd_Tabla = 'VENTA' and "
           "   Sd_Documento in(" +
           folios +
           ") and "
           "   Pr_Cve_Producto = '" +
           host::SqlText(producto) + "' ";
}

std::string CuentasDeNotas(const std::string& folios) {
    return "WHERE "
           "   cxc.Cxc_Tabla = 'VENTA' AND  "
           "   cxc.Cxc_Documento IN (" +
           folios +
           ") AND "
           "   cxc.Es_Cve_Estado <> 'CA' ";
}

std::string CuentasConClientes(const std::string& folios) {
    return "FROM CUENTA_X_COBRAR CXC    INNER JOIN CLIENTE ON CLIENTE.CL_CVE_CLIENTE = CXC.CL_CVE_CLIENTE  " +
           CuentasDeNotas(folios);
}

std::string CuentasPorSaldar(const std::string& folios) {
    return "SELECT "
           "   Cxc.Cxc_Folio, "
           "   Cxc.Mn_Cve_Moneda, "
           "   cxc.Cxc_Precio_Descontado_Saldo as SubTotal, "
           "   cxc.Cxc_Impuesto_Saldo as Impuesto, "
           "   cxc.Cxc_Precio_Neto_Saldo as Total " +
           CuentasConClientes(folios) +
           "AND "
           "   Cxc_Precio_Neto_Saldo > 0 ";
}

}  // namespace kx204::sentencias
