// Signing a stored invoice on demand, and mailing a signed one.
#include "kx204/host/runtime_error.hpp"
#include "kx204/screen/frm_kx204.hpp"

namespace kx204 {

void frmKX204::Controles_B2Click() {
    const std::string folio = txtFolio.Text();
    const std::string documento = objServicios().Conexion().DefaultDatabase() + "|1|" + folio;
    if (Padre_ == nullptr) throw host::ObjectRequiredError();
    const std::string respuesta = Padre_->FirmaDocumento(documento);
    if (!respuesta.empty()) {
        Mensaje(std::string("Error al firmar el documento digital") + kSaltoLinea + respuesta, 48, "Advertencia!",
                "ERR-ID:7500030");
        return;
    }
    Controles.SetCaptionBoton(2, "");
    EnviaDocumentoCorreo(folio, "Factura", false);
    Mensaje("Documento firmado con éxito", 64, "Comprobante digital", "ERR-ID:7500031");
}

void frmKX204::EnviaDocumentoCorreo(const std::string& folio, const std::string& tabla, bool envia) {
    try {
        bool encontrado = false;
        const bool firmado = objInterfaz().BuscaCatalogo("Comprobante_Digital", "Cd_Tabla", tabla, "Cd_Documento",
                                                         &encontrado, "Cd_Documento", folio, "") == folio;
        if (!firmado) return;
        if (!envia && !EnviarDocumentoEmail) return;
        auto correo = publico_.fabrica.CreaCorreo();
        if (!correo->EnviaDocumento(tabla, folio, 0, 0, 0, ""))
            Mensaje(correo->MensajeError(), 48, "Qivera", "ERR-ID:7500045");
    } catch (const host::RuntimeError&) {
        // A mail that cannot go out never undoes what was done; the invoice can be mailed again.
    }
}

}  // namespace kx204
