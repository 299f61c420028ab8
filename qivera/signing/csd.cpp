#include "qivera/signing/csd.hpp"

#include <QFile>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <utility>

#include <openssl/asn1.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/pkcs12.h>

#include "qivera/signing/archivo_privado.hpp"
#include "qivera/signing/credenciales.hpp"
#include "qivera/signing/credenciales_demo.hpp"

namespace qivera {

using kx204::host::Date;

namespace {

constexpr std::size_t kDigitosCertificado = 20;

using LlaveCifrada = std::unique_ptr<X509_SIG, Liberador<X509_SIG, X509_SIG_free>>;
using LlaveDescifrada = std::unique_ptr<PKCS8_PRIV_KEY_INFO, Liberador<PKCS8_PRIV_KEY_INFO, PKCS8_PRIV_KEY_INFO_free>>;
using Entero = std::unique_ptr<ASN1_INTEGER, Liberador<ASN1_INTEGER, ASN1_INTEGER_free>>;

void ExigeEnDemo(bool cumplido, const char* que) {
    if (!cumplido) FallaOpenSsl(std::string("No se pudo generar el CSD de demostración: ") + que);
}

bool EsNumeroDeCertificado(const std::string& texto) {
    return texto.size() == kDigitosCertificado &&
           std::all_of(texto.begin(), texto.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// `que` names the file for the clerk: "de la llave privada", "del certificado".
std::string LeeArchivo(const std::string& ruta, const std::string& que) {
    QFile archivo(QString::fromStdString(ruta));
    if (!archivo.exists()) FallaOpenSsl("No existe el archivo " + que + ": " + ruta);
    if (!archivo.open(QIODevice::ReadOnly)) FallaOpenSsl("No se pudo leer el archivo " + que + ": " + ruta);
    return archivo.readAll().toStdString();
}

void EscribeArchivo(const std::string& ruta, const std::string& contenido) {
    QFile archivo(QString::fromStdString(ruta));
    const auto largo = static_cast<qint64>(contenido.size());
    if (!archivo.open(QIODevice::WriteOnly) || archivo.write(contenido.data(), largo) != largo || !archivo.flush())
        FallaOpenSsl("No se pudo escribir el archivo " + ruta);
}

const unsigned char* Bytes(const std::string& texto) { return reinterpret_cast<const unsigned char*>(texto.data()); }

// Decrypting apart from parsing tells a wrong password from a file that is not a key at all.
Llave LlaveDeDer(const std::string& der, const std::string& ruta, const std::string& contrasena) {
    const unsigned char* p = Bytes(der);
    const LlaveCifrada cifrada(d2i_X509_SIG(nullptr, &p, static_cast<long>(der.size())));
    if (!cifrada) FallaOpenSsl("El archivo " + ruta + " no es una llave privada cifrada (se espera PKCS#8 en DER)");
    const LlaveDescifrada descifrada(
        PKCS8_decrypt(cifrada.get(), contrasena.data(), static_cast<int>(contrasena.size())));
    if (!descifrada) FallaOpenSsl("La contraseña de la llave privada no es correcta");
    Llave llave(EVP_PKCS82PKEY(descifrada.get()));
    if (!llave) FallaOpenSsl("La llave privada no es válida");
    return llave;
}

std::time_t Segundos(const Date& momento) {
    return InicioDelDia(momento) + momento.Hour() * 3600 + momento.Minute() * 60 + momento.Second();
}

// dd/mm/yyyy, as the clerk reads dates.
std::string DiaDe(const ASN1_TIME* tiempo) {
    std::tm partes{};
    if (ASN1_TIME_to_tm(tiempo, &partes) != 1) FallaOpenSsl("La vigencia del certificado no es legible");
    char texto[32];
    std::snprintf(texto, sizeof texto, "%02d/%02d/%04d", partes.tm_mday, partes.tm_mon + 1, partes.tm_year + 1900);
    return texto;
}

void NombraSujeto(X509* certificado, const std::string& nombre, const std::string& rfc) {
    X509_NAME* sujeto = X509_get_subject_name(certificado);
    const std::pair<int, const std::string&> campos[] = {
        {NID_commonName, nombre}, {NID_organizationName, nombre}, {NID_x500UniqueIdentifier, rfc}};
    for (const auto& [campo, valor] : campos)
        ExigeEnDemo(X509_NAME_add_entry_by_NID(sujeto, campo, MBSTRING_UTF8, Bytes(valor), -1, -1, 0) == 1, "nombre");
    ExigeEnDemo(X509_set_issuer_name(certificado, sujeto) == 1, "emisor");
}

Certificado CertificadoSat(EVP_PKEY* llave, const std::string& rfc, const std::string& nombre,
                           const std::string& noCertificado, const Date& desde, const Date& hasta) {
    Certificado certificado(X509_new());
    const Entero serie(ASN1_INTEGER_new());
    ExigeEnDemo(certificado && serie, "memoria");
    X509* x = certificado.get();
    ExigeEnDemo(X509_set_version(x, X509_VERSION_3) == 1 &&
                    ASN1_STRING_set(serie.get(), noCertificado.data(), static_cast<int>(noCertificado.size())) == 1 &&
                    X509_set_serialNumber(x, serie.get()) == 1,
                "número de serie");
    NombraSujeto(x, nombre, rfc);
    ExigeEnDemo(ASN1_TIME_set(X509_getm_notBefore(x), Segundos(desde)) != nullptr &&
                    ASN1_TIME_set(X509_getm_notAfter(x), Segundos(hasta)) != nullptr,
                "vigencia");
    ExigeEnDemo(X509_set_pubkey(x, llave) == 1 && X509_sign(x, llave, EVP_sha256()) != 0, "firma del certificado");
    return certificado;
}

std::string LlaveCifradaDer(EVP_PKEY* llave, const std::string& contrasena) {
    Bio der(BIO_new(BIO_s_mem()));
    ExigeEnDemo(der && i2d_PKCS8PrivateKey_bio(der.get(), llave, EVP_aes_256_cbc(), contrasena.data(),
                                               static_cast<int>(contrasena.size()), nullptr, nullptr) == 1,
                "llave cifrada");
    return TextoDeBio(der.get());
}

}  // namespace

std::string NoCertificado(X509* certificado) {
    const ASN1_INTEGER* serie = X509_get0_serialNumber(certificado);
    const std::string digitos(reinterpret_cast<const char*>(ASN1_STRING_get0_data(serie)),
                              static_cast<std::size_t>(ASN1_STRING_length(serie)));
    if (ASN1_STRING_type(serie) != V_ASN1_INTEGER || !EsNumeroDeCertificado(digitos))
        FallaOpenSsl("El número de serie del certificado no es un número de certificado del SAT (20 dígitos)");
    return digitos;
}

Csd LeeCsd(const std::string& rutaLlave, const std::string& rutaCertificado, const std::string& contrasena) {
    ERR_clear_error();
    const std::string llaveDer = LeeArchivo(rutaLlave, "de la llave privada");
    const std::string certificadoDer = LeeArchivo(rutaCertificado, "del certificado");
    Csd csd;
    csd.certificado = CertificadoDeDer(certificadoDer);
    if (!csd.certificado)
        FallaOpenSsl("El archivo " + rutaCertificado + " no es un certificado (se espera X.509 en DER)");
    csd.llave = LlaveDeDer(llaveDer, rutaLlave, contrasena);
    ExigeLlaveRsaDe(csd.llave.get(), csd.certificado.get());
    csd.noCertificado = NoCertificado(csd.certificado.get());
    csd.certificadoBase64 = Base64(CertificadoDer(csd.certificado.get()));
    return csd;
}

void ExigeVigenciaCsd(const Csd& csd, const Date& momento) {
    ERR_clear_error();
    const std::time_t segundos = Segundos(momento);
    const ASN1_TIME* desde = X509_get0_notBefore(csd.certificado.get());
    const ASN1_TIME* hasta = X509_get0_notAfter(csd.certificado.get());
    // -1, 0 or 1 as the certificate's time is before, at or after the moment; -2 when unreadable.
    const int inicio = ASN1_TIME_cmp_time_t(desde, segundos), fin = ASN1_TIME_cmp_time_t(hasta, segundos);
    if (inicio == -2 || fin == -2) FallaOpenSsl("La vigencia del certificado no es legible");
    if (inicio > 0)
        FallaOpenSsl("El certificado " + csd.noCertificado + " aún no es válido: lo será a partir del " + DiaDe(desde));
    if (fin < 0) FallaOpenSsl("El certificado " + csd.noCertificado + " venció el " + DiaDe(hasta));
}

RutasCsd EscribeCsdDemo(const std::string& carpeta, const std::string& rfc, const std::string& nombre,
                        const std::string& noCertificado, const Date& desde, const Date& hasta,
                        const std::string& contrasena, std::uint64_t semilla) {
    ERR_clear_error();
    if (!EsNumeroDeCertificado(noCertificado))
        FallaOpenSsl("El número de certificado debe ser de 20 dígitos: " + noCertificado);
    const CredencialesPem demo = GeneraCredencialesDemo(nombre, desde, hasta, semilla);
    const Llave llave = LeeCredenciales(demo.llave, demo.certificado).llave;
    const Certificado certificado = CertificadoSat(llave.get(), rfc, nombre, noCertificado, desde, hasta);
    const RutasCsd rutas{carpeta + "/" + rfc + ".key", carpeta + "/" + rfc + ".cer"};
    if (!EscribeArchivoPrivado(rutas.llave, LlaveCifradaDer(llave.get(), contrasena)))
        FallaOpenSsl("No se pudo escribir el archivo " + rutas.llave);
    EscribeArchivo(rutas.certificado, CertificadoDer(certificado.get()));
    return rutas;
}

}  // namespace qivera
