#include "qivera/db/dialecto.hpp"

#include <gtest/gtest.h>

namespace qivera::db {
namespace {

std::string Sqlite(const std::string& sql) { return AdaptaSql(sql, Dialecto::SQLite); }

TEST(DialectoTest, IsnullBecomesCoalesceOnlyAsAFunctionWordAndSqlServerTextPassesUnchanged) {
    const std::string servidor = "SELECT top 1 isnull(a, 0) FROM [Venta] WHERE b = 'x'";
    EXPECT_EQ(AdaptaSql(servidor, Dialecto::SqlServer), servidor);
    EXPECT_EQ(Sqlite("SELECT isnull(a, 0), ISNULL (b,''), IsNull\t(c, 1) FROM t"),
              "SELECT coalesce(a, 0), coalesce (b,''), coalesce\t(c, 1) FROM t");
    EXPECT_EQ(AdaptaSql("SELECT ISNULL(SUM(x),0) FROM t", Dialecto::PostgreSQL), "SELECT coalesce(SUM(x),0) FROM t");
    // Longer words, the postfix operator, quoted names and comments stay as they are.
    for (const std::string sql :
         {"SELECT myisnull(a), isnull_x(b), Es_isnull(c) FROM t", "SELECT a FROM t WHERE a isnull",
          "SELECT \"isnull\"(a) FROM t", "SELECT a -- isnull(a)\nFROM t", "SELECT /* isnull( */ a FROM t"})
        EXPECT_EQ(Sqlite(sql), sql) << sql;
}

TEST(DialectoTest, LiteralsAreNeverRewritten) {
    const std::string sql =
        "SELECT 'top 5 isnull(', 'it''s isnull(x)', '[Venta]' FROM t WHERE x = 'SELECT top 1 a' AND y = ''''";
    EXPECT_EQ(Sqlite(sql), sql);
    // A value with quotes doubled next to a rewritten call keeps its quotes.
    EXPECT_EQ(Sqlite("SELECT isnull(Cl_Descripcion, 'D''Lupita') FROM Cliente WHERE Cl_Cve_Cliente = 'O''Brien'"),
              "SELECT coalesce(Cl_Descripcion, 'D''Lupita') FROM Cliente WHERE Cl_Cve_Cliente = 'O''Brien'");
    // An unterminated literal swallows the rest, as the engine will when it refuses it.
    EXPECT_EQ(Sqlite("SELECT 'isnull(a"), "SELECT 'isnull(a");
}

TEST(DialectoTest, TopBecomesATrailingLimitOfItsOwnQuery) {
    EXPECT_EQ(Sqlite("SELECT top 1 * FROM Pago_Cxc WHERE Pc_Tabla = 'FACTURA' AND Es_Cve_Estado = 'AC'"),
              "SELECT * FROM Pago_Cxc WHERE Pc_Tabla = 'FACTURA' AND Es_Cve_Estado = 'AC' LIMIT 1");
    EXPECT_EQ(Sqlite("select DISTINCT TOP 25 a FROM t ORDER BY a;  "),
              "select DISTINCT a FROM t ORDER BY a LIMIT 25;  ");
    EXPECT_EQ(Sqlite("SELECT TOP(3) a FROM t   -- the three first\n"),
              "SELECT a FROM t LIMIT 3   -- the three first\n");
    EXPECT_EQ(Sqlite("SELECT top 1 a FROM t; SELECT top 2 b FROM u"),
              "SELECT a FROM t LIMIT 1; SELECT b FROM u LIMIT 2");
    // Only a literal count is understood; anything else is left for the engine to judge.
    EXPECT_EQ(Sqlite("SELECT top (@n) a FROM t"), "SELECT top (@n) a FROM t");
    // In a subquery the limit goes inside its parenthesis.
    EXPECT_EQ(Sqlite("SELECT a FROM t WHERE b = (SELECT top 1 c FROM u WHERE (d = 1) ORDER BY e) AND f = 2"),
              "SELECT a FROM t WHERE b = (SELECT c FROM u WHERE (d = 1) ORDER BY e LIMIT 1) AND f = 2");
    EXPECT_EQ(Sqlite("SELECT top 2 a, (SELECT top 1 c FROM u) FROM t"),
              "SELECT a, (SELECT c FROM u LIMIT 1) FROM t LIMIT 2");
    // Words containing top are not top.
    for (const std::string sql : {"SELECT topo, stop FROM t", "SELECT top_n FROM t", "SELECT DISTINCT laptop FROM t",
                                  "SELECT top FROM t", "SELECT a FROM top"})
        EXPECT_EQ(Sqlite(sql), sql) << sql;
}

TEST(DialectoTest, BracketedNamesBecomeQuotedIdentifiers) {
    EXPECT_EQ(Sqlite("SELECT SUM(x) AS [DSCTO GLOBAL], [a]]b], [x\"y] FROM [Venta]"),
              "SELECT SUM(x) AS \"DSCTO GLOBAL\", \"a]b\", \"x\"\"y\" FROM \"Venta\"");
    EXPECT_EQ(Sqlite("SELECT \"[no]\" FROM t WHERE a = '[no]'"), "SELECT \"[no]\" FROM t WHERE a = '[no]'");
}

TEST(DialectoTest, LongListsOfTextsBecomeOneArrayOnPostgresqlAndTheServerDateIsTheEnginesOwn) {
    std::string lista = "'O''Brien', 'dice \"hola\"', 'a\\b'";
    for (int i = 0; i < 40; ++i) lista += ", 'NV" + std::to_string(i) + "'";
    const std::string sql = "SELECT 1 FROM Venta WHERE Vn_Folio IN (" + lista + ") AND x in ('a', 'b')";
    EXPECT_EQ(AdaptaSql(sql, Dialecto::PostgreSQL)
                  .rfind("SELECT 1 FROM Venta WHERE Vn_Folio IN (SELECT unnest('{\"O''Brien\",\"dice "
                         "\\\"hola\\\"\",\"a\\\\b\",\"NV0\"",
                         0),
              0u);
    EXPECT_NE(AdaptaSql(sql, Dialecto::PostgreSQL).find("\"NV39\"}'::text[])) AND x in ('a', 'b')"), std::string::npos);
    EXPECT_EQ(Sqlite(sql), sql);
    EXPECT_EQ(AdaptaSql("SELECT getdate(), GETDATE ( ) FROM t", Dialecto::PostgreSQL),
              "SELECT LOCALTIMESTAMP(0), LOCALTIMESTAMP(0) FROM t");
    EXPECT_EQ(Sqlite("SELECT getdate()"), "SELECT datetime('now', 'localtime')");
}

}  // namespace
}  // namespace qivera::db
