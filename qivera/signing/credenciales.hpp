#pragma once
#include <string>

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
// Raises RuntimeError unless the key is RSA and belongs to the certificate.
void ExigeLlaveRsaDe(EVP_PKEY* llave, X509* certificado);

// The RSA PKCS#1 v1.5 signature of the SHA-256 digest of `datos`, as raw bytes.
std::string FirmaRsaSha256(EVP_PKEY* llave, const std::string& datos);
// Whether `firma` is that signature of `datos` by the key of `certificado`.
bool VerificaRsaSha256(X509* certificado, const std::string& datos, const std::string& firma);
// Bytes as base64 on one line, and back; a text that is not base64 gives nothing.
std::string Base64(const std::string& bytes);
std::string DeBase64(const std::string& texto);

// The certificate's DER encoding, and back; a null certificate when `der` is not one.
std::string CertificadoDer(X509* certificado);
Certificado CertificadoDeDer(const std::string& der);

}  // namespace qivera
