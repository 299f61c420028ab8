// "Agregar venta": one pending note of the branch, chosen in the search window,
// added to the list already checked.
#include "kx204/host/runtime_error.hpp"
#include "kx204/host/texto.hpp"
#include "kx204/screen/frm_kx204.hpp"

namespace kx204 {

void frmKX204::Controles_B3Click() {
    try {
        if (!PermitirCapturarNotaVenta) return;
        auto& interfaz = objInterfaz();
        const std::string sucursal = txt_Sc_Cve_Sucursal.Text();
        bool encontrada = false;
        if (interfaz.BuscaCatalogo("Sucursal", "Sc_Cve_Sucursal", sucursal, "Sc_Cve_Sucursal", &encontrada).empty()) {
            Mensaje("La sucursal especificada no es válida", 48, "Qivera", "ERR-ID:7500032");
            EnfocaSiHabilitado(txt_Sc_Cve_Sucursal);
            return;
        }
        const std::string folio = interfaz.SeleccionaRegistro(
            "VENTA_NO_FACTURADA", 100, "Venta.Sc_Cve_Sucursal = '" + host::SqlText(sucursal) + "'");
        if (folio.empty()) return;
        if (lvNotas.Busca(folio) >= 0) {
            Mensaje("La venta ya está en la lista, seleccione otra", 48, "Qivera", "ERR-ID:7500033");
            return;
        }

        const std::string clausula = "WHERE Venta.Vn_Folio = '" + host::SqlText(folio) + "' ";
        sSQL =
            host::ReemplazaSinMayusculas(interfaz.ObtenConsulta("FACTURACION_VENTA_CONSOLIDADA"), "{WHERE}", clausula);
        interfaz.AgregaALista(sSQL, lvNotas, folio, false);
        const int agregada = lvNotas.Busca(folio);
        if (agregada < 0) {
            BuscaColumnas();
            Totalizar();
            return;
        }
        lvNotas.SetChecked(agregada, true);  // its item-check notification recounts the totals
    } catch (const host::RuntimeError& error) {
        Mensaje(std::string("Controles_B3Click() - ") + kSaltoLinea + error.description, 16, "ERROR", "ERR-ID:7500034");
    }
}

}  // namespace kx204
