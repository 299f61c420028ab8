#pragma once
#include <string>

namespace kx204::host {

// The host window that holds the screen (the screen's Padre). The screen calls
// these members and nothing else on it.
class VentanaHost {
public:
    virtual ~VentanaHost() = default;
    virtual std::string Transaccion() = 0;
    virtual std::string Modulo() = 0;
    // Empty when signed, otherwise why not.
    virtual std::string FirmaDocumento(const std::string& documento) = 0;
    virtual bool ValidaDocumento(const std::string& documento) = 0;
    virtual std::string sError() = 0;
    virtual std::string sMensaje() = 0;
    // Closes the window, and with it the screen.
    virtual void Descarga() = 0;
};

}  // namespace kx204::host
