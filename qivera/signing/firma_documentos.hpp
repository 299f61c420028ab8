#pragma once
#include <string>

#include "qivera/sesion/sesion.hpp"

namespace qivera {

// Signs stored invoices as CFDI 4.0, for the host window's FirmaDocumento: sealed with the issuer's
// CSD and, when a stamping provider is configured, stamped. Configuration variables:
//   CFDI_CSD_LLAVE, CFDI_CSD_CERTIFICADO   the CSD's .key (DER, encrypted PKCS#8) and .cer (DER) files
//   CFDI_CSD_CONTRASENA                    a file whose first line is the .key's password
//   CFDI_EMISOR_RFC, CFDI_EMISOR_NOMBRE, CFDI_EMISOR_REGIMEN   the issuer
//   CFDI_TIMBRADO_COMANDO                  the stamping provider's command (see timbrado.hpp); without it
//                                          the invoice is sealed and stays "sin timbrar"
//   FAC_FIRMA_DIRECTORIO                   folder of the XML files; `comprobantes` beside the database by default
class FirmaDocumentos {
public:
    explicit FirmaDocumentos(Sesion& sesion) : sesion_(sesion) {}

    // `documento` is "<database>|1|<invoice folio>", the database being the connection's
    // DefaultDatabase. Seals the stored invoice's CFDI (RSA-SHA256 over its original string), has it
    // stamped, writes the XML file named by the invoice's series and number and stores its
    // Comprobante_Digital row. Answers "" when signed, otherwise the reason
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
