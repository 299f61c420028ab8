// Which handler each control's event runs.
#include "kx204/screen/frm_kx204.hpp"

namespace kx204 {

using host::ComandoBarra;

void frmKX204::Conecta() {
    for (host::Control* control : Contenido())
        if (auto* campo = dynamic_cast<host::CampoTexto*>(control)) campo->SetConexion(&objServicios().Conexion());
    servicioSeries_ = publico_.fabrica.CreaServicioSeries();
    txt_Fc_Factura.SetServicio(servicioSeries_.get());
    camposAdicionales_ = publico_.fabrica.CreaCamposAdicionales();
    Controles.SetCamposAdicionales(camposAdicionales_.get());

    Controles.OnComando = [this](ComandoBarra comando) {
        switch (comando) {
            case ComandoBarra::Nuevo:
                Controles_Nuevo();
                break;
            case ComandoBarra::Cancelar:
                Controles_Cancelar();
                break;
            case ComandoBarra::Salir:
                Controles_Salir();
                break;
            case ComandoBarra::Visor:
                Controles_Visor();
                break;
            case ComandoBarra::Imprimir:
                Controles_Imprimir();
                break;
            case ComandoBarra::Eliminar:
                Controles_Eliminar();
                break;
            case ComandoBarra::Aceptar:
                Controles_Aceptar();
                break;
            case ComandoBarra::B2:
                Controles_B2Click();
                break;
            case ComandoBarra::B1:
                Controles_B1Click();
                break;
            case ComandoBarra::B3:
                Controles_B3Click();
                break;
            default:
                break;
        }
    };
    txt_Sc_Cve_Sucursal.OnEnter = [this] { txt_Sc_Cve_Sucursal_Enter(); };
    txt_Sc_Cve_Sucursal.OnChange = [this] { txt_Sc_Cve_Sucursal_Change(); };
    txt_Mn_Cve_Moneda.OnEnter = [this] { txt_Mn_Cve_Moneda_Enter(); };
    txt_Mn_Cve_Moneda.OnChange = [this] { txt_Mn_Cve_Moneda_Change(); };
    txtFolio.OnEnter = [this] { txtFolio_Enter(); };
    txtFolio.OnChange = [this] { txtFolio_Change(); };
    txt_Cl_Cve_Cliente.OnEnter = [this] { txt_Cl_Cve_Cliente_Enter(); };
    txt_Cl_Cve_Cliente.OnChange = [this] { txt_Cl_Cve_Cliente_Change(); };
    chkFechas.OnClick = [this] { chkFechas_Click(); };
    dpFecha_Inicio.OnChange = [this] { dpFecha_Rango_Change(); };
    dpFecha_Final.OnChange = [this] { dpFecha_Rango_Change(); };
    cmdCuentaBancaria.OnClick = [this] { cmdCuentaBancaria_Click(); };
    chkMarcarTodos.OnClick = [this] { chkMarcarTodos_Click(); };
    chkConsolidar.OnClick = [this] { chkConsolidar_Click(); };
    lvNotas.OnItemCheck = [this](int indice) { lvNotas_ItemCheck(indice); };
    lvNotas.OnKeyPress = [this](int& caracter) { lvNotas_KeyPress(caracter); };
    lvNotas.OnColumnClick = [this](int columna) { lvNotas_ColumnClick(columna); };
    lvNotas.OnKeyUp = [this](int tecla, int shift) { lvNotas_KeyUp(tecla, shift); };
    ssTabQvr.OnClick = [this](int anterior) { ssTabQvr_Click(anterior); };
    ssTabQvr.OnKeyPress = [this](int& caracter) { ssTabQvr_KeyPress(caracter); };
    chkConsolidar.OnKeyPress = [this](int& caracter) { chkConsolidar_KeyPress(caracter); };
    chkFiltrarCondicion.OnKeyPress = [this](int& caracter) { chkFiltrarCondicion_KeyPress(caracter); };
    chkFechas.OnKeyDown = [this](int tecla, int shift) { chkFechas_KeyDown(tecla, shift); };
    OnKeyUp = [this](int tecla, int shift) { Form_KeyUp(tecla, shift); };
    OnResize = [this] { Form_Resize(); };
}

}  // namespace kx204
