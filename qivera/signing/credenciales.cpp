#include "qivera/signing/credenciales.hpp"

#include <QByteArray>

#include <openssl/err.h>
#include <openssl/pem.h>

namespace qivera {

namespace {

constexpr int kBitsMinimos = 2048;

using ContextoFirma = std::unique_ptr<EVP_MD_CTX, Liberador<EVP_MD_CTX, EVP_MD_CTX_free>>;

// Never asks for a pass phrase: an encrypted key fails to read instead of prompting on a terminal.
int SinFraseDePaso(char*, int, int, void*) { return 0; }

}  // namespace

Credenciales LeeCredenciales(const std::string& llavePem, const std::string& certificadoPem) {
    ERR_clear_error();
    Credenciales credenciales;
    credenciales.llave.reset(PEM_read_bio_PrivateKey(BioDeTexto(llavePem).get(), nullptr, SinFraseDePaso, nullptr));
    if (!credenciales.llave) FallaOpenSsl("La llave privada no es válida (se espera PEM sin cifrar)");
    credenciales.certificado.reset(PEM_read_bio_X509(BioDeTexto(certificadoPem).get(), nullptr, nullptr, nullptr));
    if (!credenciales.certificado) FallaOpenSsl("El certificado no es válido (se espera PEM X.509)");
    EVP_PKEY* llave = credenciales.llave.get();
    ExigeLlaveRsaDe(llave, credenciales.certificado.get());
    if (EVP_PKEY_get_bits(llave) < kBitsMinimos)
        FallaOpenSsl("La llave privada es de " + std::to_string(EVP_PKEY_get_bits(llave)) + " bits; se requieren " +
                     std::to_string(kBitsMinimos));
    return credenciales;
}

void ExigeLlaveRsaDe(EVP_PKEY* llave, X509* certificado) {
    if (EVP_PKEY_get_base_id(llave) != EVP_PKEY_RSA) FallaOpenSsl("La llave privada no es RSA");
    if (X509_check_private_key(certificado, llave) != 1) FallaOpenSsl("La llave privada no corresponde al certificado");
}

std::string FirmaRsaSha256(EVP_PKEY* llave, const std::string& datos) {
    ContextoFirma contexto(EVP_MD_CTX_new());
    std::size_t largo = 0;
    if (!contexto || EVP_DigestSignInit(contexto.get(), nullptr, EVP_sha256(), nullptr, llave) != 1 ||
        EVP_DigestSign(contexto.get(), nullptr, &largo, nullptr, 0) != 1)
        FallaOpenSsl("No se pudo preparar la firma");
    std::string firma(largo, '\0');
    if (EVP_DigestSign(contexto.get(), reinterpret_cast<unsigned char*>(firma.data()), &largo,
                       reinterpret_cast<const unsigned char*>(datos.data()), datos.size()) != 1)
        FallaOpenSsl("No se pudo firmar el documento");
    firma.resize(largo);
    return firma;
}

bool VerificaRsaSha256(X509* certificado, const std::string& datos, const std::string& firma) {
    ContextoFirma contexto(EVP_MD_CTX_new());
    const bool valida =
        contexto &&
        EVP_DigestVerifyInit(contexto.get(), nullptr, EVP_sha256(), nullptr, X509_get0_pubkey(certificado)) == 1 &&
        EVP_DigestVerify(contexto.get(), reinterpret_cast<const unsigned char*>(firma.data()), firma.size(),
                         reinterpret_cast<const unsigned char*>(datos.data()), datos.size()) == 1;
    ERR_clear_error();
    return valida;
}

std::string Base64(const std::string& bytes) { return QByteArray::fromStdString(bytes).toBase64().toStdString(); }

std::string DeBase64(const std::string& texto) {
    const auto decodificado =
        QByteArray::fromBase64Encoding(QByteArray::fromStdString(texto), QByteArray::AbortOnBase64DecodingErrors);
    return decodificado ? decodificado.decoded.toStdString() : std::string();
}

Certificado CertificadoDeDer(const std::string& der) {
    const auto* p = reinterpret_cast<const unsigned char*>(der.data());
    Certificado certificado(d2i_X509(nullptr, &p, static_cast<long>(der.size())));
    ERR_clear_error();
    return certificado;
}

std::string CertificadoDer(X509* certificado) {
    unsigned char* der = nullptr;
    const int largo = i2d_X509(certificado, &der);
    if (largo <= 0) FallaOpenSsl("No se pudo codificar el certificado");
    std::string texto(reinterpret_cast<const char*>(der), static_cast<std::size_t>(largo));
    OPENSSL_free(der);
    return texto;
}

}  // namespace qivera
