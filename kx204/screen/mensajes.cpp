// How the screen speaks to the clerk, moves the focus and reads its switches.
#include "kx204/screen/frm_kx204.hpp"

namespace kx204 {

int frmKX204::Mensaje(const std::string& prompt, int botones, const std::string& titulo, const std::string& id) {
    return objServicios().MuestraMensaje(prompt, botones, titulo, Handle(), "KX204", id);
}

bool frmKX204::ValidaPeriodo() {
    const host::Variant valor = objServicios().LeeVariable("GEN_VALIDAR_PERIODO_OPERATIVO", 0, "", "");
    return !valor.IsNull() && !valor.ToTextOrEmpty().empty() && valor.ToBool();
}

void frmKX204::EnfocaSiHabilitado(host::Control& control) {
    if (control.Enabled()) SetFoco(control);
}

void frmKX204::Rechaza(const std::string& prompt, const std::string& id, host::Control& campo) {
    ssTabQvr.SetTab(0);
    Mensaje(prompt, 48, "Qivera", id);
    EnfocaSiHabilitado(campo);
}

}  // namespace kx204
