#pragma once
#include <string>

#include "kx204/host/documentos.hpp"
#include "qivera/sesion/sesion.hpp"

namespace qivera {

// The host's mail component: mails a signed invoice, its PDF and its XML, to the client's
// Cl_Email (one address, or several separated by ';' or ',').
// Configuration variables:
//   CORREO_BANDEJA    outbox folder where every message is written as <folio>.eml;
//                     `bandeja` beside the database by default
//   CORREO_SMTP_URL   when set (smtp://host:port, smtps://…), the message is also sent there
//   CORREO_REMITENTE  the sender's address; facturacion@localhost by default
class CorreoQivera : public kx204::host::Correo {
public:
    explicit CorreoQivera(Sesion& sesion) : sesion_(sesion) {}

    std::string MensajeError() override { return error_; }
    // `tabla` must be "Factura"; the numbers and the text select nothing. Prints the invoice
    // when its PDF is missing. False, with MensajeError telling why, when the invoice, its
    // signature or its client's address is missing, or the message could not be written or sent.
    bool EnviaDocumento(const std::string& tabla, const std::string& folio, int a, int b, int c,
                        const std::string& texto) override;

private:
    void Envia(const std::string& tabla, const std::string& folio);

    Sesion& sesion_;
    std::string error_;
};

// The server mail is also sent through (CORREO_SMTP_URL); empty when it only reaches the outbox.
std::string ServidorCorreo(Sesion& sesion);

}  // namespace qivera
