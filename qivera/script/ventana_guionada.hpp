#pragma once
#include "kx204/host/ventana_host.hpp"
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
    bool ValidaDocumento(const std::string&) override { return false; }
    std::string sError() override { return {}; }
    std::string sMensaje() override { return {}; }
    void Descarga() override { descargada_ = true; }
    bool Descargada() const { return descargada_; }

private:
    Sesion& sesion_;
    bool descargada_ = false;
};

}  // namespace qivera
