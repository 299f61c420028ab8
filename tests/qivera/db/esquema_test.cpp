#include "qivera/db/esquema.hpp"

#include <gtest/gtest.h>

#include "apoyo/base_prueba.hpp"
#include "kx204/host/runtime_error.hpp"
#include "qivera/db/base_datos.hpp"
#include "qivera/db/plantillas.hpp"
#include "qivera/demo/inicializa.hpp"

namespace qivera::db {
namespace {

using kx204::host::Variant;

class EsquemaTest : public ::testing::Test {
protected:
    void SetUp() override {
        CreaEsquema(*conexion_, conexion_->dialecto());
        GuardaPlantillas(*conexion_);
    }
    std::vector<std::string> Columnas(const std::string& sql) {
        auto rs = conexion_->Execute(sql);
        std::vector<std::string> columnas;
        for (int i = 0; i < rs->FieldCount(); ++i) columnas.push_back(rs->FieldName(i));
        return columnas;
    }
    std::string Plantilla(const std::string& nombre) {
        return conexion_
            ->Execute("SELECT Cs_Texto FROM Consulta WHERE Cs_Nombre = '" + kx204::host::SqlText(nombre) + "'")
            ->Field(0)
            .ToText();
    }
    prueba::BaseDePrueba base_;
    std::unique_ptr<ConexionQt> conexion_ = prueba::Conecta(base_.Url());
};

TEST_F(EsquemaTest, LookupTemplatesRunAndThePlaceholderIsFoundInAnyCase) {
    for (const std::string nombre : {"FACTURA", "SUCURSAL", "CLIENTE", "MONEDA", "VENDEDOR", "CONDICION_VENTA"}) {
        const std::string texto = Plantilla(nombre);
        EXPECT_NO_THROW(conexion_->Execute(AplicaCondicion(texto, ""))) << nombre;
        EXPECT_EQ(Columnas(AplicaCondicion(texto, "1 = 0")).front(), "Clave") << nombre;
    }
    // The placeholder is found whatever its case, every time it appears.
    EXPECT_EQ(AplicaClausula("a {where} b {WHERE}", "WHERE x"), "a WHERE x b WHERE x");
}

TEST(EsquemaBaseDatosTest, InitialisesANewDatabaseOnlyOnce) {
    prueba::BaseDePrueba base(prueba::BaseDePrueba::Alcance::Compartida);
    InicializaBaseDatos(base.Url(), false, 0);
    auto conexion = prueba::Conecta(base.Url());
    EXPECT_EQ(conexion->Execute("SELECT count(*) FROM Consulta")->Field(0).ToLong(), 9);
    EXPECT_EQ(conexion->Execute("SELECT count(*) FROM Venta")->Field(0).ToLong(), 0);
    conexion->Execute("INSERT INTO Variable (Vr_Nombre, Vr_Valor) VALUES ('X', '1')");
    try {
        InicializaBaseDatos(base.Url(), true, 10);
        ADD_FAILURE() << "a second initialisation was accepted";
    } catch (const kx204::host::RuntimeError& error) {
        EXPECT_NE(error.description.find("already has the schema"), std::string::npos);
    }
    EXPECT_EQ(conexion->Execute("SELECT count(*) FROM Variable")->Field(0).ToLong(), 1);
}

// A server plans by statistics; a database filled at once must not wait for them to be gathered later.
TEST(EsquemaBaseDatosTest, ANewServerDatabaseIsReadyToPlan) {
    prueba::BaseDePrueba base(prueba::BaseDePrueba::Alcance::Compartida);
    if (prueba::MotorDePrueba() != prueba::Motor::PostgreSQL) GTEST_SKIP() << "SQLite plans without statistics";
    InicializaBaseDatos(base.Url(), true, 20);
    auto conexion = prueba::Conecta(base.Url());
    EXPECT_GT(conexion
                  ->Execute("SELECT count(*) FROM pg_stats WHERE tablename IN ('venta', 'lote_documento', "
                            "'serie_documento')")
                  ->Field(0)
                  .ToLong(),
              0);
}

}  // namespace
}  // namespace qivera::db
