// Load, activation, New, Cancel, exit, record viewer and unload.
#include "kx204/host/runtime_error.hpp"
#include "kx204/screen/frm_kx204.hpp"

namespace kx204 {

using host::Variant;

std::string frmKX204::Transaccion() {
    if (Padre_ == nullptr) throw host::ObjectRequiredError();
    return objInterfaz().ObtenTransaccion(Padre_->Transaccion(), "Qivera");
}

void frmKX204::Form_Load() {
    ssTabQvr.SetTab(0);
    objDireccionEntrega = publico_.fabrica.CreaDireccionEntrega();
    dpFecha.SetValue(objInterfaz().FechaServidor());
    // The range pickers start on the server's date too, not the workstation's.
    dpFecha_Inicio.SetValue(dpFecha.Value());
    dpFecha_Final.SetValue(dpFecha.Value());

    auto& servicios = objServicios();
    txt_Sc_Cve_Sucursal.SetFormatoClave(servicios.LeeVariable("FTO_SUCURSAL", 0, "", "").ToTextOrEmpty());
    txt_Al_Cve_Almancen.SetFormatoClave(servicios.LeeVariable("FTO_ALMACEN", 0, "", "").ToTextOrEmpty());
    txt_Cl_Cve_Cliente.SetFormatoClave(servicios.LeeVariable("FTO_CLIENTE", 0, "", "").ToTextOrEmpty());
    txt_Vn_Cve_Vendedor.SetFormatoClave(servicios.LeeVariable("FTO_VENDEDOR", 0, "", "").ToTextOrEmpty());
    txtCondicionVenta.SetFormatoClave(servicios.LeeVariable("FTO_CONDICION_VENTA", 0, "", "").ToTextOrEmpty());

    MonedaLocal = servicios.LeeVariable("FIN_MONEDA_LOCAL", 0, "", "").ToTextOrEmpty();
    txt_Fc_Tipo_Cambio.SetValue(Variant(1));
    SugerirVendedor = servicios.LeeVariable("VEN_SUGERIR_VENDEDOR", 0, "N", "0").ToInteger();
    SucursalDefault = servicios.LeeVariable("VEN_SUCURSAL_DEFAULT", 0, "T", "").ToTextOrEmpty();
    AlmacenDefault = servicios.LeeVariable("VEN_ALMACEN_DEFAULT", 0, "T", "").ToTextOrEmpty();
    EnviarDocumentoEmail = servicios.LeeVariable("FAC_ENVIAR_DOCUMENTO_EMAIL", 0, "B", "0").ToBool();
    PermitirCapturarNotaVenta = servicios.LeeVariable("VEN_PERMITIR_CAPTURAR_NOTA_VENTA", 0, "B", "0").ToBool();

    CambiarFecha = servicios.TienePermiso("KX204", "CHFECHA", "No disponible");
    if (servicios.TienePermiso("KX204", "KEYF2", "No disponible")) txtFolio.SetAyudaBusqueda("");
}

void frmKX204::Form_Activate() {
    const std::string sucursal = objServicios().SucursalUsuario();
    if (!sucursal.empty()) {
        txt_Sc_Cve_Sucursal.SetText(sucursal);
        txt_Sc_Cve_Sucursal.SetLocked(true);
        txt_Sc_Cve_Sucursal_Enter();
        txt_Cl_Cve_Cliente.SetSql(
            "SELECT Cl_Descripcion "
            " FROM Cliente "
            "WHERE Sc_Cve_Sucursal = '" +
            host::SqlText(sucursal) +
            "' AND "
            "      Es_Cve_Estado <> 'BA' AND Cl_Cve_Cliente = '?'");
    }
    const std::string almacen = objServicios().AlmacenUsuario();
    if (!almacen.empty()) {
        txt_Al_Cve_Almancen.SetText(almacen);
        txt_Al_Cve_Almancen.SetLocked(true);
    }
    if (txtFolio.Enabled()) SetFoco(txtFolio);
}

void frmKX204::Controles_Nuevo() {
    txtFolio.SetEnabled(false);
    try {
        auto& interfaz = objInterfaz();
        interfaz.LimpiaControles(*this, grupos::Encabezado);
        interfaz.HabilitaControles(*this, grupos::Encabezado);
        interfaz.LimpiaControles(*this, grupos::Cliente);
        interfaz.HabilitaControles(*this, grupos::Cliente);

        lvNotas.SetFullRowSelect(true);
        ssTabQvr.SetTab(0);
        txtFolio.SetText("");
        SetFoco(dpFecha_Inicio);

        txt_Mn_Cve_Moneda.SetText(MonedaLocal);
        txt_Mn_Cve_Moneda_Enter();
        txt_Sc_Cve_Sucursal_Enter();

        dpFecha.SetValue(interfaz.FechaServidor());
        dpFecha.SetEnabled(CambiarFecha);

        Controles.SetCaptionBoton(1, "Cargar ventas");
        chkMarcarTodos.SetCaption("Marcar todos");
        if (PermitirCapturarNotaVenta) Controles.SetCaptionBoton(3, "Agregar venta");
        Controles.SetCaptionBoton(2, "");

        lvNotas.SetMultiSelect(true);
        dpFecha_Final.SetEnabled(false);
        dpFecha_Inicio.SetEnabled(false);

        if (SugerirVendedor == 2) {
            txt_Vn_Cve_Vendedor.SetEnabled(false);
        } else {
            txt_Vn_Cve_Vendedor.SetEntradaManual(true);
            txt_Vn_Cve_Vendedor.SetSoloCatalogo(false);
        }

        if (txt_Sc_Cve_Sucursal.Text().empty() && !SucursalDefault.empty()) {
            txt_Sc_Cve_Sucursal.SetText(SucursalDefault);
            txt_Sc_Cve_Sucursal_Enter();
        }
        if (txt_Al_Cve_Almancen.Text().empty() && !AlmacenDefault.empty()) txt_Al_Cve_Almancen.SetText(AlmacenDefault);
    } catch (const host::RuntimeError& error) {
        objServicios().MuestraMensaje(error.description, 16, "Controles_Nuevo()", Handle(), "KX204", "ERR-ID:7500040");
    }
}

void frmKX204::Controles_Cancelar() {
    Controles.SetHabilitado(host::ComandoBarra::Imprimir, false);
    Controles.SetHabilitado(host::ComandoBarra::Visor, false);
    Controles.SetHabilitado(host::ComandoBarra::Eliminar, false);
    txtFolio.SetText("");
    for (int grupo : {grupos::Documento, grupos::Totales, grupos::Encabezado, grupos::Cliente})
        objInterfaz().LimpiaControles(*this, grupo);
    ssTabQvr.SetTab(0);
    txtFolio.SetEnabled(true);
    SetFoco(txtFolio);
    for (int boton : {1, 2, 3}) Controles.SetCaptionBoton(boton, "");
    chkMarcarTodos.SetCaption("Marcar todos");
    lvNotas.SetMultiSelect(false);
}

void frmKX204::Controles_Salir() {
    if (Padre_ == nullptr) throw host::ObjectRequiredError();
    Padre_->Descarga();
}

void frmKX204::Controles_Visor() {
    auto visor = publico_.fabrica.CreaVisorRegistros();
    visor->Muestra("Factura", "Fc_Folio", txtFolio.Value().ToText(), "", "", "", "");
}

void frmKX204::Form_Unload() { objDireccionEntrega.reset(); }

}  // namespace kx204
