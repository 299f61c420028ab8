#pragma once
#include <cstdint>
#include <string>

#include "kx204/host/date.hpp"
#include "qivera/signing/openssl.hpp"

namespace qivera {

// The issuer's CSD (certificado de sello digital) read from the files the SAT issues.
struct Csd {
    Llave llave;
    Certificado certificado;
    std::string noCertificado;      // 20 digits, from the certificate's serial number
    std::string certificadoBase64;  // the certificate's DER in base64 on one line, as the invoice's XML carries it
};

// Reads the `.key` (DER PKCS#8 EncryptedPrivateKeyInfo) with `contrasena` and the `.cer` (DER X.509).
// Raises RuntimeError with the reason when a file is missing or unreadable, the password is wrong, the
// key is not RSA or not the certificate's, or the serial number is not the 20 ASCII digits the SAT puts
// there. No message carries the password.
Csd LeeCsd(const std::string& rutaLlave, const std::string& rutaCertificado, const std::string& contrasena);

// The certificate's 20-digit number, which the SAT writes as the serial number's ASCII digits; raises
// RuntimeError for a serial number that is not one.
std::string NoCertificado(X509* certificado);

// Raises RuntimeError unless the CSD's certificate is valid at `momento` (taken as UTC, to the second).
void ExigeVigenciaCsd(const Csd& csd, const kx204::host::Date& momento);

struct RutasCsd {
    std::string llave;
    std::string certificado;
};

// A CSD for demos and tests, shaped like the SAT's: writes `<carpeta>/<rfc>.key`, the key derived from
// `semilla` (see GeneraCredencialesDemo) as DER PKCS#8 encrypted with `contrasena` (PBES2, AES-256-CBC),
// and `<carpeta>/<rfc>.cer`, a DER certificate signed by that same key, whose serial number is the ASCII
// digits of `noCertificado` (20 digits) and whose subject names `nombre` with the RFC as
// x500UniqueIdentifier, valid from `desde` to `hasta` (UTC, to the second). Answers the two paths.
RutasCsd EscribeCsdDemo(const std::string& carpeta, const std::string& rfc, const std::string& nombre,
                        const std::string& noCertificado, const kx204::host::Date& desde,
                        const kx204::host::Date& hasta, const std::string& contrasena, std::uint64_t semilla);

}  // namespace qivera
