// A stored invoice shown by its folio: header, notes ticked and totalled, and
// the commands that act on it.
#include "kx204/host/recordset_leido.hpp"
#include "kx204/host/runtime_error.hpp"
#include "kx204/host/texto.hpp"
#include "kx204/screen/frm_kx204.hpp"

namespace kx204 {

void frmKX204::txtFolio_Enter() {
    try {
        if (txtFolio.Text().empty() || Controles.NuevoDocumento()) return;
        lvNotas.Clear();
        txtFolio.SetText(objInterfaz().NormalizaFolio(txtFolio.Text()));
        txtFolio.Refresca();
        sSQL = "SELECT * FROM  Factura WHERE Fc_Folio = '" + host::SqlText(txtFolio.Text()) + "'  ";
        auto factura = host::LeeCompleto(objServicios().Conexion().Execute(sSQL));
        ssTabQvr.SetTab(0);
        if (factura->Eof()) {
            factura->Close();
            return;
        }
        const std::string sucursalUsuario = objServicios().SucursalUsuario();
        if (!sucursalUsuario.empty() &&
            factura->Field("Sc_Cve_Sucursal").ToTextOrEmpty() != txt_Sc_Cve_Sucursal.Text()) {
            objServicios().MuestraAviso(
                "Imposible accesar este documento, su acceso se ha restringido a la sucursal: " +
                    txt_Sc_Cve_Sucursal.Text() + kSaltoLinea + kSaltoLinea +
                    "para mayor información consulte al administrador del sistema",
                48, "Documento no disponible");
            txtFolio.Refresca();
            return;
        }
        const std::string estado = factura->Field("Es_Cve_Estado").ToTextOrEmpty();
        const std::string serie = factura->Field("Fc_Serie").ToTextOrEmpty();
        MuestraEncabezadoFactura(*factura);
        factura->Close();
        CargaNotasFactura();

        if (objInterfaz().EsSerieDigital(serie, 1)) {
            bool encontrado = false;
            if (objInterfaz()
                    .BuscaCatalogo("Comprobante_Digital", "Cd_Tabla", "Factura", "Cd_Documento", &encontrado,
                                   "Cd_Documento", txtFolio.Text(), "")
                    .empty())
                Controles.SetCaptionBoton(2, "Firmar");
        }
        objInterfaz().HabilitaControles(*this, grupos::Cliente);
        lvNotas.SetFullRowSelect(false);
        Totalizar();
        HabilitaEliminar(estado);
        Controles.SetHabilitado(host::ComandoBarra::Imprimir, true);
        Controles.SetHabilitado(host::ComandoBarra::Visor, true);
        Controles.CargaCamposAdicionales(txtFolio.Text());
    } catch (const host::RuntimeError& error) {
        Mensaje(std::string("txtFolio_Enter() - ") + kSaltoLinea + error.description, 16, "Qivera", "");
    }
}

void frmKX204::MuestraEncabezadoFactura(const host::Recordset& factura) {
    const auto texto = [&](const char* columna) { return factura.Field(columna).ToTextOrEmpty(); };
    dpFecha.SetValue(factura.Field("Fc_Fecha").ToDate());
    txt_Mn_Cve_Moneda.SetText(texto("Mn_Cve_Moneda"));
    txt_Fc_Tipo_Cambio.SetText(texto("Fc_Tipo_Cambio"));
    txt_Sc_Cve_Sucursal.SetText(texto("Sc_Cve_Sucursal"));
    txt_Fc_Factura.SetSucursal(texto("Sc_Cve_Sucursal"));
    txt_Fc_Factura.SetSerie(texto("Fc_Serie"));
    txt_Fc_Factura.SetFactura(texto("Fc_Factura"));
    txt_Al_Cve_Almancen.SetText(texto("Al_Cve_Almacen"));
    txt_Vn_Cve_Vendedor.SetText(texto("Vn_Cve_Vendedor"));
    txt_Cl_Cve_Cliente.SetText(texto("Cl_Cve_Cliente"));
    txt_Cl_Cve_Cliente_Enter();
    txt_Comentario.SetText(texto("Fc_Comentario"));
    txtDescuento_Global.SetValue(factura.Field("Fc_Descuento_Global_Factor").ToDouble() * 100);
    txtCondicionVenta.SetText(texto("Fc_Condicion_Venta"));
}

void frmKX204::HabilitaEliminar(const std::string& estado) {
    const std::string enMayusculas = host::Mayusculas(estado);
    if (enMayusculas != "AC" && enMayusculas != "AP" && enMayusculas != "PXC") return;
    if (ValidaPeriodo()) {
        if (Padre_ == nullptr) throw host::ObjectRequiredError();
        if (!objInterfaz().ValidaPeriodoOperativo(dpFecha.Value(), Padre_->Modulo(), 0)) return;
    }
    Controles.SetHabilitado(host::ComandoBarra::Eliminar, true);
}

void frmKX204::CargaNotasFactura() {
    try {
        const std::string clausula = "WHERE Venta.Fc_Folio = '" + host::SqlText(txtFolio.Text()) +
                                     "' AND Venta.Fc_Factura = '" + host::SqlText(txt_Fc_Factura.Factura()) +
                                     "' and Venta.Es_Cve_Estado <> 'CA'     ";
        sSQL = host::ReemplazaSinMayusculas(objInterfaz().ObtenConsulta("FACTURACION_VENTA_CONSOLIDADA"), "{WHERE}",
                                            clausula);
        objInterfaz().LlenaLista(sSQL, lvNotas, true);
        lvNotas.SetOrden(0, host::Orden::Ascendente);
        CambiaMarcas([&](int i) { lvNotas.SetChecked(i, true); });
        BuscaColumnas();
    } catch (const host::RuntimeError& error) {
        Mensaje(error.description, 16, "ERROR", "ERR-ID:7500043");
    }
}

void frmKX204::txtFolio_Change() {
    Controles.SetClaveDocumento("");
    if (Controles.NuevoDocumento()) return;
    Controles.SetHabilitado(host::ComandoBarra::Imprimir, false);
    Controles.SetHabilitado(host::ComandoBarra::Visor, false);
    Controles.SetHabilitado(host::ComandoBarra::Eliminar, false);
    for (int grupo : {grupos::Documento, grupos::Totales, grupos::Encabezado, grupos::Cliente})
        objInterfaz().LimpiaControles(*this, grupo);
    for (int boton : {1, 2, 3}) Controles.SetCaptionBoton(boton, "");
    chkMarcarTodos.SetCaption("Marcar todos");
    lvNotas.Clear();
}

}  // namespace kx204
