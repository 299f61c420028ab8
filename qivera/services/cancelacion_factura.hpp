#pragma once
#include <string>

#include "kx204/host/servicios.hpp"
#include "qivera/sesion/sesion.hpp"

namespace qivera {

// The invoice-cancellation service: marks Factura, Factura_Encabezado and the invoice's digital
// document (Comprobante_Digital) cancelled on the session's connection, inside the caller's transaction. The invoice's
// notes and receivables are the caller's.
class CancelacionFacturaQivera : public kx204::host::CancelacionFactura {
public:
    explicit CancelacionFacturaQivera(Sesion& sesion) : sesion_(sesion) {}
    // Refuses an invoice that does not exist or is already cancelled, and one whose stamped CFDI the tax
    // authority has not cancelled yet: that is asked before the books are touched (see CancelaAnteElSat),
    // never inside their transaction. An unstamped CFDI falls with the invoice; one set aside to be
    // replaced keeps standing, and the notes it covered are recorded (Cfdi_Sustituido) for its replacement.
    bool CancelaFactura(const std::string& folio, int opcion) override;
    std::string MensajeError() override { return error_; }

private:
    void CancelaCfdi(const std::string& folio);

    Sesion& sesion_;
    std::string error_;
};

// The state (Cd_Estado_Cancelacion) of a stamped CFDI a Delete with reason 01 set aside: it stands before
// the tax authority until the next invoice of its notes, which relates to it, is stamped; then it is
// cancelled naming that one.
inline constexpr const char* kPorSustituir = "POR_SUSTITUIR";

// The answer to the host window's ValidaDocumento: whether the invoice may be deleted, and the texts
// of its sError and sMensaje.
struct ValidacionDocumento {
    bool valida = false;
    std::string error;
    std::string mensaje;
};

// `documento` is "1|<invoice folio>". An unsigned invoice may be deleted. A signed one only while its
// digital document can still be cancelled: signed in the month of the server's date (or cancelled
// already). It only decides: the document is marked cancelled by CancelaFactura, so a deletion
// refused or failed later leaves it as it was.
ValidacionDocumento ValidaCancelacion(Sesion& sesion, const std::string& documento);

}  // namespace qivera
