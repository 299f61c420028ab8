#include "qivera/db/esquema.hpp"

#include <cstdlib>

#include <gtest/gtest.h>
#include <unistd.h>

#include "archivo_temporal.hpp"
#include "kx204/host/runtime_error.hpp"
#include "qivera/db/base_datos.hpp"
#include "qivera/db/plantillas.hpp"

namespace qivera::db {
namespace {

using kx204::host::Variant;

class EsquemaTest : public ::testing::Test {
protected:
    void SetUp() override {
        CreaEsquema(conexion_);
        GuardaPlantillas(conexion_);
    }
    std::vector<std::vector<std::string>> Renglones(const std::string& sql) {
        std::vector<std::vector<std::string>> renglones;
        for (auto rs = conexion_.Execute(sql); !rs->Eof(); rs->MoveNext()) {
            renglones.emplace_back();
            for (int i = 0; i < rs->FieldCount(); ++i) renglones.back().push_back(rs->Field(i).ToTextOrEmpty());
        }
        return renglones;
    }
    std::vector<std::string> Columnas(const std::string& sql) {
        auto rs = conexion_.Execute(sql);
        std::vector<std::string> columnas;
        for (int i = 0; i < rs->FieldCount(); ++i) columnas.push_back(rs->FieldName(i));
        return columnas;
    }
    std::string Plantilla(const std::string& nombre) {
        return conexion_
            .Execute("SELECT Cs_Texto FROM Consulta WHERE Cs_Nombre = '" + kx204::host::SqlText(nombre) + "'")
            ->Field(0)
            .ToText();
    }
    // One line of a sale note; amounts as text so that the fixture stays readable.
    void Linea(const std::string& folio, int id, const std::string& estado, const std::string& moneda,
               const std::string& sucursal, const std::string& descontado, const std::string& global,
               const std::string& impuesto, const std::string& facturaFolio = "", const std::string& baja = "") {
        const auto texto = [](const std::string& valor) { return "'" + kx204::host::SqlText(valor) + "'"; };
        conexion_.Execute(
            "INSERT INTO Venta (Vn_Folio, Vn_Id, Es_Cve_Estado, Mn_Cve_Moneda, Sc_Cve_Sucursal, Cl_Cve_Cliente, "
            "Vn_Precio_Descontado_Importe, Vn_Descuento_Global_Importe, Vn_Impuesto_Importe, "
            "Vn_Precio_Neto_Importe, Fc_Folio, Oper_Baja, Vn_Fecha, Vn_Condicion_Venta) VALUES (" +
            texto(folio) + ", " + std::to_string(id) + ", " + texto(estado) + ", " + texto(moneda) + ", " +
            texto(sucursal) + ", 'C1', " + descontado + ", " + global + ", " + impuesto + ", " + descontado + " - " +
            global + " + " + impuesto + ", " + texto(facturaFolio) + ", " + texto(baja) + ", '2026-03-0" +
            std::to_string(id) + "', 'CR30')");
    }

    ConexionQt conexion_{"sqlite::memory:"};
};

TEST_F(EsquemaTest, UnnamedColumnsDefaultAndTextIgnoresCase) {
    conexion_.Execute("INSERT INTO Venta (Vn_Folio, Vn_Id) VALUES ('nv1', 1)");
    auto venta = conexion_.Execute("SELECT * FROM Venta WHERE Vn_Folio = 'NV1'");
    ASSERT_FALSE(venta->Eof());
    EXPECT_EQ(venta->Field("Es_Cve_Estado"), Variant("AC"));
    EXPECT_EQ(venta->Field("Fc_Folio"), Variant(""));
    EXPECT_EQ(venta->Field("Oper_Baja"), Variant(""));
    EXPECT_EQ(venta->Field("Vn_Tipo_Cambio"), Variant(1));
    EXPECT_EQ(venta->Field("Vn_Precio_Neto_Importe").ToCurrency(), kx204::host::Currency());
    EXPECT_EQ(venta->Field("Vn_Fecha").ToDate(), kx204::host::Date::Today());
    EXPECT_THROW(conexion_.Execute("INSERT INTO Venta (Vn_Folio, Vn_Id) VALUES ('NV1', 1)"), kx204::host::RuntimeError);

    // The equivalent product tells null from empty: only the empty one means "itself".
    conexion_.Execute("INSERT INTO Producto (Pr_Cve_Producto) VALUES ('P1')");
    conexion_.Execute(
        "INSERT INTO Producto (Pr_Cve_Producto, Pr_Equivalencia_Producto) VALUES ('P2', 'P1'), ('P3', NULL)");
    conexion_.Execute(
        "INSERT INTO Lote (Pr_Cve_Producto, Lt_Cve_Lote, Lt_Fecha_Caducidad) VALUES ('P1', 'L1', '2027-01-31')");
    for (const std::string producto : {"P1", "P2", "P3"})
        conexion_.Execute(
            "INSERT INTO Lote_Documento (Ld_Tabla, Ld_Documento, Pr_Cve_Producto, Lt_Cve_Lote, "
            "Lt_Cantidad_Control_1) VALUES ('Venta', 'NV1', '" +
            kx204::host::SqlText(producto) + "', 'L1', 2)");
    const auto lotes = [&](const std::string& producto) {
        return Renglones(
            "SELECT Lote.Lt_Cve_Lote, Lote.Lt_Pedimento, Lote.Lt_Fecha_Pedimento, "
            "ISNULL(SUM(Lote_Documento.Lt_Cantidad_Control_1),0) FROM Lote_Documento "
            "INNER JOIN PRODUCTO ON PRODUCTO.PR_CVE_PRODUCTO = LOTE_DOCUMENTO.PR_CVE_PRODUCTO "
            "INNER JOIN Lote ON Lote_Documento.Lt_Cve_Lote = Lote.Lt_Cve_Lote AND Lote.Pr_Cve_Producto = "
            "(CASE Producto.Pr_Equivalencia_Producto WHEN '' THEN Producto.Pr_Cve_Producto ELSE "
            "Producto.Pr_Equivalencia_Producto END) WHERE Lote_Documento.Pr_Cve_Producto = '" +
            kx204::host::SqlText(producto) +
            "' AND Lote_Documento.Ld_Tabla = 'VENTA' AND Lote_Documento.Ld_Documento IN ('nv1') "
            "GROUP BY Lote.Lt_Cve_Lote, Lote.Lt_Pedimento, Lote.Lt_Fecha_Pedimento");
    };
    EXPECT_EQ(lotes("P1"), (std::vector<std::vector<std::string>>{{"L1", "", "", "2"}}));
    EXPECT_EQ(lotes("p2"), (std::vector<std::vector<std::string>>{{"L1", "", "", "2"}}));
    EXPECT_TRUE(lotes("P3").empty());
    EXPECT_TRUE(conexion_.Execute("SELECT Lt_Fecha_Pedimento FROM Lote")->Field(0).IsNull());
}

TEST_F(EsquemaTest, ConsolidatedInvoicingTemplateAnswersOneRowPerPendingNote) {
    Linea("NV1", 1, "AC", "MXN", "01", "100", "2", "15.68");
    Linea("NV1", 2, "AC", "MXN", "01", "50.5", "0", "0");
    Linea("NV2", 1, "AC", "USD", "01", "10", "0", "1.6");
    Linea("NV3", 1, "CA", "MXN", "01", "10", "0", "1.6");
    Linea("NV4", 1, "FA", "MXN", "01", "10", "0", "1.6", "F1");
    Linea("NV5", 1, "AC", "MXN", "02", "10", "0", "1.6");
    Linea("NV6", 1, "ac", "MXN", "01", "0.1", "0", "0.2");
    Linea("NV6", 2, "AC", "MXN", "01", "0.2", "0", "0.1");
    conexion_.Execute(
        "INSERT INTO Venta_Encabezado (Vn_Folio, Vn_Referencia, Vn_Forma_Pago, Oper_Alta) "
        "VALUES ('NV1', 'REF-1', 'EFE', 'CAJERO')");
    conexion_.Execute("INSERT INTO Cliente (Cl_Cve_Cliente, Cl_Descripcion) VALUES ('C1', 'Tienda D''Lupita')");
    conexion_.Execute("INSERT INTO Condicion_Venta (Cv_Cve_Condicion_Venta, Cv_Tipo_Condicion) VALUES ('CR30', '02')");

    const std::string clausula =
        "WHERE    Venta.Es_Cve_Estado not in ('CA','FA','DE') AND    Venta.Fc_Folio = '' AND "
        "   Venta.Mn_Cve_Moneda = 'MXN' AND    Venta.Sc_Cve_Sucursal = '01' AND 1 = 1";
    const std::string sql = AplicaClausula(Plantilla(kFacturacionVentaConsolidada), clausula);
    EXPECT_EQ(Columnas(sql), (std::vector<std::string>{"Folio", "Cliente", "Fecha", "Tipo", "Referencia", "Impuesto",
                                                       "Importe", "DSCTO GLOBAL", "SUBTOTAL", "Total", "Cond. Venta",
                                                       "Forma pago", "Operador", "Vendedor", "Origen", "Documento"}));
    const auto notas = Renglones(sql);
    ASSERT_EQ(notas.size(), 2u);
    EXPECT_EQ(notas[0],
              (std::vector<std::string>{"NV1", "Tienda D'Lupita", "2026-03-02", "CREDITO", "REF-1", "15.68", "148.5",
                                        "2", "150.5", "164.18", "CR30", "EFE", "CAJERO", "", "", ""}));
    // Sums of fractions come out to the ten-thousandth, not as binary residue.
    EXPECT_EQ(notas[1][0], "NV6");
    EXPECT_EQ(notas[1][8], "0.3");
    EXPECT_EQ(notas[1][9], "0.6");

    // One note by folio, and the notes of a stored invoice, as the screen asks for them.
    EXPECT_EQ(
        Renglones(AplicaClausula(Plantilla(kFacturacionVentaConsolidada), "WHERE Venta.Vn_Folio = 'nv2' ")).size(), 1u);
    EXPECT_EQ(
        Renglones(AplicaClausula(
                      Plantilla(kFacturacionVentaConsolidada),
                      "WHERE Venta.Fc_Folio = 'F1' AND Venta.Fc_Factura = '' and Venta.Es_Cve_Estado <> 'CA'     "))
            .size(),
        1u);
}

TEST_F(EsquemaTest, SearchTemplatesTakeAConditionOrNone) {
    Linea("NV1", 1, "AC", "MXN", "01", "10", "0", "1.6");
    Linea("NV2", 1, "AC", "USD", "01", "10", "0", "1.6");
    Linea("NV2", 2, "CA", "USD", "01", "10", "0", "1.6");
    Linea("NV3", 1, "FA", "MXN", "01", "10", "0", "1.6", "F1");
    Linea("NV4", 1, "AC", "MXN", "01", "10", "0", "1.6", "", "ADMIN");
    Linea("NV5", 1, "AC", "MXN", "02", "10", "0", "1.6");
    const std::string noFacturada = Plantilla(kVentaNoFacturada);
    EXPECT_EQ(Renglones(AplicaCondicion(noFacturada, "Venta.Sc_Cve_Sucursal = '01'")),
              (std::vector<std::vector<std::string>>{{"NV1", "2026-03-01", "C1", "", "MXN", "11.6"}}));
    EXPECT_EQ(Renglones(AplicaCondicion(noFacturada, "")).size(), 2u);

    conexion_.Execute(
        "INSERT INTO Almacen (Al_Cve_Almacen, Al_Descripcion, Sc_Cve_Sucursal) "
        "VALUES ('0101', 'General', '01'), ('0201', 'Norte', '02')");
    EXPECT_EQ(Renglones(AplicaCondicion(Plantilla("ALMACEN"), "Almacen.Sc_Cve_Sucursal='01' ")),
              (std::vector<std::vector<std::string>>{{"0101", "General"}}));
    for (const std::string nombre : {"FACTURA", "SUCURSAL", "CLIENTE", "MONEDA", "VENDEDOR", "CONDICION_VENTA"}) {
        const std::string texto = Plantilla(nombre);
        EXPECT_NO_THROW(conexion_.Execute(AplicaCondicion(texto, ""))) << nombre;
        EXPECT_EQ(Columnas(AplicaCondicion(texto, "1 = 0")).front(), "Clave") << nombre;
    }
    // The placeholder is found whatever its case, every time it appears.
    EXPECT_EQ(AplicaClausula("a {where} b {WHERE}", "WHERE x"), "a WHERE x b WHERE x");
}

TEST(EsquemaBaseDatosTest, InitialisesANewDatabaseOnlyOnce) {
    pruebas::ArchivoTemporal archivo;
    InicializaBaseDatos(archivo.Url(), false, 0);
    auto conexion = AbreBaseDatos(archivo.Url());
    EXPECT_EQ(conexion->Execute("SELECT count(*) FROM Consulta")->Field(0).ToLong(), 9);
    EXPECT_EQ(conexion->Execute("SELECT count(*) FROM Venta")->Field(0).ToLong(), 0);
    conexion->Execute("INSERT INTO Variable (Vr_Nombre, Vr_Valor) VALUES ('X', '1')");
    try {
        InicializaBaseDatos(archivo.Url(), true, 10);
        ADD_FAILURE() << "a second initialisation was accepted";
    } catch (const kx204::host::RuntimeError& error) {
        EXPECT_NE(error.description.find("already has the schema"), std::string::npos);
    }
    EXPECT_EQ(conexion->Execute("SELECT count(*) FROM Variable")->Field(0).ToLong(), 1);
}

// PostgreSQL is exercised when KX204_PG_URL names a server's maintenance database,
// e.g. postgresql://postgres@127.0.0.1:5432/postgres; a database of its own is made and dropped.
TEST(EsquemaPostgresqlTest, SchemaTemplatesAndDemoRunOnAServer) {
    const char* servidorUrl = std::getenv("KX204_PG_URL");
    if (servidorUrl == nullptr) GTEST_SKIP() << "KX204_PG_URL names no PostgreSQL server";
    const std::string nombre = "kx204_prueba_" + std::to_string(::getpid());
    const std::string url = std::string(servidorUrl).substr(0, std::string(servidorUrl).rfind('/') + 1) + nombre;
    ConexionQt servidor(servidorUrl);
    servidor.Execute("DROP DATABASE IF EXISTS " + nombre);
    servidor.Execute("CREATE DATABASE " + nombre);
    {
        InicializaBaseDatos(url, true, 100);
        auto conexion = AbreBaseDatos(url);
        EXPECT_EQ(conexion->DefaultDatabase(), nombre);
        const std::string plantilla =
            conexion->Execute("SELECT Cs_Texto FROM Consulta WHERE Cs_Nombre = 'facturacion_venta_consolidada'")
                ->Field(0)
                .ToText();
        auto notas = conexion->Execute("SELECT count(*), sum(L.\"Total\") FROM (" +
                                       AplicaClausula(plantilla,
                                                      "WHERE Venta.Es_Cve_Estado not in ('ca','fa','de') AND "
                                                      "Venta.Fc_Folio = '' AND 1 = 1") +
                                       ") L");
        EXPECT_EQ(notas->Field(0).ToLong(), 100);
        EXPECT_GT(notas->Field(1).ToDouble(), 0);
        EXPECT_EQ(conexion
                      ->Execute("SELECT top 1 Pr_Cve_Producto FROM Producto WHERE Pr_Equivalencia_Producto = 'p0001' "
                                "ORDER BY Pr_Cve_Producto")
                      ->Field(0),
                  Variant("P0019"));
        conexion->BeginTrans();
        conexion->Execute("UPDATE Variable SET Vr_Valor = 'USD' WHERE Vr_Nombre = 'FIN_MONEDA_LOCAL'");
        conexion->RollbackTrans();
        EXPECT_EQ(conexion->Execute("SELECT Vr_Valor FROM Variable WHERE Vr_Nombre = 'fin_moneda_local'")->Field(0),
                  Variant("MXN"));
        conexion->SetCommandTimeout(1);
        try {
            conexion->Execute("SELECT pg_sleep(3)");
            ADD_FAILURE() << "the statement outlived its time-out";
        } catch (const kx204::host::RuntimeError& error) {
            EXPECT_EQ(error.description, "Query timeout expired");
        }
    }
    servidor.Execute("DROP DATABASE " + nombre);
}

}  // namespace
}  // namespace qivera::db
