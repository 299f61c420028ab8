#pragma once
#include "kx204/host/ventana_host.hpp"
#include "qivera/services/cancelacion_factura.hpp"
#include "qivera/services/sesion.hpp"
#include "qivera/signing/firma_documentos.hpp"

namespace qivera {

// The host window of the headless shell: it holds the screen until it is unloaded.
class VentanaGuionada : public kx204::host::VentanaHost {
public:
    explicit VentanaGuionada(Sesion& sesion) : sesion_(sesion) {}

    std::string Transaccion() override { return "KX204"; }
    std::string Modulo() override { return "VENTAS"; }
    std::string FirmaDocumento(const std::string& documento) override {
        return FirmaDocumentos(sesion_).Firma(documento);
    }
    // Texts of sError and sMensaje are those of the last validation.
    bool ValidaDocumento(const std::string& documento) override {
        validacion_ = ValidaCancelacion(sesion_, documento);
        return validacion_.valida;
    }
    std::string sError() override { return validacion_.error; }
    std::string sMensaje() override { return validacion_.mensaje; }
    void Descarga() override { descargada_ = true; }
    bool Descargada() const { return descargada_; }

private:
    Sesion& sesion_;
    bool descargada_ = false;
    ValidacionDocumento validacion_;
};

}  // namespace qivera
