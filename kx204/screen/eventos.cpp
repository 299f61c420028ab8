// Which handler each control's event runs.
#include "kx204/screen/frm_kx204.hpp"

namespace kx204 {

using host::ComandoBarra;

void frmKX204::Conecta() {
    for (host::Control* control : Contenido())
        if (auto* campo = dynamic_cast<host::CampoTexto*>(control)) campo->SetConexion(&objServicios().Conexion());
    servicioSeries_ = publico_.fabrica.CreaServicioSeries();
    txt_Fc_Factura.SetServicio(servicioSeries_.get());

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
            default:
                break;
        }
    };
    txt_Sc_Cve_Sucursal.OnEnter = [this] { txt_Sc_Cve_Sucursal_Enter(); };
    txt_Sc_Cve_Sucursal.OnChange = [this] { txt_Sc_Cve_Sucursal_Change(); };
    txt_Mn_Cve_Moneda.OnEnter = [this] { txt_Mn_Cve_Moneda_Enter(); };
    txt_Mn_Cve_Moneda.OnChange = [this] { txt_Mn_Cve_Moneda_Change(); };
    ssTabQvr.OnClick = [this](int anterior) { ssTabQvr_Click(anterior); };
}

}  // namespace kx204
