// Mailing signed invoices: the .eml written to the outbox, read back as MIME, and the same
// message sent to a loopback SMTP server when one is configured.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QFileInfo>
#include <QRegularExpression>
#include <map>

#include "apoyo/aplicacion_qt.hpp"
#include "qivera/mail/servidor_smtp.hpp"
#include "qivera/printing/factura_prueba.hpp"

namespace {

using prueba::ConFactura;
using Encabezados = std::map<std::string, std::string>;

struct Parte {
    Encabezados encabezados;
    std::string contenido;  // decoded
};

struct Eml {
    Encabezados encabezados;
    std::vector<Parte> partes;
};

// Header lines, folded ones joined to the line before.
Encabezados LeeEncabezados(const QString& bloque) {
    Encabezados encabezados;
    std::string ultimo;
    for (const QString& linea : bloque.split("\r\n")) {
        if (linea.startsWith(' '))
            encabezados[ultimo] += linea.toStdString();
        else if (const auto dos = linea.indexOf(": "); dos >= 0)
            encabezados[ultimo = linea.left(dos).toStdString()] = linea.mid(dos + 2).toStdString();
    }
    return encabezados;
}

std::string DeBase64(QString texto) {
    const auto resultado = QByteArray::fromBase64Encoding(texto.remove('\r').remove('\n').toLatin1(),
                                                          QByteArray::AbortOnBase64DecodingErrors);
    EXPECT_TRUE(resultado) << "bad base64";
    return resultado.decoded.toStdString();
}

// The MIME multipart/mixed message, each part decoded from base64.
Eml LeeEml(const std::string& texto) {
    const QString todo = QString::fromStdString(texto);
    const auto fin = todo.indexOf("\r\n\r\n");
    Eml eml{LeeEncabezados(todo.left(fin)), {}};
    const QString frontera = QRegularExpression("boundary=\"([^\"]+)\"")
                                 .match(QString::fromStdString(eml.encabezados["Content-Type"]))
                                 .captured(1);
    const QStringList trozos = todo.mid(fin + 2).split("\r\n--" + frontera);
    EXPECT_EQ(trozos.back(), "--\r\n");
    for (qsizetype i = 1; i + 1 < trozos.size(); ++i) {
        const auto cuerpo = trozos[i].indexOf("\r\n\r\n");
        eml.partes.push_back({LeeEncabezados(trozos[i].mid(2, cuerpo - 2)), DeBase64(trozos[i].mid(cuerpo + 4))});
        EXPECT_EQ(eml.partes.back().encabezados["Content-Transfer-Encoding"], "base64");
    }
    return eml;
}

// RFC 2047 encoded words in base64, one after another.
std::string Decodifica(const std::string& encabezado) {
    std::string texto;
    auto palabras = QRegularExpression("=\\?UTF-8\\?B\\?([^?]*)\\?=").globalMatch(QString::fromStdString(encabezado));
    while (palabras.hasNext()) texto += DeBase64(palabras.next().captured(1));
    return texto;
}

class Correo : public ::testing::Test {
protected:
    void SetUp() override { prueba::AplicacionGrafica(); }

    bool Envia(const std::string& folio = ConFactura::kFolio, const std::string& tabla = "Factura") {
        auto correo = entorno.fabrica.CreaCorreo();
        const bool enviado = correo->EnviaDocumento(tabla, folio, 0, 0, 0, "");
        error = correo->MensajeError();
        return enviado;
    }
    void Firma() {
        ASSERT_EQ(
            qivera::PadreQivera(entorno.sesion).FirmaDocumento(entorno.conexion->DefaultDatabase() + "|1|F000001"), "");
    }
    std::string RutaEml() const { return entorno.Carpeta() + "/bandeja/F000001.eml"; }
    std::string RutaPdf() const { return entorno.Carpeta() + "/impresos/F000001.pdf"; }

    ConFactura entorno;
    std::string error;
};

TEST_F(Correo, WritesAMimeMessageWithThePdfAndTheSignedXmlToTheOutbox) {
    Firma();
    ASSERT_TRUE(Envia()) << error;
    const std::string texto = prueba::LeeArchivo(RutaEml());
    EXPECT_EQ(QString::fromStdString(texto).count(QRegularExpression("[^\r]\n")), 0);  // CRLF line ends only
    for (const QString& linea : QString::fromStdString(texto).split("\r\n"))
        EXPECT_LE(linea.size(), 78) << linea.toStdString();
    Eml eml = LeeEml(texto);
    EXPECT_EQ(eml.encabezados["From"], "facturacion@localhost");
    EXPECT_EQ(eml.encabezados["To"], "compras.c1@example.com");
    EXPECT_EQ(Decodifica(eml.encabezados["Subject"]), "Factura electrónica AE000001");
    EXPECT_EQ(eml.encabezados["MIME-Version"], "1.0");
    EXPECT_FALSE(eml.encabezados["Date"].empty());
    EXPECT_TRUE(
        QRegularExpression("^<[^@>]+@[^>]+>$").match(QString::fromStdString(eml.encabezados["Message-ID"])).hasMatch());
    ASSERT_EQ(eml.partes.size(), 3u);
    EXPECT_EQ(eml.partes[0].encabezados["Content-Type"], "text/plain; charset=UTF-8");
    EXPECT_NE(eml.partes[0].contenido.find("factura AE000001 (folio F000001)"), std::string::npos);
    EXPECT_NE(eml.partes[0].contenido.find("$1,234.5678 MXN"), std::string::npos);
    // Named by the invoice's series and number.
    EXPECT_EQ(eml.partes[1].encabezados["Content-Type"], "application/pdf; name=\"AE000001.pdf\"");
    EXPECT_EQ(eml.partes[1].encabezados["Content-Disposition"], "attachment; filename=\"AE000001.pdf\"");
    EXPECT_EQ(eml.partes[1].contenido, prueba::LeeArchivo(RutaPdf()));
    EXPECT_EQ(eml.partes[2].encabezados["Content-Type"], "application/xml; name=\"AE000001.xml\"");
    EXPECT_EQ(eml.partes[2].contenido,
              entorno.Valor("SELECT Cd_Xml FROM Comprobante_Digital WHERE Cd_Documento = 'F000001'"));
}

TEST_F(Correo, SendsTheSameMessageByLoopbackSmtpToEveryAddressOfTheClient) {
    Firma();
    entorno.Sql("UPDATE Cliente SET Cl_Email = 'a@example.com; b@example.com' WHERE Cl_Cve_Cliente = 'C1'");
    prueba::ServidorSmtp servidor;
    entorno.Variable("CORREO_SMTP_URL", servidor.Url());
    entorno.Variable("CORREO_REMITENTE", "ventas@example.com");
    ASSERT_TRUE(Envia()) << error;
    servidor.Espera();
    EXPECT_EQ(servidor.remitente, "<ventas@example.com>");
    EXPECT_EQ(servidor.destinatarios, (std::vector<std::string>{"<a@example.com>", "<b@example.com>"}));
    const std::string eml = prueba::LeeArchivo(RutaEml());
    EXPECT_EQ(servidor.datos, eml);
    EXPECT_EQ(LeeEml(eml).encabezados["To"], "a@example.com, b@example.com");
}

TEST_F(Correo, AFailedSendingIsReportedAndTheMessageStaysInTheOutbox) {
    Firma();
    entorno.Variable("CORREO_SMTP_URL", "smtp://127.0.0.1:" + std::to_string(prueba::PuertoCerrado()));
    EXPECT_FALSE(Envia());
    EXPECT_EQ(error.rfind("No se pudo enviar el correo de la factura F000001: ", 0), 0u) << error;
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(RutaEml())));
    EXPECT_EQ(entorno.registros.back().evento, "print");  // no "mail"
    entorno.Variable("CORREO_SMTP_URL", "file:///etc/passwd");
    EXPECT_FALSE(Envia());
}

TEST_F(Correo, RefusalsSayWhyAndWriteNoMessage) {
    const auto rechaza = [this](const std::string& motivo, const std::string& folio = ConFactura::kFolio,
                                const std::string& tabla = "Factura") {
        EXPECT_FALSE(Envia(folio, tabla));
        EXPECT_EQ(error, motivo);
        EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(RutaEml()))) << motivo;
    };
    rechaza("La factura F000001 no está firmada");
    Firma();
    rechaza("No existe la factura F999999", "F999999");
    rechaza("No se envían por correo documentos de Venta", ConFactura::kFolio, "Venta");
    entorno.Sql("UPDATE Cliente SET Cl_Email = ' ; ' WHERE Cl_Cve_Cliente = 'C1'");
    rechaza("El cliente C1 no tiene correo electrónico");
    entorno.Sql(
        "UPDATE Cliente SET Cl_Email = 'x@example.com\r\nBcc: otro@example.com' "
        "WHERE Cl_Cve_Cliente = 'C1'");
    rechaza("El correo del cliente C1 no es válido: x@example.com\r\nBcc: otro@example.com");
    entorno.Sql("UPDATE Cliente SET Cl_Email = 'compras.c1@example.com' WHERE Cl_Cve_Cliente = 'C1'");
    entorno.Variable("CORREO_REMITENTE", "ventas");
    rechaza("El remitente configurado no es válido: ventas");
    EXPECT_EQ(entorno.registros.size(), 1u);  // the signature only
}

}  // namespace
