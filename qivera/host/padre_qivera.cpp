#include "qivera/host/padre_qivera.hpp"

#include "kx204/host/servicios.hpp"
#include "kx204/screen/frm_kx204.hpp"
#include "qivera/sesion/acceso.hpp"

namespace qivera {

namespace {

using kx204::host::ComandoBarra;

// What a command does that takes FACTURAR, as the clerk is told; empty when it takes no permission.
// B2 is "Firmar": signing stamps a legal document and mails it.
std::string QueHace(ComandoBarra comando) {
    switch (comando) {
        case ComandoBarra::Nuevo:
        case ComandoBarra::Aceptar:
        case ComandoBarra::Eliminar:
            return "crear ni eliminar facturas";
        case ComandoBarra::B2:
            return "firmar facturas";
        default:
            return {};
    }
}

}  // namespace

std::string PadreQivera::Autoriza(ComandoBarra comando) {
    const std::string hace = QueHace(comando);
    if (hace.empty() || TienePermiso(sesion_.conexion, sesion_.usuario, "KX204", "FACTURAR")) return {};
    const std::string motivo =
        "El usuario «" + sesion_.usuario + "» no tiene permiso para " + hace + " (KX204 FACTURAR).";
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
