// The lot and serial-number list texts of a product on a set of notes.
#include "kx204/host/runtime_error.hpp"
#include "kx204/screen/frm_kx204.hpp"

namespace kx204 {

std::string frmKX204::Traer_Lotes_Ventas(const std::string& Tabla, const std::string& Documentos,
                                         const std::string& Producto) {
    try {
        sSQL =
            "SELECT "
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
            host::SqlText(Producto) +
            "' AND "
            "   Lote_Documento.Ld_Tabla = '" +
            host::SqlText(Tabla) +
            "' AND "
            "   Lote_Documento.Ld_Documento IN (" +
            Documentos +
            ") "
            "GROUP BY "
            "   Lote.Lt_Cve_Lote, "
            "   Lote.Lt_Fecha_Caducidad, "
            "   Lote.Lt_Pedimento, "
            "   Lote.Lt_Fecha_Pedimento, "
            "   Lote.Lt_Aduana ";
        auto rs = objServicios().Conexion().Execute(sSQL);
        auto& interfaz = objInterfaz();
        std::string lotes;
        for (; !rs->Eof(); rs->MoveNext()) {
            if (!lotes.empty()) lotes += "|";
            lotes += rs->Field("Lt_Cve_Lote").ToTextOrEmpty() + "@" + rs->Field("Lt_Cantidad_Control_1").ToText() +
                     "@" + rs->Field("Lt_Cantidad_Control_2").ToText() + "@" +
                     interfaz.FechaSQL(rs->Field("Lt_Fecha_Caducidad").ToDate()) + "@" +
                     rs->Field("Lt_Pedimento").ToTextOrEmpty() + "@" +
                     interfaz.FechaSQL(rs->Field("Lt_Fecha_Pedimento").ToDate()) + "@" +
                     rs->Field("Lt_Aduana").ToTextOrEmpty();
        }
        rs->Close();
        return lotes;
    } catch (const host::RuntimeError& error) {
        sErrorFactura = error.description;
        return {};
    }
}

std::string frmKX204::ObtenSeriesVenta(const std::string& folios, const std::string& producto,
                                       const std::string& /*talla*/, const std::string& /*color*/) {
    try {
        sSQL =
            "Select * "
            "from Serie_Documento "
            "where "
            "   Sd_Tabla = 'VENTA' and "
            "   Sd_Documento in(" +
            folios +
            ") and "
            "   Pr_Cve_Producto = '" +
            host::SqlText(producto) + "' ";
        auto rs = objServicios().Conexion().Execute(sSQL);
        std::string series;
        for (; !rs->Eof(); rs->MoveNext()) {
            if (!series.empty()) series += "|";
            series += rs->Field("Sr_Cve_Serie").ToTextOrEmpty();
        }
        rs->Close();
        return series;
    } catch (const host::RuntimeError& error) {
        sErrorFactura = error.description;
        return {};
    }
}

}  // namespace kx204
