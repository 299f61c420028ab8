// Printing the invoice shown, in the format of its client and branch.
#include "kx204/host/runtime_error.hpp"
#include "kx204/screen/frm_kx204.hpp"

namespace kx204 {

void frmKX204::Controles_Imprimir() {
    try {
        auto impresor = publico_.fabrica.CreaImpresor();
        const std::string formato =
            objInterfaz().FormatoImpresion(txt_Cl_Cve_Cliente.Text(), txt_Sc_Cve_Sucursal.Text());
        impresor->ImprimeDocumento(formato, txtFolio.Text(), "", 0, 0, "");
    } catch (const host::RuntimeError& error) {
        Mensaje(std::string("Controles_Imprimir() - ") + kSaltoLinea + error.description, 16, "ERROR",
                "ERR-ID:7500039");
    }
}

}  // namespace kx204
