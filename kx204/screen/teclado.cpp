// Tabs and the screen's shortcut keys.
#include "kx204/screen/frm_kx204.hpp"

namespace kx204 {

void frmKX204::ssTabQvr_Click(int /*anterior*/) {
    fr0.SetEnabled(false);
    frDetalle.SetEnabled(false);
    if (ssTabQvr.Tab() == 0) fr0.SetEnabled(true);
    if (ssTabQvr.Tab() == 1) frDetalle.SetEnabled(true);
}

void frmKX204::Form_KeyUp(int tecla, int shift) {
    if (shift != teclas::Alt) return;
    if (tecla == teclas::Uno) ssTabQvr.SetTab(0);
    if (tecla == teclas::Dos) ssTabQvr.SetTab(1);
}

void frmKX204::EnterComoTab(int tecla) {
    // The key is not swallowed: the control still sees it.
    if (tecla == teclas::Enter) objInterfaz().EnviaTecla("{TAB}", 0, "");
}

void frmKX204::ssTabQvr_KeyPress(int& caracter) { EnterComoTab(caracter); }

void frmKX204::chkConsolidar_KeyPress(int& caracter) { EnterComoTab(caracter); }

void frmKX204::chkFiltrarCondicion_KeyPress(int& caracter) { EnterComoTab(caracter); }

void frmKX204::chkFechas_KeyDown(int tecla, int /*shift*/) { EnterComoTab(tecla); }

}  // namespace kx204
