#pragma once
#include <functional>

#include "kx204/component/pantalla.hpp"
#include "kx204/host/ventana_host.hpp"
#include "qivera/services/cancelacion_factura.hpp"
#include "qivera/sesion/sesion.hpp"
#include "qivera/signing/cancelacion_cfdi.hpp"
#include "qivera/signing/firma_documentos.hpp"

namespace qivera {

// The host window as the reference host fulfils it: signing, the validation of a deletion and
// the unload request, which it records for whoever shows the window to act on.
class PadreQivera : public kx204::host::VentanaHost {
public:
    explicit PadreQivera(Sesion& sesion) : sesion_(sesion) {}

    // Obtains the screen through its entry class and becomes its Padre: the session's active
    // window, with Delete asking the person first and the invoicing commands checked. Raises RuntimeError 424 when
    // there is no screen.
    kx204::frmKX204& Acoge(kx204::Pantalla& entrada);

    std::string Transaccion() override { return "KX204"; }
    std::string Modulo() override { return "VENTAS"; }
    std::string FirmaDocumento(const std::string& documento) override {
        return FirmaDocumentos(sesion_).Firma(documento);
    }
    // Texts of sError and sMensaje are those of the last validation.
    // A deletion that may go on has the invoice's stamp cancelled before the tax authority first.
    bool ValidaDocumento(const std::string& documento) override {
        validacion_ = ValidaCancelacion(sesion_, documento);
        if (validacion_.valida) validacion_ = CancelaAnteElSat(sesion_, documento.substr(documento.find('|') + 1));
        return validacion_.valida;
    }
    std::string sError() override { return validacion_.error; }
    std::string sMensaje() override { return validacion_.mensaje; }
    void Descarga() override {
        descargada_ = true;
        if (OnDescarga) OnDescarga();
    }
    bool Descargada() const { return descargada_; }
    // The window that shows the screen closes here.
    std::function<void()> OnDescarga;

private:
    // Creating, accepting and deleting invoices take KX204 FACTURAR; the clerk is told when refused.
    std::string Autoriza(kx204::host::ComandoBarra comando);

    Sesion& sesion_;
    bool descargada_ = false;
    ValidacionDocumento validacion_;
};

}  // namespace qivera
