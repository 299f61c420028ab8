// The invoice from the checked notes: header, grouped or line-by-line detail
// with lots and serial numbers, the notes marked invoiced, the delivery address.
#include <map>

#include "kx204/host/recordset_leido.hpp"
#include "kx204/host/runtime_error.hpp"
#include "kx204/host/texto.hpp"
#include "kx204/invoicing/sentencias_factura.hpp"
#include "kx204/screen/frm_kx204.hpp"

namespace kx204 {

namespace {

host::RenglonFactura Renglon(const host::Recordset& rs) {
    host::RenglonFactura renglon;
    renglon.concepto = host::PrimerosCaracteres(rs.Field("Vn_Concepto").ToText(), 100);
    renglon.producto = rs.Field("Pr_Cve_Producto").ToText();
    renglon.talla = rs.Field("Tl_Cve_Talla").ToText();
    renglon.color = rs.Field("Cl_Cve_Color").ToText();
    renglon.cantidad1 = rs.Field("Vn_Cantidad_Control_1").ToDouble();
    renglon.unidad1 = rs.Field("Vn_Unidad_Control_1").ToText();
    renglon.cantidad2 = rs.Field("Vn_Cantidad_Control_2").ToDouble();
    renglon.unidad2 = rs.Field("Vn_Unidad_Control_2").ToText();
    // In grouped mode this is the group's average price: summed amount over summed quantity.
    renglon.precioUnitario = renglon.cantidad1 != 0 ? rs.Field("Importe_Venta").ToDouble() / renglon.cantidad1 : 0;
    return renglon;
}

std::string CuatroDigitos(const std::string& renglon) { return host::ConCeros(host::Variant(renglon).ToLong(), 4); }

}  // namespace

host::EncabezadoFactura frmKX204::EncabezadoDeFactura(const std::string& serie, std::int32_t numero) {
    host::EncabezadoFactura encabezado;
    encabezado.fecha = dpFecha.Value();
    encabezado.tablaOrigen = "Venta";
    encabezado.referencia = txt_Referencia.Value().ToText();
    encabezado.comentario = txt_Comentario.Value().ToText();
    encabezado.credito = objInterfaz().BuscaCatalogo("Condicion_Venta", "Cv_Cve_Condicion_Venta",
                                                     txtCondicionVenta.Value().ToText(), "Cv_Tipo_Condicion") == "02";
    encabezado.vencimiento = encabezado.fecha.AddDays(txt_Cl_Dias_Credito.Value().ToLong());
    encabezado.moneda = txt_Mn_Cve_Moneda.Value().ToText();
    encabezado.tipoCambio = txt_Fc_Tipo_Cambio.Value().ToDouble();
    encabezado.factura = txt_Fc_Factura.Factura();
    encabezado.serie = serie;
    encabezado.numero = numero;
    encabezado.sucursal = txt_Sc_Cve_Sucursal.Value().ToText();
    encabezado.almacen = txt_Al_Cve_Almancen.Value().ToText();
    encabezado.cliente = txt_Cl_Cve_Cliente.Value().ToText();
    encabezado.vendedor = txt_Vn_Cve_Vendedor.Value().ToText();
    return encabezado;
}

std::string frmKX204::Facturar_Venta(const std::string& folios, const std::string& serie, std::int32_t numero) {
    try {
        auto documento = publico_.fabrica.CreaDocumentoFactura();
        documento->Inicializa();
        sErrorFactura.clear();
        auto& conexion = objServicios().Conexion();
        auto& interfaz = objInterfaz();
        const bool porRenglon = objServicios().LeeVariable("FAC_CONSOLIDADA_NO_PROMEDIA_PRECIO", 0, "B", "0").ToBool();
        sSQL = porRenglon ? sentencias::LineasPorRenglon(folios) : sentencias::LineasAgrupadas(folios);
        const host::CommandTimeoutScope tiempo(conexion, 1200);
        // Read whole: the lots, the serial numbers and the line relations below run statements of their own.
        auto rs = host::LeeCompleto(conexion.Execute(sSQL));

        documento->AsignaEncabezado(EncabezadoDeFactura(serie, numero));
        host::Cuota cuota;
        // A grouped line carries the lots and serial numbers its product took on all the notes; a line of
        // its own, those of its own note alone, or the printed invoice would name lots it did not come from.
        // They depend on the product and the notes: each product's are read once for the same notes.
        std::string documentos;
        std::map<std::string, std::pair<std::string, std::string>> listasPorProducto;
        for (; !rs->Eof(); rs->MoveNext()) {
            host::RenglonFactura renglon = Renglon(*rs);
            const std::string deLaLinea =
                porRenglon ? "'" + host::SqlText(rs->Field("Vn_Folio").ToText()) + "'" : folios;
            if (deLaLinea != documentos) {
                documentos = deLaLinea;
                listasPorProducto.clear();
            }
            auto listas = listasPorProducto.find(renglon.producto);
            if (listas == listasPorProducto.end()) {
                std::string lotes = Traer_Lotes_Ventas("Venta", documentos, renglon.producto);
                std::string series = ObtenSeriesVenta(documentos, renglon.producto, renglon.talla, renglon.color);
                if (!sErrorFactura.empty()) return {};
                listas = listasPorProducto.emplace(renglon.producto, std::pair{lotes, series}).first;
            }
            renglon.lotes.lista = listas->second.first;
            renglon.series.lista = listas->second.second;
            cuota.CuotaFija = rs->Field("Vn_Cuota_Fija").ToDouble();
            documento->AsignaCuota(cuota);
            documento->AgregaRenglon(renglon);
            if (!documento->RenglonCorrecto()) {
                sErrorFactura = documento->MensajeError();
                return {};
            }
            if (porRenglon) {
                const std::string folioFactura = documento->ObtenEncabezado().folio;
                const std::string numeroRenglon = CuatroDigitos(documento->ObtenRenglon().renglon);
                const std::string referencia =
                    interfaz.ReferenciaRenglon("Venta", rs->Field("Vn_Folio").ToText(), rs->Field("Vn_Id").ToText());
                if (!interfaz.RelacionaRenglon("Factura", folioFactura, numeroRenglon, referencia)) {
                    sErrorFactura = interfaz.UltimoError();
                    Controles.CancelaOperacion();
                    return {};
                }
            }
        }
        rs->Close();

        for (const char* tabla : {"Venta", "Venta_Encabezado"}) {
            sSQL = MarcaVentas(tabla, folios, documento->ObtenEncabezado());
            conexion.Execute(sSQL);
        }

        const std::string folio = documento->ObtenEncabezado().folio;
        sErrorFactura = VentasFacturadasEnOtra(folios, folio);
        if (!sErrorFactura.empty()) return {};
        if (!documento->Graba(folio)) {
            sErrorFactura = std::string("Facturar_Venta() - ") + kSaltoLinea + documento->MensajeError();
            return {};
        }
        if (!documento->Aplica(folio, true)) {
            sErrorFactura = std::string("Facturar_Venta() - ") + kSaltoLinea + documento->MensajeError();
            return {};
        }
        if (!objDireccionEntrega->GuardaDireccion("Factura", folio, "Cliente", txt_Cl_Cve_Cliente.Text(),
                                                  DireccionEntrega)) {
            sErrorFactura = objDireccionEntrega->MensajeError();
            return {};
        }
        const std::string condicion = host::SqlText(txtCondicionVenta.Value().ToText());
        for (const char* tabla : {"Factura", "Factura_Encabezado"}) {
            sSQL = std::string("UPDATE ") + tabla +
                   " SET "
                   "   Fc_Credito = 'NO', "
                   "   Fc_Condicion_Venta = '" +
                   condicion +
                   "' "
                   "WHERE Fc_Folio = '" +
                   host::SqlText(folio) + "'";
            conexion.Execute(sSQL);
        }
        return folio;
    } catch (const host::RuntimeError& error) {
        sErrorFactura = std::string("Facturar_Venta()") + kSaltoLinea + error.description;
        return {};
    }
}

std::string frmKX204::MarcaVentas(const std::string& tabla, const std::string& folios,
                                  const host::EncabezadoFactura& encabezado) {
    // Only notes still free are taken: a note invoiced meanwhile by someone else keeps its invoice.
    return "UPDATE " + tabla +
           " SET "
           "     Fc_Folio = '" +
           host::SqlText(encabezado.folio) +
           "', "
           "     Fc_Factura = '" +
           host::SqlText(encabezado.factura) +
           "', "
           "     Es_Cve_Estado = 'FA', "
           "     Oper_Ult_Modif = '" +
           host::SqlText(objServicios().Usuario()) +
           "', "
           "     Fecha_Ult_Modif = '" +
           objInterfaz().FechaHoraSQL(objInterfaz().FechaServidor()) +
           "' "
           "WHERE Vn_Folio IN(" +
           folios +
           ")"
           " AND Fc_Folio = ''";
}

std::string frmKX204::VentasFacturadasEnOtra(const std::string& folios, const std::string& folio) {
    sSQL = "SELECT DISTINCT Vn_Folio FROM Venta WHERE Vn_Folio IN (" + folios + ") AND Fc_Folio <> '" +
           host::SqlText(folio) + "' ORDER BY Vn_Folio";
    auto rs = objServicios().Conexion().Execute(sSQL);
    std::string encontradas;
    for (; !rs->Eof(); rs->MoveNext()) encontradas += (encontradas.empty() ? "" : ", ") + rs->Field(0).ToText();
    rs->Close();
    if (encontradas.empty()) return {};
    return std::string("Se encontraron ventas ya facturadas. Debe filtrar de nuevo las ventas a facturar") +
           kSaltoLinea + "Folios: " + encontradas;
}

}  // namespace kx204
