#include "qivera/host/padre_qivera.hpp"

#include "kx204/host/servicios.hpp"
#include "kx204/screen/frm_kx204.hpp"
#include "qivera/sesion/acceso.hpp"

namespace qivera {

namespace {

using kx204::host::ComandoBarra;

bool CreaOBorraFacturas(ComandoBarra comando) {
    return comando == ComandoBarra::Nuevo || comando == ComandoBarra::Aceptar || comando == ComandoBarra::Eliminar;
}

}  // namespace

std::string PadreQivera::Autoriza(ComandoBarra comando) {
    if (!CreaOBorraFacturas(comando) || TienePermiso(sesion_.conexion, sesion_.usuario, "KX204", "FACTURAR")) return {};
    const std::string motivo =
        "El usuario «" + sesion_.usuario + "» no tiene permiso para crear ni eliminar facturas (KX204 FACTURAR).";
    sesion_.persona.Mensaje(motivo, kx204::host::botones::Critico, "Qivera", "");
    return motivo;
}

kx204::frmKX204& PadreQivera::Acoge(kx204::Pantalla& entrada) {
    kx204::frmKX204* pantalla = entrada.GetPantalla();
    if (pantalla == nullptr) throw kx204::host::RuntimeError(424, "No se pudo crear la pantalla " + entrada.Modulo());
    pantalla->SetPadre(this);
    pantalla->Controles.SetConfirmaEliminar([this, pantalla] {
        return sesion_.persona.Mensaje("¿Desea eliminar la factura " + pantalla->txtFolio.Text() + "?", 4 + 32,
                                       "Qivera", "") == 6;
    });
    pantalla->Controles.SetAutoriza([this](ComandoBarra comando) { return Autoriza(comando); });
    sesion_.ventanaActiva = pantalla;
    return *pantalla;
}

}  // namespace qivera
