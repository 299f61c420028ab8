// The connection as the screen relies on it, on this run's engine: one statement at a time, names
// as the statement spells them, a failed statement that leaves the transaction usable but never
// half-committed, counted changes and a time-out that is put back.
#include <gtest/gtest.h>

#include "apoyo/base_prueba.hpp"
#include "apoyo/error_de.hpp"
#include "kx204/host/recordset_leido.hpp"
#include "kx204/host/runtime_error.hpp"
#include "qivera/db/base_datos.hpp"
#include "qivera/db/sql.hpp"

namespace qivera::db {
namespace {

using kx204::host::RuntimeError;

class ConexionMotorTest : public ::testing::Test {
protected:
    void SetUp() override {
        conexion_->Execute("CREATE TABLE t (Clave varchar(10) PRIMARY KEY, Valor integer NOT NULL DEFAULT 0)");
        conexion_->Execute("INSERT INTO t (Clave, Valor) VALUES ('a', 1), ('b', 2)");
    }
    long Cuenta(const std::string& sql) {
        auto rs = conexion_->Execute(sql);
        const long cuenta = rs->Field(0).ToLong();
        rs->Close();
        return cuenta;
    }
    static std::string Texto(const std::function<void()>& accion) { return prueba::TextoDeError(accion); }

    prueba::BaseDePrueba base_;
    std::unique_ptr<ConexionQt> conexion_ = prueba::Conecta(base_.Url());
};

TEST_F(ConexionMotorTest, OneStatementAtATimeAndNamesAsTheStatementSpellsThem) {
    auto abierto = conexion_->Execute("SELECT Clave AS ClaveDeT, sum(Valor) as SubTotal FROM t GROUP BY Clave");
    EXPECT_EQ(abierto->FieldName(0), "ClaveDeT");
    EXPECT_EQ(abierto->FieldName(1), "SubTotal");
    const std::string refusal = Texto([&] { conexion_->Execute("UPDATE t SET Valor = 3"); });
    EXPECT_NE(refusal.find("still being read"), std::string::npos) << refusal;
    EXPECT_NE(refusal.find("SELECT Clave AS ClaveDeT"), std::string::npos) << refusal;
    // Read to its end, the recordset frees the connection; so does one read whole beforehand.
    while (!abierto->Eof()) abierto->MoveNext();
    auto leido = kx204::host::LeeCompleto(conexion_->Execute("SELECT Clave, Valor FROM t ORDER BY Clave"));
    EXPECT_EQ(conexion_->ExecuteNonQuery("UPDATE t SET Valor = Valor + 10 WHERE Valor < 2"), 1);
    EXPECT_EQ(leido->Field("valor").ToLong(), 1);  // what was read, before the update
    leido->MoveNext();
    EXPECT_EQ(leido->Field("VALOR").ToLong(), 2);
    EXPECT_EQ(conexion_->ExecuteNonQuery("UPDATE t SET Valor = 0 WHERE Clave = 'z'"), 0);
    // However an engine reads a long list of keys, the same rows come back.
    std::string claves = "'b', 'O''Brien', 'x\"y'";
    for (int i = 0; i < 100; ++i) claves += ", 'k" + std::to_string(i) + "'";
    EXPECT_EQ(Cuenta("SELECT count(*) FROM t WHERE Clave IN (" + claves + ")"), 1);
    EXPECT_EQ(Cuenta("SELECT count(*) FROM t WHERE Clave NOT IN (" + claves + ")"), 1);
}

// A text is quoted by doubling its single quotes alone: a backslash in it stays itself even on a server whose
// default reads backslashes in quotes as escapes.
TEST_F(ConexionMotorTest, ABackslashInATextIsJustABackslash) {
    if (conexion_->dialecto() == Dialecto::PostgreSQL)
        conexion_->Execute(
            "DO $$ BEGIN EXECUTE format('ALTER DATABASE %I SET standard_conforming_strings = off', "
            "current_database()); END $$");
    const std::string texto = R"(C:\nueva\'carpeta' \)";
    EXPECT_EQ(prueba::Conecta(base_.Url())->Execute("SELECT " + LiteralTexto(texto))->Field(0).ToText(), texto);
}

TEST_F(ConexionMotorTest, AFailedStatementLeavesTheTransactionUsableButNeverHalfCommitted) {
    conexion_->BeginTrans();
    conexion_->Execute("UPDATE t SET Valor = 5 WHERE Clave = 'a'");
    const std::string primera = Texto([&] { conexion_->Execute("INSERT INTO t (Clave) VALUES ('b')"); });
    EXPECT_FALSE(primera.empty());
    // What follows runs, and tells its own story rather than "current transaction is aborted".
    EXPECT_EQ(Cuenta("SELECT count(*) FROM t"), 2);
    EXPECT_EQ(Texto([&] { conexion_->Execute("SELECT nada FROM t"); }).find("aborted"), std::string::npos);
    conexion_->RollbackTrans();
    EXPECT_FALSE(conexion_->InTransaction());
    EXPECT_EQ(Cuenta("SELECT Valor FROM t WHERE Clave = 'a'"), 1);

    // Committing after a failure either keeps the statements that succeeded (SQLite, as SQL Server)
    // or, where the engine undid them, is refused with the first failure: never a part of the work.
    conexion_->BeginTrans();
    conexion_->Execute("UPDATE t SET Valor = 5 WHERE Clave = 'a'");
    EXPECT_THROW(conexion_->Execute("INSERT INTO t (Clave) VALUES ('b')"), RuntimeError);
    conexion_->Execute("UPDATE t SET Valor = 6 WHERE Clave = 'b'");
    const std::string alConfirmar = Texto([&] { conexion_->CommitTrans(); });
    EXPECT_FALSE(conexion_->InTransaction());
    const std::string valores = std::to_string(Cuenta("SELECT Valor FROM t WHERE Clave = 'a'")) + "," +
                                std::to_string(Cuenta("SELECT Valor FROM t WHERE Clave = 'b'"));
    if (prueba::MotorDePrueba() == prueba::Motor::SQLite) {
        EXPECT_EQ(alConfirmar, "");
        EXPECT_EQ(valores, "5,6");
    } else {
        EXPECT_EQ(alConfirmar, primera);
        EXPECT_EQ(valores, "1,2");
    }
}

// Amounts come back to the ten-thousandth. SQLite keeps a double, exact to 15 digits; PostgreSQL's
// numeric(19,4) keeps every digit, and so must the reading.
TEST_F(ConexionMotorTest, AmountsAreReadToTheTenThousandth) {
    conexion_->Execute("CREATE TABLE m (Importe numeric(19,4), Tasa numeric)");
    conexion_->Execute("INSERT INTO m VALUES (99999999999.9999, 0.16), (-0.0001, 0.333333333333333333)");
    const bool todoDigito = prueba::MotorDePrueba() == prueba::Motor::PostgreSQL;
    if (todoDigito) conexion_->Execute("INSERT INTO m VALUES (123456789012345.6789, 1)");
    auto rs = conexion_->Execute("SELECT Importe, Tasa, Importe - 1 FROM m ORDER BY Tasa");
    std::string leido;
    for (; !rs->Eof(); rs->MoveNext())
        leido += rs->Field(0).ToCurrency().ToString() + "/" + rs->Field(1).ToText() + "/" +
                 rs->Field(2).ToCurrency().ToString() + "|";
    EXPECT_EQ(leido, std::string("99999999999.9999/0.16/99999999998.9999|-0.0001/0.333333333333333/-1.0001|") +
                         (todoDigito ? "123456789012345.6789/1/123456789012344.6789|" : ""));
}

TEST_F(ConexionMotorTest, ATimeOutForOnePieceOfWorkIsPutBack) {
    const std::string largo =
        prueba::MotorDePrueba() == prueba::Motor::SQLite
            ? "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) SELECT count(*) FROM c"
            : "SELECT pg_sleep(3)";
    {
        const kx204::host::CommandTimeoutScope unSegundo(*conexion_, 1);
        EXPECT_EQ(conexion_->CommandTimeout(), 1);
        EXPECT_EQ(Texto([&] { conexion_->Execute(largo); }), "Query timeout expired");
    }
    EXPECT_EQ(conexion_->CommandTimeout(), 30);
    if (prueba::MotorDePrueba() == prueba::Motor::PostgreSQL) {
        EXPECT_EQ(conexion_->Execute("SHOW statement_timeout")->Field(0).ToText(), "30s");
    }
}

}  // namespace
}  // namespace qivera::db
