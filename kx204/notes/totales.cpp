// The totals under the note list.
#include "kx204/screen/frm_kx204.hpp"

namespace kx204 {

void frmKX204::LimpiaNotas() {
    lvNotas.Clear();
    for (host::CampoTexto* total : {&txtTotal, &txtDescuento_Global, &txtImpuestos, &txtSuma, &txtSubtotal})
        total->SetValue(host::Currency());
}

}  // namespace kx204
