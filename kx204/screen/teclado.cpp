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

}  // namespace kx204
