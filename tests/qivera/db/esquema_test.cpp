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
    ConexionQt conexion_{"sqlite::memory:"};
};

TEST_F(EsquemaTest, LookupTemplatesRunAndThePlaceholderIsFoundInAnyCase) {
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
