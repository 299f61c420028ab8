// The lot and serial-number list texts of a product on a set of notes.
#include "kx204/host/runtime_error.hpp"
#include "kx204/invoicing/sentencias_factura.hpp"
#include "kx204/screen/frm_kx204.hpp"

namespace kx204 {

std::string frmKX204::Traer_Lotes_Ventas(const std::string& Tabla, const std::string& Documentos,
                                         const std::string& Producto) {
    try {
        sSQL = sentencias::LotesDeProducto(Tabla, Documentos, Producto);
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
        sSQL = sentencias::SeriesDeProducto(folios, producto);
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
