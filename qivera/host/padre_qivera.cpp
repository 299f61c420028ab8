#include "qivera/host/padre_qivera.hpp"

#include "kx204/screen/frm_kx204.hpp"

namespace qivera {

kx204::frmKX204& PadreQivera::Acoge(kx204::Pantalla& entrada) {
    kx204::frmKX204* pantalla = entrada.GetPantalla();
    if (pantalla == nullptr) throw kx204::host::RuntimeError(424, "No se pudo crear la pantalla " + entrada.Modulo());
    pantalla->SetPadre(this);
    pantalla->Controles.SetConfirmaEliminar([this, pantalla] {
        return sesion_.persona.Mensaje("¿Desea eliminar la factura " + pantalla->txtFolio.Text() + "?", 4 + 32,
                                       "Qivera", "") == 6;
    });
    sesion_.ventanaActiva = pantalla;
    return *pantalla;
}

}  // namespace qivera
