// Checking notes one by one, all at once or as a selected block; sorting, the
// list utilities, and the folio list of the checked notes.
#include "kx204/host/runtime_error.hpp"
#include "kx204/screen/frm_kx204.hpp"

namespace kx204 {

std::string frmKX204::FoliosSeleccionados() const {
    std::string folios;
    for (int i = 0; i < lvNotas.Count(); ++i) {
        const host::ItemLista& item = lvNotas.Item(i);
        if (!item.checked) continue;
        if (!folios.empty()) folios += ", ";
        folios += "'" + host::SqlText(item.text) + "'";
    }
    return folios;
}

void frmKX204::chkMarcarTodos_Click() {
    try {
        if (!Controles.NuevoDocumento()) return;
        const bool marcar = chkMarcarTodos.Caption() == "Marcar todos";
        chkMarcarTodos.SetCaption(marcar ? "Desmarcar todos" : "Marcar todos");
        CambiaMarcas([&](int i) { lvNotas.SetChecked(i, marcar); });
    } catch (const host::RuntimeError& error) {
        Mensaje(std::string("chkMarcarTodos_Click() - ") + kSaltoLinea + error.description, 16, "ERROR",
                "ERR-ID:7500002");
    }
}

void frmKX204::lvNotas_ItemCheck(int /*indice*/) {
    if (!totalesSuspendidos_) Totalizar();
}

void frmKX204::lvNotas_KeyPress(int& caracter) {
    if (caracter != teclas::Espacio) return;
    caracter = 0;
    const int actual = lvNotas.Actual();
    if (actual < 0) return;  // no current item: nothing to follow
    const bool marcar = !lvNotas.Item(actual).checked;
    CambiaMarcas([&](int i) {
        if (lvNotas.Item(i).selected) lvNotas.SetChecked(i, marcar);
    });
}

void frmKX204::lvNotas_ColumnClick(int columna) {
    const bool ascendente = lvNotas.SortOrder() == host::Orden::Ascendente;
    lvNotas.SetOrden(columna - 1, ascendente ? host::Orden::Descendente : host::Orden::Ascendente);
}

void frmKX204::lvNotas_KeyUp(int tecla, int shift) {
    try {
        if (tecla != teclas::F10) return;
        if (shift == teclas::Shift) {
            objInterfaz().AccionListaAlterna(lvNotas);
        } else {
            objInterfaz().AccionLista(lvNotas);
        }
    } catch (const host::RuntimeError& error) {
        Mensaje(std::string("lvNotas_KeyUp()") + kSaltoLinea + error.description, 16, "Qivera", "ERR-ID:7500041");
    }
}

}  // namespace kx204
