// The date range of the notes to load and the client's payment method.
#include "kx204/host/runtime_error.hpp"
#include "kx204/screen/frm_kx204.hpp"

namespace kx204 {

void frmKX204::chkFechas_Click() {
    const bool considerar = chkFechas.Value() == 1;
    dpFecha_Inicio.SetEnabled(considerar);
    dpFecha_Final.SetEnabled(considerar);
    if (considerar) SetFoco(dpFecha_Inicio);
}

void frmKX204::dpFecha_Rango_Change() { objInterfaz().LimpiaControles(*this, grupos::Totales); }

void frmKX204::cmdCuentaBancaria_Click() {
    try {
        auto metodoPago = publico_.fabrica.CreaMetodoPago();
        if (!metodoPago->Captura(txt_Cl_Cve_Cliente.Text()))
            Mensaje(std::string("cmdCuentaBancaria_Click() - ") + kSaltoLinea + metodoPago->MensajeError(), 16,
                    "Qivera", "ERR-ID:7500003");
    } catch (const host::RuntimeError& error) {
        Mensaje(std::string("cmdCuentaBancaria_Click() - ") + kSaltoLinea + error.description, 16, "Qivera",
                "ERR-ID:7500004");
    }
}

}  // namespace kx204
