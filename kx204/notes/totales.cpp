// The five totals under the note list, following the checked notes.
#include "kx204/host/runtime_error.hpp"
#include "kx204/screen/frm_kx204.hpp"

namespace kx204 {

namespace {

struct Sumas {
    host::Currency total, descuentoGlobal, impuestos, suma;
};

// Sub-item `subitem` (shown in column subitem + 1) read as the locale reads a number:
// thousands separators and a currency sign accepted.
host::Currency Importe(const host::Lista& lista, int item, std::int32_t subitem) {
    return host::Currency::Parse(lista.Texto(item, subitem));
}

}  // namespace

void frmKX204::Totalizar() {
    Sumas sumas;
    const auto escribe = [&] {
        txtTotal.SetValue(sumas.total);
        txtDescuento_Global.SetValue(sumas.descuentoGlobal);
        txtImpuestos.SetValue(sumas.impuestos);
        txtSuma.SetValue(sumas.suma);
    };
    try {
        for (int i = 0; i < lvNotas.Count(); ++i) {
            if (!lvNotas.Item(i).checked) continue;
            if (ColTotal != 0) sumas.total += Importe(lvNotas, i, ColTotal);
            if (ColDescuentoGlobal != 0) sumas.descuentoGlobal += Importe(lvNotas, i, ColDescuentoGlobal);
            if (ColImpuesto != 0) sumas.impuestos += Importe(lvNotas, i, ColImpuesto);
            if (ColSubtotal != 0) sumas.suma += Importe(lvNotas, i, ColSubtotal);
        }
        escribe();
        txtSubtotal.SetValue(sumas.total - sumas.impuestos);
    } catch (const host::RuntimeError& error) {
        escribe();  // the partial sums stay, as the failing item left them
        txtSubtotal.SetValue(host::Currency());
        Mensaje(std::string("Totalizar() - ") + kSaltoLinea + error.description, 16, "ERROR", "ERR-ID:7500044");
    }
}

void frmKX204::LimpiaNotas() {
    lvNotas.Clear();
    for (host::CampoTexto* total : {&txtTotal, &txtDescuento_Global, &txtImpuestos, &txtSuma, &txtSubtotal})
        total->SetValue(host::Currency());
}

}  // namespace kx204
