// Printing invoices through the host's printer: a real PDF file, whose text pdftotext reads
// back when poppler-utils is installed.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <regex>

#include "apoyo/aplicacion_qt.hpp"
#include "apoyo/cfdi_prueba.hpp"
#include "apoyo/error_de.hpp"
#include "kx204/host/runtime_error.hpp"
#include "qivera/cfdi/nodo_xml.hpp"
#include "qivera/printing/factura_prueba.hpp"

namespace {

using prueba::ConFactura;

bool HayPdftotext() { return !QStandardPaths::findExecutable("pdftotext").isEmpty(); }

// What pdftotext writes of a PDF with `opcion`.
QString Pdftotext(const char* opcion, const std::string& ruta) {
    QProcess proceso;
    proceso.start("pdftotext", {opcion, QString::fromStdString(ruta), "-"});
    proceso.waitForFinished(-1);
    EXPECT_EQ(proceso.exitCode(), 0) << proceso.readAllStandardError().toStdString();
    return QString::fromUtf8(proceso.readAllStandardOutput());
}

// The text of a PDF, pages separated by form feeds, the font's ligatures as the letters they join.
std::string TextoPdf(const std::string& ruta) {
    return Pdftotext("-layout", ruta)
        .replace(QChar(0xFB01), QStringLiteral("fi"))
        .replace(QChar(0xFB02), QStringLiteral("fl"))
        .toStdString();
}

std::size_t Cuenta(const std::string& texto, const std::string& buscado) {
    std::size_t veces = 0;
    for (std::size_t i = texto.find(buscado); i != std::string::npos; i = texto.find(buscado, i + 1)) ++veces;
    return veces;
}

class Impresion : public ::testing::Test {
protected:
    void SetUp() override { prueba::AplicacionGrafica(); }

    void Imprime(const std::string& formato, const std::string& folio) {
        entorno.fabrica.CreaImpresor()->ImprimeDocumento(formato, folio, "", 0, 0, "");
    }
    std::string RutaPdf(const std::string& folio = ConFactura::kFolio) const {
        return entorno.Carpeta() + "/impresos/" + folio + ".pdf";
    }

    ConFactura entorno;
};

TEST_F(Impresion, ShowsFormatHeaderClientLinesWithLotsSerialsTotalsAndNotesAsACustomerReadsThem) {
    if (!HayPdftotext()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    Imprime("FACTURA_AE", ConFactura::kFolio);
    const std::string texto = TextoPdf(RutaPdf());
    for (const char* esperado : {"FACTURA_AE",
                                 "Factura AE000001",
                                 "Folio F000001",
                                 "Fecha 15/03/2026",
                                 "Av. Juárez 100",
                                 "Cliente C1",
                                 ConFactura::kCliente,
                                 "RFC: AOB010203XY1",
                                 "Calle Peñuelas 12, Col. Centro",
                                 "3 PZA",
                                 "$18.37",
                                 "Talla M · Color ROJO",
                                 "Lote L0001-1 · 2 PZA · cad. 06/04/2027 · pedimento 26 47 3807 6000031 (Veracruz)",
                                 "Lote L0001-2 · 1 PZA · cad. 01/05/2027",
                                 "Taladro percutor 1/2\"",
                                 "$1,034.00",
                                 "Series: SN-7781, SN-7782",
                                 "$1,089.12",
                                 "$25.00",
                                 "$170.44",
                                 "$1,234.57",
                                 "Notas de venta: NV000001, NV000002",
                                 "Página 1 de 1"})
        EXPECT_NE(texto.find(esperado), std::string::npos) << esperado << " not in:\n" << texto;
    EXPECT_EQ(Cuenta(texto, "\f"), 1u);  // one page
}

// Once issued as CFDI the printout is its printed representation: the fiscal data of both parties, each
// line's keys and amount before discount, the taxes by rate, the total in words and the stamp.
TEST_F(Impresion, ASignedInvoicePrintsItsCfdiWithTheStamp) {
    if (!HayPdftotext()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    ASSERT_EQ(qivera::PadreQivera(entorno.sesion).FirmaDocumento(entorno.conexion->DefaultDatabase() + "|1|F000001"),
              "");
    Imprime("FACTURA_AE", ConFactura::kFolio);
    const std::string texto = TextoPdf(RutaPdf());
    const std::string uuid = entorno.Valor("SELECT Cd_Uuid FROM Comprobante_Digital");
    for (const std::string& esperado :
         {std::string("ESCUELA KEMPER URGATE"), std::string("RFC EKU9003173C9"),
          std::string("Régimen fiscal 601 General de Ley Personas Morales"), std::string("Lugar de expedición 06000"),
          std::string("Uso del CFDI: G03 Gastos en general"), std::string("Forma de pago: 99 Por definir"),
          std::string("Método de pago: PPD Pago en parcialidades o diferido"),
          std::string("Clave SAT 01010101 · Unidad H87"), std::string("$56.39"), std::string("$1,057.73"),
          std::string("IVA 16%"), std::string("$174.26"), std::string("$1,263.38"),
          std::string("(MIL DOSCIENTOS SESENTA Y TRES PESOS 38/100 M.N.)"), "Folio fiscal (UUID): " + uuid,
          std::string("No. de serie del certificado del SAT: 30001000000500003456"), "||1.1|" + uuid + "|",
          std::string("Este documento es una representación impresa de un CFDI.")})
        EXPECT_NE(texto.find(esperado), std::string::npos) << esperado << " not in:\n" << texto;

    prueba::ConfiguraCfdi(entorno, false);
    entorno.Sql("DELETE FROM Comprobante_Digital");
    ASSERT_EQ(qivera::PadreQivera(entorno.sesion).FirmaDocumento(entorno.conexion->DefaultDatabase() + "|1|F000001"),
              "");
    Imprime("FACTURA_AE", ConFactura::kFolio);
    EXPECT_NE(TextoPdf(RutaPdf()).find("CFDI SIN TIMBRAR"), std::string::npos);
}

// Every word of the PDF that runs past its page's right edge.
std::vector<std::string> FueraDeLaPagina(const std::string& ruta) {
    const std::string html = Pdftotext("-bbox", ruta).toStdString();
    std::vector<std::string> fuera;
    double ancho = 0;
    const std::regex pagina(R"re(<page width="([0-9.]+)")re"),
        palabra(R"re(<word [^>]*xMax="([0-9.]+)"[^>]*>([^<]*)</word>)re");
    for (std::sregex_iterator i(html.begin(), html.end(), pagina), fin; i != fin; ++i) ancho = std::stod((*i)[1]);
    for (std::sregex_iterator i(html.begin(), html.end(), palabra), fin; i != fin; ++i)
        if (std::stod((*i)[1]) > ancho) fuera.push_back((*i)[2]);
    return fuera;
}

// A seal is base64: a long run without a place to break is still wrapped, never cut at the page's edge.
TEST_F(Impresion, ALongTokenWrapsAnywhereAndNothingLeavesThePage) {
    if (!HayPdftotext()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    ASSERT_EQ(qivera::PadreQivera(entorno.sesion).FirmaDocumento(entorno.conexion->DefaultDatabase() + "|1|F000001"),
              "");
    std::string xml = entorno.Valor("SELECT Cd_Xml FROM Comprobante_Digital");
    const std::string selloSat =
        qivera::LeeXml(xml).Hijo("Complemento")->Hijo("TimbreFiscalDigital")->Atributo("SelloSAT");
    xml.replace(xml.find(selloSat), selloSat.size(), std::string(selloSat.size(), 'A'));
    entorno.Sql("UPDATE Comprobante_Digital SET Cd_Xml = '" + kx204::host::SqlText(xml) + "'");
    Imprime("FACTURA_AE", ConFactura::kFolio);
    EXPECT_EQ(FueraDeLaPagina(RutaPdf()), std::vector<std::string>{});
}

// Lines go on over pages; so do a line's serial numbers and the invoice's notes, each longer than a page.
TEST_F(Impresion, LongInvoicesGoOnOverPagesRepeatingTheTableTitles) {
    if (!HayPdftotext()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    entorno.OtraFactura("F000002", 90);
    constexpr int kMuchas = 3000;
    std::string series, notas;
    for (int i = 1; i <= kMuchas; ++i) {
        series += "|SN" + std::to_string(100000 + i);
        notas += std::string(i == 1 ? "" : ", ") + "('NV" + std::to_string(100000 + i) + "', 1, 'F000002')";
    }
    entorno.Sql("UPDATE Factura_Detalle SET Fd_Series = '" + series +
                "' WHERE Fc_Folio = 'F000002' AND Fd_Renglon = '0045'");
    entorno.Sql("INSERT INTO Venta (Vn_Folio, Vn_Id, Fc_Folio) VALUES " + notas);
    Imprime("", "F000002");
    const std::string texto = TextoPdf(RutaPdf("F000002"));
    const std::size_t paginas = Cuenta(texto, "\f");
    EXPECT_GE(paginas, 2u);
    EXPECT_EQ(Cuenta(texto, "Precio unitario"), paginas);
    for (int renglon = 1; renglon <= 90; ++renglon)
        EXPECT_NE(texto.find("Producto número " + std::to_string(renglon) + " "), std::string::npos) << renglon;
    EXPECT_NE(texto.find("L-90"), std::string::npos);                     // a lot list of another form, as it is
    EXPECT_GT(texto.rfind("$10.00"), texto.rfind("Producto número 90"));  // the totals come last
    EXPECT_EQ(Cuenta(texto, "SN1"), std::size_t{kMuchas});
    EXPECT_LT(texto.find("SN103000"), texto.find("Producto número 46"));
    EXPECT_EQ(Cuenta(texto, "NV1"), std::size_t{kMuchas});
    EXPECT_GT(texto.find("NV103000"), texto.rfind("$10.00"));
    for (std::size_t pagina = 1; pagina <= paginas; ++pagina)
        EXPECT_EQ(Cuenta(texto, "Página " + std::to_string(pagina) + " de " + std::to_string(paginas)), 1u) << pagina;
}

TEST_F(Impresion, AnUnknownInvoiceOrAnUnwritableFolderIsAClearError) {
    EXPECT_EQ(prueba::TextoDeError([&] { Imprime("", "F999999"); }), "No existe la factura F999999");
    QFile archivo(QString::fromStdString(entorno.Carpeta() + "/ocupado"));
    ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
    entorno.Sql("UPDATE Variable SET Vr_Valor = '" + entorno.Carpeta() +
                "/ocupado/impresos' WHERE Vr_Nombre = 'IMPRESION_DIRECTORIO'");
    EXPECT_EQ(prueba::TextoDeError([&] { Imprime("", ConFactura::kFolio); }),
              "No se pudo crear la carpeta " + entorno.Carpeta() + "/ocupado/impresos");
    EXPECT_TRUE(entorno.registros.empty());
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(RutaPdf("F999999"))));
}

// In memory, a temporary folder of the process; on a server, one of the database in the user's data folder.
TEST_F(Impresion, WithoutAFolderDocumentsGoWhereTheirDatabaseLives) {
    entorno.Sql("DELETE FROM Variable WHERE Vr_Nombre = 'IMPRESION_DIRECTORIO'");
    Imprime("", ConFactura::kFolio);
    const QString base = QString::fromStdString(entorno.conexion->DefaultDatabase());
    const QString carpeta =
        prueba::MotorDePrueba() == prueba::Motor::SQLite
            ? QDir::temp().filePath(QString("qivera-%1-%2").arg(base).arg(QCoreApplication::applicationPid()))
            : QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/qivera/" + base;
    const QString ruta = carpeta + "/impresos/F000001.pdf";
    EXPECT_TRUE(QFileInfo::exists(ruta));
    EXPECT_EQ(entorno.registros.at(0).archivo, ruta.toStdString());
    QDir(carpeta).removeRecursively();
}

}  // namespace
