// Issuing stored invoices as CFDI 4.0 through the host window: sealed with the issuer's CSD over the
// original string, stamped through the provider seam, checked against our schema and the amount rules,
// and every refusal leaves neither a row nor a file behind.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <fstream>

#include "apoyo/base_prueba.hpp"
#include "apoyo/cfdi_prueba.hpp"
#include "apoyo/configuracion_equipo.hpp"
#include "apoyo/valida_cfdi.hpp"
#include "qivera/cfdi/cadena_original.hpp"
#include "qivera/cfdi/nodo_xml.hpp"
#include "qivera/db/base_datos.hpp"
#include "qivera/db/reloj_servidor.hpp"
#include "qivera/demo/inicializa.hpp"
#include "qivera/printing/factura_prueba.hpp"
#include "qivera/printing/legible.hpp"
#include "qivera/signing/credenciales.hpp"
#include "qivera/signing/firma_documentos.hpp"
#include "qivera/signing/timbrador_prueba.hpp"

namespace {

using prueba::ConFactura;

// Whether the CFDI's seal is its certificate's signature over the original string of the XML as it stands.
bool SelloValido(const std::string& xml) {
    const qivera::NodoXml cfdi = qivera::LeeXml(xml);
    const qivera::Certificado certificado = qivera::CertificadoDeDer(qivera::DeBase64(cfdi.Atributo("Certificado")));
    return certificado && qivera::VerificaRsaSha256(certificado.get(), qivera::CadenaOriginal(cfdi),
                                                    qivera::DeBase64(cfdi.Atributo("Sello")));
}

// Whether the stamp is the test provider's signature over the stamp's original string.
bool TimbreValido(const qivera::NodoXml& timbre) {
    return qivera::VerificaRsaSha256(qivera::CredencialesPacPrueba().certificado.get(),
                                     qivera::CadenaOriginalTimbre(timbre),
                                     qivera::DeBase64(timbre.Atributo("SelloSAT")));
}

const qivera::NodoXml& Hijo(const qivera::NodoXml& nodo, const std::string& local) {
    const qivera::NodoXml* hijo = nodo.Hijo(local);
    if (hijo == nullptr) throw std::runtime_error("no " + local + " in " + nodo.nombre);
    return *hijo;
}

class Firma : public ::testing::Test {
protected:
    std::string Firmar() { return Firmar(Documento("1|F000001")); }
    std::string Firmar(const std::string& documento) { return ventana.FirmaDocumento(documento); }
    std::string Documento(const std::string& tipoYFolio) const { return base + "|" + tipoYFolio; }
    std::string Comprobante(const std::string& columna) {
        return entorno.Valor("SELECT " + columna +
                             " FROM Comprobante_Digital WHERE Cd_Tabla = 'Factura' AND Cd_Documento = 'F000001'");
    }
    // Named by the invoice's series and number.
    std::string RutaXml() const { return entorno.Carpeta() + "/comprobantes/AE000001.xml"; }

    ConFactura entorno;
    const std::string base = entorno.conexion->DefaultDatabase();
    qivera::PadreQivera ventana{entorno.sesion};
};

TEST_F(Firma, TheStampedCfdiPassesTheChecksItsSealsVerifyAndATamperedOneFails) {
    ASSERT_EQ(Firmar(), "");
    const std::string xml = Comprobante("Cd_Xml");
    EXPECT_EQ(prueba::ErroresCfdi(xml), std::vector<std::string>{});
    EXPECT_TRUE(SelloValido(xml));
    const qivera::NodoXml cfdi = qivera::LeeXml(xml);
    EXPECT_EQ(Comprobante("Cd_Cadena_Original"), qivera::CadenaOriginal(cfdi));
    EXPECT_EQ(cfdi.Atributo("NoCertificado"), prueba::kNoCertificadoPrueba);
    const qivera::NodoXml& timbre = Hijo(Hijo(cfdi, "Complemento"), "TimbreFiscalDigital");
    EXPECT_TRUE(TimbreValido(timbre));
    EXPECT_EQ(timbre.Atributo("SelloCFD"), cfdi.Atributo("Sello"));
    EXPECT_EQ(Comprobante("Cd_Uuid"), timbre.Atributo("UUID"));
    EXPECT_EQ(Comprobante("Cd_Timbrado"), "1");

    std::string alterado = xml;
    alterado.replace(alterado.find("Total=\""), 7, "Total=\"1");
    EXPECT_FALSE(SelloValido(alterado));
    EXPECT_THROW(qivera::TimbraPrueba(alterado, kx204::host::Date::FromYmd(2026, 3, 15)), kx204::host::RuntimeError);

    EXPECT_EQ(Comprobante("Cd_Archivo"), RutaXml());
    EXPECT_EQ(prueba::LeeArchivo(RutaXml()), xml);
    EXPECT_EQ(Firmar(), "La factura F000001 ya está firmada");
    EXPECT_EQ(entorno.registros, (std::vector<prueba::Registro>{{"sign", "F000001", RutaXml()}}));
}

// The invoice to the cent: the global discount shared by the lines' amounts, each line's tax over its
// amount after discount, imported goods with their customs declaration, the receiver's fiscal data.
TEST_F(Firma, TheCfdiCarriesTheInvoiceToTheCent) {
    ASSERT_EQ(Firmar(), "");
    const qivera::NodoXml cfdi = qivera::LeeXml(Comprobante("Cd_Xml"));
    EXPECT_EQ(cfdi.Atributo("SubTotal"), "1114.12");
    EXPECT_EQ(cfdi.Atributo("Descuento"), "25.00");
    EXPECT_EQ(cfdi.Atributo("Total"), "1263.38");
    EXPECT_EQ(cfdi.Atributo("Serie") + cfdi.Atributo("Folio"), "AE1");
    // Issued now by the server's clock, never on the session's fixed day (2026-03-15).
    EXPECT_EQ(cfdi.Atributo("Fecha").substr(0, 10), qivera::db::RelojServidor{}.Ahora(*entorno.conexion).ToIso());
    EXPECT_EQ(cfdi.Atributo("LugarExpedicion"), "06000");
    const qivera::NodoXml& receptor = Hijo(cfdi, "Receptor");
    EXPECT_EQ(receptor.Atributo("Nombre"), ConFactura::kCliente);
    EXPECT_EQ(receptor.Atributo("Rfc"), "AOB010203XY1");
    const qivera::NodoXml& conceptos = Hijo(cfdi, "Conceptos");
    ASSERT_EQ(conceptos.hijos.size(), 2u);
    const qivera::NodoXml& aceite = conceptos.hijos[0];
    EXPECT_EQ(aceite.Atributo("Descripcion"), "Aceite comestible 1 L Talla M Color ROJO");
    EXPECT_EQ(aceite.Atributo("Importe"), "56.39");
    EXPECT_EQ(aceite.Atributo("Descuento"), "1.27");
    // A concept's tax is exact, in millionths (55.12 × 16%); the document rounds the group's sum once.
    EXPECT_EQ(Hijo(Hijo(Hijo(aceite, "Impuestos"), "Traslados"), "Traslado").Atributo("Importe"), "8.8192");
    EXPECT_EQ(Hijo(aceite, "InformacionAduanera").Atributo("NumeroPedimento"), "26  47  3807  6000031");
    EXPECT_EQ(Hijo(Hijo(cfdi, "Impuestos"), "Traslados").hijos.size(), 1u);
    EXPECT_EQ(cfdi.Hijo("InformacionGlobal"), nullptr);
}

// Books a few cents from what the SAT's rounding lets the CFDI say: the invoice and its receivable take
// the CFDI's total, the tax bearing the difference, and the clerk is told by how much.
TEST_F(Firma, BooksTheSatsRoundingCannotReachTakeTheCfdisTotalAndTheClerkIsTold) {
    for (const char* tabla : {"Factura", "Factura_Encabezado"})
        entorno.Sql(std::string("UPDATE ") + tabla +
                    " SET Fc_Subtotal = 1114.12, Fc_Descuento_Global_Importe = 25, Fc_Impuesto = 174.23, "
                    "Fc_Total = 1263.35 WHERE Fc_Folio = 'F000001'");
    entorno.Sql(
        "INSERT INTO Cuenta_x_Cobrar (Cxc_Folio, Cxc_Tabla, Cxc_Documento, Cl_Cve_Cliente, "
        "Cxc_Precio_Descontado_Importe, Cxc_Precio_Descontado_Saldo, Cxc_Impuesto_Importe, Cxc_Impuesto_Saldo, "
        "Cxc_Precio_Neto_Importe, Cxc_Precio_Neto_Saldo, Es_Cve_Estado) VALUES ('CX1', 'FACTURA', 'F000001', 'C1', "
        "1089.12, 1089.12, 174.23, 174.23, 1263.35, 1263.35, 'AC')");
    entorno.Sql(
        "INSERT INTO CUENTA_X_COBRAR_IMPUESTO (Cxc_Folio, Im_Cve_Impuesto, Cxci_Importe, Cxci_Saldo) VALUES "
        "('CX1', 'IVA', 170.23, 170.23), ('CX1', 'IEPS', 4, 4)");
    ASSERT_EQ(Firmar(), "");
    const std::string total = qivera::LeeXml(Comprobante("Cd_Xml")).Atributo("Total");
    const auto centavos = [&](const std::string& sentencia) {
        return qivera::AlCentavo(qivera::PrimerValor(*entorno.conexion, sentencia)->ToCurrency()).ToString();
    };
    const std::string ajustado = kx204::host::Currency::Parse(total).ToString();
    EXPECT_NE(ajustado, "1263.35");
    EXPECT_EQ(centavos("SELECT Fc_Total FROM Factura"), ajustado);
    EXPECT_EQ(centavos("SELECT Fc_Total - Fc_Impuesto FROM Factura"), "1089.12");
    EXPECT_EQ(centavos("SELECT Cxc_Precio_Neto_Saldo FROM Cuenta_x_Cobrar"), ajustado);
    EXPECT_EQ(centavos("SELECT Cxc_Precio_Neto_Importe - Cxc_Impuesto_Importe FROM Cuenta_x_Cobrar"), "1089.12");
    EXPECT_EQ(centavos("SELECT sum(Cxci_Saldo) FROM CUENTA_X_COBRAR_IMPUESTO"),
              centavos("SELECT Cxc_Impuesto_Saldo FROM Cuenta_x_Cobrar"));
    EXPECT_EQ(centavos("SELECT Cxci_Saldo FROM CUENTA_X_COBRAR_IMPUESTO WHERE Im_Cve_Impuesto = 'IEPS'"), "4");
    const std::string diferencia =
        (kx204::host::Currency::Parse(total) - kx204::host::Currency::Parse("1263.35")).ToString();
    EXPECT_EQ(entorno.registros.front(), (prueba::Registro{"ajuste", "F000001", diferencia}));
}

// A line whose product is an object of tax but that carries none declares none.
TEST_F(Firma, ALineWithoutTaxIsNoObjectOfTax) {
    entorno.Sql("INSERT INTO Producto (Pr_Cve_Producto, Pr_Objeto_Impuesto) VALUES ('P0015', '02')");
    entorno.Sql("UPDATE Factura_Detalle SET Im_Cve_Impuesto = '' WHERE Pr_Cve_Producto = 'P0015'");
    ASSERT_EQ(Firmar(), "");
    const std::string xml = Comprobante("Cd_Xml");
    EXPECT_EQ(prueba::ErroresCfdi(xml), std::vector<std::string>{});
    EXPECT_EQ(Hijo(qivera::LeeXml(xml), "Conceptos").hijos.back().Atributo("ObjetoImp"), "01");
}

// 1.83 at 26.5% is 0.48495: the concept carries it exactly and the document rounds it once, to 0.48;
// rounded to four places first it would be 0.49.
TEST_F(Firma, TaxIsRoundedOnceToTheCent) {
    entorno.Sql(
        "INSERT INTO Impuesto (Im_Cve_Impuesto, Im_Descripcion, Im_Tasa, Im_Impuesto_SAT) VALUES ('IEPS', "
        "'IEPS', 0.265, '003')");
    entorno.Sql("UPDATE Factura SET Fc_Descuento_Global_Importe = 0");
    entorno.Sql(
        "UPDATE Factura_Detalle SET Fd_Importe = 1.83, Im_Cve_Impuesto = 'IEPS' WHERE Pr_Cve_Producto = 'P0015'");
    ASSERT_EQ(Firmar(), "");
    const qivera::NodoXml cfdi = qivera::LeeXml(Comprobante("Cd_Xml"));
    const qivera::NodoXml& concepto = Hijo(cfdi, "Conceptos").hijos.back();
    EXPECT_EQ(Hijo(Hijo(Hijo(concepto, "Impuestos"), "Traslados"), "Traslado").Atributo("Importe"), "0.48495");
    for (const qivera::NodoXml& traslado : Hijo(Hijo(cfdi, "Impuestos"), "Traslados").hijos) {
        if (traslado.Atributo("Impuesto") == "003") EXPECT_EQ(traslado.Atributo("Importe"), "0.48");
    }
}

TEST_F(Firma, WithoutAProviderTheCfdiIsSealedAndLeftUnstamped) {
    prueba::ConfiguraCfdi(entorno, false);
    ASSERT_EQ(Firmar(), "");
    const std::string xml = Comprobante("Cd_Xml");
    EXPECT_EQ(prueba::ErroresCfdi(xml), std::vector<std::string>{});
    EXPECT_TRUE(SelloValido(xml));
    EXPECT_EQ(qivera::LeeXml(xml).Hijo("Complemento"), nullptr);
    EXPECT_EQ(Comprobante("Cd_Timbrado") + "|" + Comprobante("Cd_Uuid"), "0|");
}

TEST_F(Firma, RefusalsSayWhyAndLeaveNothingBehind) {
    const auto rechaza = [this](const std::string& documento, const std::string& motivo) {
        const std::string respuesta = Firmar(documento);
        EXPECT_NE(respuesta.find(motivo), std::string::npos) << documento << ": " << respuesta;
        EXPECT_EQ(entorno.Valor("SELECT count(*) FROM Comprobante_Digital"), "0") << motivo;
        EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(RutaXml()))) << motivo;
    };
    const std::string factura = Documento("1|F000001");
    rechaza("otra|1|F000001", "El documento es de la base de datos otra, no de " + base);
    rechaza(Documento("2|F000001"), "Tipo de documento no admitido");
    rechaza(Documento("1|F999999"), "No existe la factura F999999");

    entorno.Variable("CFDI_CSD_LLAVE", "");
    rechaza(factura, "variable CFDI_CSD_LLAVE");
    entorno.Variable("CFDI_CSD_LLAVE", prueba::CsdPrueba().rutas.llave);
    const std::string otraClave = entorno.Carpeta() + "/otra";
    std::ofstream(otraClave) << "no es la clave\n";
    entorno.Variable("CFDI_CSD_CONTRASENA", otraClave);
    rechaza(factura, "contraseña");
    entorno.Variable("CFDI_CSD_CONTRASENA", prueba::CsdPrueba().contrasena);

    entorno.Variable("CFDI_EMISOR_REGIMEN", "");
    rechaza(factura, "No se puede emitir el CFDI: falta el régimen fiscal del emisor (variable CFDI_EMISOR_REGIMEN)");
    entorno.Variable("CFDI_EMISOR_REGIMEN", "601");
    entorno.Sql("UPDATE Cliente SET Cl_Uso_CFDI = '' WHERE Cl_Cve_Cliente = 'C1'");
    rechaza(factura, "falta el uso del CFDI del cliente C1");
    entorno.Sql("UPDATE Cliente SET Cl_Uso_CFDI = 'G03' WHERE Cl_Cve_Cliente = 'C1'");

    // The provider's command belongs to the machine: one in the shared database is never run.
    const std::string intruso = entorno.Carpeta() + "/intruso";
    entorno.Variable("CFDI_TIMBRADO_COMANDO", "sh -c 'touch \"" + intruso + "\"; cat'");
    rechaza(factura, "[timbrado]");
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(intruso)));
    entorno.Variable("CFDI_TIMBRADO_COMANDO", "");
    prueba::TimbraCon("sh -c cat");  // answers the sealed XML as it came
    rechaza(factura, "El proveedor de timbrado no timbró: la respuesta no trae el timbre");
    EXPECT_TRUE(entorno.registros.empty());

    prueba::ConfiguraCfdi(entorno);
    EXPECT_EQ(Firmar(), "");
}

// Every invoice of the demo is a CFDI that passes the checks, sealed by the demo's own CSD and stamped
// by the test provider; one to the general public is a global invoice.
TEST(FirmaDemo, EveryDemoInvoiceIsAValidStampedCfdi) {
    prueba::BaseDePrueba base(prueba::BaseDePrueba::Alcance::Compartida);
    qivera::db::InicializaBaseDatos(base.Url(), true, 60, std::string("\"") + KX204_QIVERA + "\" pac-prueba");
    auto conexion = prueba::Conecta(base.Url());
    qivera::PersonaGuionada persona([](const nlohmann::ordered_json&) {});
    qivera::Sesion sesion{*conexion, persona, "ADMIN", kx204::host::Date::FromYmd(2026, 6, 1), nullptr, {}};
    const std::vector<std::string> folios =
        qivera::PrimeraColumna(*conexion, "SELECT Fc_Folio FROM Factura ORDER BY Fc_Folio");
    ASSERT_GT(folios.size(), 1u);
    conexion->Execute("UPDATE Factura SET Cl_Cve_Cliente = 'C0000' WHERE Fc_Folio = '" + folios[0] + "'");
    for (const std::string& folio : folios)
        ASSERT_EQ(qivera::FirmaDocumentos(sesion).Firma(conexion->DefaultDatabase() + "|1|" + folio), "");
    bool global = false;
    const auto rs = conexion->Execute(
        "SELECT c.Cd_Xml, f.Fc_Total FROM Comprobante_Digital c JOIN Factura f ON f.Fc_Folio = c.Cd_Documento");
    for (; !rs->Eof(); rs->MoveNext()) {
        const std::string xml = rs->Field(0).ToText();
        EXPECT_EQ(prueba::ErroresCfdi(xml), std::vector<std::string>{});
        EXPECT_TRUE(SelloValido(xml));
        const qivera::NodoXml cfdi = qivera::LeeXml(xml);
        // The legal document says what the books say.
        EXPECT_EQ(kx204::host::Currency::Parse(cfdi.Atributo("Total")), qivera::AlCentavo(rs->Field(1).ToCurrency()))
            << cfdi.Atributo("Serie") << cfdi.Atributo("Folio");
        EXPECT_TRUE(TimbreValido(Hijo(Hijo(cfdi, "Complemento"), "TimbreFiscalDigital")));
        global |= cfdi.Hijo("InformacionGlobal") != nullptr;
    }
    EXPECT_TRUE(global);
}

}  // namespace
