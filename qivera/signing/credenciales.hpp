#pragma once
#include <string>

#include "kx204/host/date.hpp"
#include "qivera/signing/openssl.hpp"

namespace qivera {

// A signer's RSA private key and the X.509 certificate of its public key.
struct Credenciales {
    Llave llave;
    Certificado certificado;
};

// Reads and checks a key and a certificate in PEM: the key must be unencrypted, RSA of at
// least 2048 bits, and belong to the certificate. Raises RuntimeError with the reason otherwise.
Credenciales LeeCredenciales(const std::string& llavePem, const std::string& certificadoPem);
// Raises RuntimeError unless the certificate is valid at some moment of `dia` (UTC).
void ExigeVigencia(X509* certificado, const kx204::host::Date& dia);

// The RSA PKCS#1 v1.5 signature of the SHA-256 digest of `datos`, as raw bytes.
std::string FirmaRsaSha256(EVP_PKEY* llave, const std::string& datos);
// The certificate's DER encoding.
std::string CertificadoDer(X509* certificado);

}  // namespace qivera
