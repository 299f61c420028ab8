// Receivables of the data service: payments that lower every balance alike and remember what they
// took, new receivables with their tax balances.
#include <gtest/gtest.h>

#include "apoyo/entorno.hpp"
#include "fila.hpp"
#include "qivera/services/datos.hpp"

namespace {

using kx204::host::Currency;
using kx204::host::Date;

// Receivable X1 of 100 + 16 tax (12 of IVA16, 4 of IEPS), all owed; X2 cancelled.
struct Cuentas {
    Cuentas() {
        entorno.Sql(
            "INSERT INTO Cuenta_x_Cobrar (Cxc_Folio, Cxc_Tabla, Cxc_Documento, Cl_Cve_Cliente, "
            "Cxc_Precio_Descontado_Importe, Cxc_Precio_Descontado_Saldo, Cxc_Impuesto_Importe, Cxc_Impuesto_Saldo, "
            "Cxc_Precio_Neto_Importe, Cxc_Precio_Neto_Saldo, Es_Cve_Estado) VALUES "
            "('X1', 'VENTA', 'NV1', 'C1', 100, 100, 16, 16, 116, 116, 'AC'), "
            "('X2', 'VENTA', 'NV2', 'C1', 100, 100, 16, 16, 116, 116, 'CA')");
        entorno.Sql(
            "INSERT INTO CUENTA_X_COBRAR_IMPUESTO (Cxc_Folio, Im_Cve_Impuesto, Cxci_Importe, Cxci_Saldo) VALUES "
            "('X1', 'IVA16', 12, 12), ('X1', 'IEPS', 4, 4)");
        entorno.Sql("INSERT INTO Pago_Cxc (Pc_Folio) VALUES ('PC00000007')");
    }
    std::string Fila(const std::string& sql) { return prueba::Fila(*entorno.conexion, sql); }
    std::string Saldos() {
        return Fila(
                   "SELECT Cxc_Precio_Descontado_Saldo, Cxc_Impuesto_Saldo, Cxc_Precio_Neto_Saldo FROM "
                   "Cuenta_x_Cobrar WHERE Cxc_Folio = 'X1'") +
               "|" +
               prueba::Concatena(*entorno.conexion,
                                 "SELECT Cxci_Saldo FROM CUENTA_X_COBRAR_IMPUESTO WHERE Cxc_Folio = 'X1' ORDER BY "
                                 "Im_Cve_Impuesto",
                                 "/");
    }
    // What payment `folio` took of each balance, in the order of Saldos().
    std::string Tomado(const std::string& folio) {
        return Fila("SELECT Pc_Precio_Descontado, Pc_Impuesto, Pc_Importe FROM Pago_Cxc WHERE Pc_Folio = '" + folio +
                    "'") +
               "|" +
               prueba::Concatena(*entorno.conexion,
                                 "SELECT Pci_Importe FROM Pago_Cxc_Impuesto WHERE Pc_Folio = '" + folio +
                                     "' ORDER BY Im_Cve_Impuesto",
                                 "/");
    }
    static kx204::host::AbonoCxc Abono(const std::string& cuenta, const std::string& importe) {
        kx204::host::AbonoCxc abono;
        abono.cxcFolio = cuenta;
        abono.fecha = Date::FromYmd(2026, 3, 15);
        abono.tabla = "Factura";
        abono.documento = "F000003";
        abono.factura = "A000042";
        abono.comentario = "Consolidación de O'Neil";
        abono.importe = Currency::Parse(importe);
        abono.formaPago = "CONN";
        abono.moneda = "MXN";
        abono.tipoCambio = 1;
        return abono;
    }

    prueba::Entorno entorno;
    qivera::DatosQivera datos{entorno.sesion};
};

TEST(CuentasPorCobrar, PartialPaymentsTakeTheSameFractionOfEachBalanceAndRecordIt) {
    Cuentas c;
    c.entorno.Sql("INSERT INTO Pago_Cxc (Pc_Folio) VALUES ('PC0000009X')");  // a malformed folio is passed over
    ASSERT_TRUE(c.datos.RegistraAbono(Cuentas::Abono("X1", "33.33"), true, true, true)) << c.datos.MensajeError();
    // 33.33 / 116 of each balance, to the ten-thousandth; saldo + what was taken gives the balance back.
    EXPECT_EQ(c.Saldos(), "71.2672|11.4028|82.67|2.8507/8.5521");
    EXPECT_EQ(c.Tomado("PC00000008"), "28.7328|4.5972|33.33|1.1493/3.4479");
    EXPECT_EQ(c.Fila("SELECT Cxc_Folio, Pc_Fecha, Pc_Tabla, Pc_Documento, Pc_Factura, Pc_Comentario, "
                     "Fp_Cve_Forma_Pago, Mn_Cve_Moneda, Pc_Tipo_Cambio, Es_Cve_Estado, Oper_Ult_Modif FROM Pago_Cxc "
                     "WHERE Pc_Folio = 'PC00000008'"),
              "X1|2026-03-15|FACTURA|F000003|A000042|Consolidación de O'Neil|CONN|MXN|1|AC|ADMIN");
    ASSERT_TRUE(c.datos.RegistraAbono(Cuentas::Abono("X1", "82.67"), true, true, true)) << c.datos.MensajeError();
    EXPECT_EQ(c.Saldos(), "0|0|0|0/0");
    EXPECT_EQ(c.Tomado("PC00000009"), "71.2672|11.4028|82.67|2.8507/8.5521");
}

// Inside a transaction the payments' writes wait for the connection's next statement: a payment follows on
// from what the last one on its receivable left, however its folio is written, and a rollback drops them.
TEST(CuentasPorCobrar, PaymentsInATransactionFollowOnAndGoWithARollback) {
    Cuentas c;
    for (const bool confirma : {false, true}) {
        c.entorno.conexion->BeginTrans();
        ASSERT_TRUE(c.datos.RegistraAbono(Cuentas::Abono("X1", "33.33"), true, true, true)) << c.datos.MensajeError();
        ASSERT_TRUE(c.datos.RegistraAbono(Cuentas::Abono("x1", "82.67"), true, true, true)) << c.datos.MensajeError();
        EXPECT_FALSE(c.datos.RegistraAbono(Cuentas::Abono("X1", "0.01"), true, true, true));
        EXPECT_EQ(c.datos.MensajeError(), "El abono de 0.01 excede el saldo de 0 de la cuenta por cobrar X1");
        EXPECT_EQ(c.Saldos(), "0|0|0|0/0");
        EXPECT_EQ(c.Tomado("PC00000009"), "71.2672|11.4028|82.67|2.8507/8.5521");
        if (confirma) {
            c.entorno.conexion->CommitTrans();
        } else {
            c.entorno.conexion->RollbackTrans();
            EXPECT_EQ(c.Saldos(), "100|16|116|4/12");
            EXPECT_EQ(c.Fila("SELECT count(*) FROM Pago_Cxc"), "1");
        }
    }
    EXPECT_EQ(c.Saldos(), "0|0|0|0/0");
}

// Halves of a ten-thousandth round the same way twice; the parts must still add up to what was paid.
TEST(CuentasPorCobrar, APaymentsPartsAddUpToItToTheTenThousandth) {
    Cuentas c;
    c.entorno.Sql(
        "UPDATE Cuenta_x_Cobrar SET Cxc_Precio_Descontado_Saldo = 1.0001, Cxc_Impuesto_Saldo = 1.0001, "
        "Cxc_Precio_Neto_Saldo = 2.0002 WHERE Cxc_Folio = 'X1'");
    c.entorno.Sql("UPDATE CUENTA_X_COBRAR_IMPUESTO SET Cxci_Saldo = 0.5 WHERE Cxc_Folio = 'X1'");
    c.entorno.Sql("UPDATE CUENTA_X_COBRAR_IMPUESTO SET Cxci_Saldo = 0.5001 WHERE Im_Cve_Impuesto = 'IVA16'");
    ASSERT_TRUE(c.datos.RegistraAbono(Cuentas::Abono("X1", "1.0001"), true, true, true)) << c.datos.MensajeError();
    EXPECT_EQ(c.Tomado("PC00000008"), "0.5|0.5001|1.0001|0.25/0.2501");
    EXPECT_EQ(c.Saldos(), "0.5001|0.5|1.0001|0.25/0.25");
}

TEST(CuentasPorCobrar, RefusedPaymentsWriteNothing) {
    Cuentas c;
    const std::pair<kx204::host::AbonoCxc, std::string> casos[] = {
        {Cuentas::Abono("X9", "1"), "No existe la cuenta por cobrar X9"},
        {Cuentas::Abono("X2", "1"), "No se puede abonar a la cuenta por cobrar X2, está cancelada"},
        {Cuentas::Abono("X1", "116.0001"), "El abono de 116.0001 excede el saldo de 116 de la cuenta por cobrar X1"},
        {Cuentas::Abono("X1", "0"), "El importe del abono a la cuenta por cobrar X1 debe ser mayor que cero"},
        {Cuentas::Abono("X1", "-5"), "El importe del abono a la cuenta por cobrar X1 debe ser mayor que cero"},
    };
    for (const auto& [abono, mensaje] : casos) {
        EXPECT_FALSE(c.datos.RegistraAbono(abono, true, true, true));
        EXPECT_EQ(c.datos.MensajeError(), mensaje);
    }
    EXPECT_EQ(c.Saldos(), "100|16|116|4/12");
    EXPECT_EQ(c.Fila("SELECT count(*) FROM Pago_Cxc"), "1");
    EXPECT_EQ(c.Fila("SELECT count(*) FROM Pago_Cxc_Impuesto"), "0");
}

TEST(CuentasPorCobrar, NewReceivableWithItsTaxBalances) {
    Cuentas c;
    kx204::host::CuentaCxc cuenta;
    EXPECT_FALSE(c.datos.ObtenCuenta(cuenta));
    EXPECT_FALSE(c.datos.AgregaImpuesto({"IVA16", {}, {}, {}}));
    EXPECT_EQ(c.datos.MensajeError(), "No se ha registrado la cuenta por cobrar del impuesto IVA16");

    c.entorno.Sql("INSERT INTO Cuenta_x_Cobrar (Cxc_Folio) VALUES ('CXC0000009')");
    cuenta.cliente = "C1";
    ASSERT_TRUE(c.datos.RegistraCuenta(cuenta, false, true)) << c.datos.MensajeError();
    kx204::host::CuentaCxc creada;
    ASSERT_TRUE(c.datos.ObtenCuenta(creada));
    EXPECT_EQ(creada.folio, "CXC0000010");
    EXPECT_TRUE(c.datos.AgregaImpuesto({"IVA16", Currency::Parse("30"), {}, Currency::Parse("28.5")}));
    EXPECT_TRUE(c.datos.AgregaImpuesto({"IEPS", Currency::Parse("3.58"), {}, Currency::Parse("3.58")}));
    EXPECT_EQ(
        prueba::Concatena(*c.entorno.conexion,
                          "SELECT Im_Cve_Impuesto, '=', Cxci_Importe, '/', Cxci_Saldo FROM CUENTA_X_COBRAR_IMPUESTO "
                          "WHERE Cxc_Folio = 'CXC0000010' ORDER BY Im_Cve_Impuesto"),
        "IEPS=3.58/3.58 IVA16=30/28.5");

    // A client that does not exist is refused, and the refused receivable does not become the last created.
    cuenta.cliente = "C9";
    EXPECT_FALSE(c.datos.RegistraCuenta(cuenta, false, true));
    EXPECT_EQ(c.datos.MensajeError(), "No existe el cliente C9 de la cuenta por cobrar");
    ASSERT_TRUE(c.datos.ObtenCuenta(creada));
    EXPECT_EQ(creada.folio, "CXC0000010");
}

}  // namespace
