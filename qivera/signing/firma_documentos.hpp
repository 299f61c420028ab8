#pragma once
#include <string>
#include <vector>

#include "qivera/sesion/sesion.hpp"
#include "qivera/signing/timbrado_pendiente.hpp"

namespace qivera {

// Signs stored invoices as CFDI 4.0, for the host window's FirmaDocumento: sealed with the issuer's
// CSD and, when this machine's configuration names a stamping provider (see ComandoTimbrado), stamped;
// otherwise the invoice stays "sin timbrar". Configuration variables:
//   CFDI_CSD_LLAVE, CFDI_CSD_CERTIFICADO   the CSD's .key (DER, encrypted PKCS#8) and .cer (DER) files
//   CFDI_CSD_CONTRASENA                    a file whose first line is the .key's password
//   CFDI_EMISOR_RFC, CFDI_EMISOR_NOMBRE, CFDI_EMISOR_REGIMEN   the issuer
//   CFDI_TIMBRADO_ESPERA                   seconds the provider may take (120 unless set)
//   FAC_FIRMA_DIRECTORIO                   folder of the XML files; `comprobantes` beside the database by default
// What the database, read from this machine, still lacks for FirmaDocumentos to issue a CFDI, in English
// for whoever set it up: a digital series, each issuer and CSD variable left empty, each CSD file this
// machine cannot read, each branch with a digital series and no postal code. Empty when it lacks nothing.
std::vector<std::string> FaltaParaEmitirCfdi(kx204::host::Connection& conexion);

class FirmaDocumentos {
public:
    explicit FirmaDocumentos(Sesion& sesion) : sesion_(sesion) {}

    // `documento` is "<database>|1|<invoice folio>", the database being the connection's
    // DefaultDatabase. Seals the stored invoice's CFDI (RSA-SHA256 over its original string), has it
    // stamped, writes the XML file named by the invoice's series and number and stores its
    // Comprobante_Digital row. Answers "" when signed, otherwise the reason why not. Called with no
    // transaction open: each step commits on its own (see timbrado_pendiente.hpp), and a call after a
    // failure, anywhere between the seal and the last commit, finishes with the same sealed XML.
    std::string Firma(const std::string& documento);

    // What became of one invoice: its UUID (empty when not stamped) and XML file, or why it is not signed.
    struct Resultado {
        std::string folio, uuid, archivo, error;
    };
    // Each invoice of `sucursal` (every branch when empty) sealed but not yet stamped, tried again.
    std::vector<Resultado> ReintentaPendientes(const std::string& sucursal);

private:
    std::string FolioDe(const std::string& documento) const;
    bool EstaFirmada(const std::string& folio) const;
    Resultado FirmaFolio(const std::string& folio);
    Comprobante FirmaFactura(const std::string& folio);
    Comprobante SellaYRegistra(const std::string& folio);
    void CancelaLosQueSustituye(const std::string& uuid);
    // A sealed CFDI and the cents the books moved to agree with it.
    struct Sellado {
        Comprobante comprobante;
        kx204::host::Currency ajuste;
    };
    Sellado Sella(const std::string& folio);

    Sesion& sesion_;
};

}  // namespace qivera
