#pragma once
#include <string>

#include "qivera/sesion/sesion.hpp"

namespace qivera {

// Signs stored invoices as digital documents, for the host window's FirmaDocumento.
// Configuration variables:
//   FAC_FIRMA_LLAVE         the signer's RSA private key (at least 2048 bits), PEM text, unencrypted
//   FAC_FIRMA_CERTIFICADO   the X.509 certificate of that key, PEM text
//   FAC_FIRMA_DIRECTORIO    folder of the signed XML files; `comprobantes` beside the database by default
class FirmaDocumentos {
public:
    explicit FirmaDocumentos(Sesion& sesion) : sesion_(sesion) {}

    // `documento` is "<database>|1|<invoice folio>", the database being the connection's
    // DefaultDatabase. Signs the stored invoice's canonical XML with RSA-SHA256, writes the XML
    // file and stores its Comprobante_Digital row. Answers "" when signed, otherwise the reason
    // why not, leaving nothing behind. Opens its own transaction unless the caller has one, who
    // then rolls back what a failure leaves.
    std::string Firma(const std::string& documento);

private:
    std::string FolioDe(const std::string& documento) const;
    bool EstaFirmada(const std::string& folio) const;
    void FirmaFactura(const std::string& folio);

    Sesion& sesion_;
};

}  // namespace qivera
