// The issuer's CSD as the SAT issues it: demo files written to a temporary folder and read back
// with real OpenSSL, refusals naming their reason and never the password.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <string>

#include <sys/stat.h>

#include <openssl/err.h>
#include <openssl/pem.h>

#include "apoyo/error_de.hpp"
#include "qivera/signing/credenciales.hpp"
#include "qivera/signing/credenciales_demo.hpp"
#include "qivera/signing/csd.hpp"

namespace {

using kx204::host::Date;

constexpr char kRfc[] = "EKU9003173C9";
constexpr char kNombre[] = "ESCUELA KEMPER URGATE";
constexpr char kNumero[] = "30001000000500003416";
constexpr char kContrasena[] = "Ñandú-secreto-42";

std::string SerieHex(X509* certificado) {
    const qivera::Numero serie(ASN1_INTEGER_to_BN(X509_get0_serialNumber(certificado), nullptr));
    char* hex = BN_bn2hex(serie.get());
    const std::string texto(hex);
    OPENSSL_free(hex);
    return texto;
}

class LecturaCsd : public ::testing::Test {
protected:
    qivera::RutasCsd Demo(const std::string& rfc, std::uint64_t semilla) {
        return qivera::EscribeCsdDemo(carpeta.path().toStdString(), rfc, kNombre, kNumero, desde, hasta, kContrasena,
                                      semilla);
    }
    std::string Ruta(const char* nombre) const { return carpeta.filePath(nombre).toStdString(); }

    QTemporaryDir carpeta;
    const Date desde = Date::FromYmd(2025, 1, 1, 10, 30), hasta = Date::FromYmd(2029, 1, 1, 10, 30);
};

TEST_F(LecturaCsd, ADemoCsdReadsBackWithItsNumberAndCertificateAndIsValidToTheSecond) {
    const qivera::RutasCsd rutas = Demo(kRfc, 1);

    const qivera::Csd csd = qivera::LeeCsd(rutas.llave, rutas.certificado, kContrasena);
    X509* certificado = csd.certificado.get();
    EXPECT_EQ(csd.noCertificado, kNumero);
    EXPECT_EQ(SerieHex(certificado), "3330303031303030303030353030303033343136");
    EXPECT_EQ(QByteArray::fromBase64(QByteArray::fromStdString(csd.certificadoBase64)).toStdString(),
              std::string(std::istreambuf_iterator<char>(std::ifstream(rutas.certificado).rdbuf()), {}));
    char rfc[32] = "";
    X509_NAME_get_text_by_NID(X509_get_subject_name(certificado), NID_x500UniqueIdentifier, rfc, sizeof rfc);
    EXPECT_STREQ(rfc, kRfc);
    EXPECT_EQ(X509_verify(certificado, X509_get0_pubkey(certificado)), 1);

    const auto vigencia = [&](const Date& momento) {
        return prueba::TextoDeError([&] { qivera::ExigeVigenciaCsd(csd, momento); });
    };
    EXPECT_EQ(vigencia(Date::FromYmd(2025, 1, 1, 10, 29, 59)),
              "El certificado 30001000000500003416 aún no es válido: lo será a partir del 01/01/2025");
    EXPECT_EQ(vigencia(desde), "");
    EXPECT_EQ(vigencia(hasta), "");
    EXPECT_EQ(vigencia(Date::FromYmd(2029, 1, 1, 10, 30, 1)),
              "El certificado 30001000000500003416 venció el 01/01/2029");
}

// The key is its owner's alone from the moment it is written, even over an older file anyone could read.
TEST_F(LecturaCsd, TheKeyIsItsOwnersAloneEvenOverAnOlderReadableFile) {
    const mode_t antes = ::umask(022);  // what a shell usually has
    std::ofstream(Ruta("EKU9003173C9.key")) << "older";
    const qivera::RutasCsd rutas = Demo(kRfc, 1);
    ::umask(antes);
    EXPECT_EQ(std::filesystem::status(rutas.llave).permissions() & std::filesystem::perms::mask,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(qivera::LeeCsd(rutas.llave, rutas.certificado, kContrasena).noCertificado, kNumero);
}

TEST_F(LecturaCsd, RefusalsNameTheirReasonAndNeverThePassword) {
    const qivera::RutasCsd propio = Demo(kRfc, 1), ajeno = Demo("XAXX010101000", 2);
    const auto rechaza = [](const std::string& llave, const std::string& certificado, const std::string& contrasena,
                            const std::string& motivo) {
        const auto lee = [&] { qivera::LeeCsd(llave, certificado, contrasena); };
        const std::string mensaje = prueba::TextoDeError(lee);
        EXPECT_NE(mensaje.find(motivo), std::string::npos) << mensaje;
        EXPECT_EQ(mensaje.find(contrasena), std::string::npos) << mensaje;
        EXPECT_EQ(prueba::NumeroDeError(lee), 5) << motivo;
        EXPECT_EQ(ERR_peek_error(), 0u) << motivo;
    };
    rechaza(propio.llave, propio.certificado, "Ñandú-secreto-43", "La contraseña de la llave privada no es correcta");
    rechaza(ajeno.llave, propio.certificado, kContrasena, "La llave privada no corresponde al certificado");
    rechaza(Ruta("falta.key"), propio.certificado, kContrasena,
            "No existe el archivo de la llave privada: " + Ruta("falta.key"));
    rechaza(propio.llave, Ruta("falta.cer"), kContrasena, "No existe el archivo del certificado: " + Ruta("falta.cer"));

    // The same key's certificate with a random serial number, as ordinary CAs issue them.
    const std::string pem = qivera::GeneraCredencialesDemo(kNombre, desde, hasta, 1).certificado;
    const qivera::Certificado aleatorio(PEM_read_bio_X509(qivera::BioDeTexto(pem).get(), nullptr, nullptr, nullptr));
    QFile archivo(QString::fromStdString(Ruta("aleatorio.cer")));
    ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
    archivo.write(QByteArray::fromStdString(qivera::CertificadoDer(aleatorio.get())));
    archivo.close();
    rechaza(propio.llave, Ruta("aleatorio.cer"), kContrasena,
            "El número de serie del certificado no es un número de certificado del SAT (20 dígitos)");
}

}  // namespace
