// Folios: one past the counter and the stored ones, following on inside a transaction, and given back
// when it rolls back.
#include "qivera/services/consecutivo.hpp"

#include <gtest/gtest.h>

#include "apoyo/facturacion.hpp"

namespace {

using qivera::kFolioCuenta;
using qivera::kFolioPago;
using qivera::SiguienteFolio;

TEST(Consecutivo, FoliosFollowOnInsideATransactionAndARolledBackOneGivesItsNumbersBack) {
    prueba::Entorno entorno;
    auto& conexion = *entorno.conexion;
    conexion.BeginTrans();
    EXPECT_EQ(SiguienteFolio(entorno.sesion, kFolioPago), "PC00000001");
    EXPECT_EQ(SiguienteFolio(entorno.sesion, kFolioPago), "PC00000002");
    conexion.RollbackTrans();
    entorno.Sql("INSERT INTO Pago_Cxc (Pc_Folio) VALUES ('PC00000005'), ('PC0000009X')");  // without the counter
    conexion.BeginTrans();
    EXPECT_EQ(SiguienteFolio(entorno.sesion, kFolioPago), "PC00000006");
    EXPECT_EQ(SiguienteFolio(entorno.sesion, kFolioCuenta), "CXC0000001");
    EXPECT_EQ(SiguienteFolio(entorno.sesion, kFolioPago), "PC00000007");
    entorno.Sql("INSERT INTO Pago_Cxc (Pc_Folio) VALUES ('PC00000006'), ('PC00000007')");  // as the caller does
    conexion.CommitTrans();
    EXPECT_EQ(SiguienteFolio(entorno.sesion, kFolioPago), "PC00000008");  // a new transaction looks again
    EXPECT_EQ(prueba::Filas(entorno, "SELECT Cn_Ultimo FROM Consecutivo WHERE Cn_Tabla = 'Pago_Cxc'"), "8\n");
}

}  // namespace
