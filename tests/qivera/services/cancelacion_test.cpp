// Deleting an invoice on the host's side: its payments give back exactly what they took, its
// receivable and the invoice are cancelled, and a signed invoice's digital document is checked.
#include <regex>

#include <gtest/gtest.h>

#include "apoyo/entorno.hpp"
#include "fila.hpp"
#include "qivera/services/cancelacion_factura.hpp"
#include "qivera/services/datos.hpp"
#include "qivera/services/interfaz.hpp"

namespace {

using kx204::host::Currency;

// Receivables X1 and X3 of two notes (100 + 16 tax: 12 IVA16, 4 IEPS; 50 + 8: 8 IVA16), and X5 of
// invoice F'1 itself.
struct Pagos {
    Pagos() {
        entorno.Sql(
            "INSERT INTO Cuenta_x_Cobrar (Cxc_Folio, Cxc_Tabla, Cxc_Documento, Cxc_Precio_Descontado_Importe, "
            "Cxc_Precio_Descontado_Saldo, Cxc_Impuesto_Importe, Cxc_Impuesto_Saldo, Cxc_Precio_Neto_Importe, "
            "Cxc_Precio_Neto_Saldo) VALUES ('X1', 'VENTA', 'NV1', 100, 100, 16, 16, 116, 116), "
            "('X3', 'VENTA', 'NV3', 50, 50, 8, 8, 58, 58), ('X5', 'FACTURA', 'F''1', 150, 150, 24, 24, 174, 174)");
        entorno.Sql(
            "INSERT INTO CUENTA_X_COBRAR_IMPUESTO (Cxc_Folio, Im_Cve_Impuesto, Cxci_Importe, Cxci_Saldo) VALUES "
            "('X1', 'IVA16', 12, 12), ('X1', 'IEPS', 4, 4), ('X3', 'IVA16', 8, 8)");
    }
    std::string Fila(const std::string& sql) { return prueba::Fila(*entorno.conexion, sql); }
    std::string Concatena(const std::string& sql) { return prueba::Concatena(*entorno.conexion, sql); }
    // Every balance of every receivable and tax line, to the last digit.
    std::string Saldos() {
        return Concatena(
                   "SELECT Cxc_Folio, '=', Cxc_Precio_Descontado_Saldo, '/', Cxc_Impuesto_Saldo, '/', "
                   "Cxc_Precio_Neto_Saldo FROM Cuenta_x_Cobrar ORDER BY Cxc_Folio") +
               "|" +
               Concatena(
                   "SELECT Cxc_Folio, Im_Cve_Impuesto, '=', Cxci_Saldo FROM CUENTA_X_COBRAR_IMPUESTO ORDER BY "
                   "Cxc_Folio, Im_Cve_Impuesto");
    }
    void Abona(const std::string& cuenta, const std::string& documento, const std::string& importe) {
        kx204::host::AbonoCxc abono;
        abono.cxcFolio = cuenta;
        abono.tabla = "Factura";
        abono.documento = documento;
        abono.importe = Currency::Parse(importe);
        ASSERT_TRUE(datos.RegistraAbono(abono, true, true, true)) << datos.MensajeError();
    }
    std::string Estados() { return Concatena("SELECT Pc_Folio, '=', Es_Cve_Estado FROM Pago_Cxc ORDER BY Pc_Folio"); }

    prueba::Entorno entorno;
    qivera::DatosQivera datos{entorno.sesion};
};

TEST(CancelaPagos, GivesBackExactlyWhatEachPaymentOfTheDocumentTook) {
    Pagos p;
    // X1's IEPS was settled apart: its balances no longer keep the proportion of its amounts.
    p.entorno.Sql(
        "UPDATE Cuenta_x_Cobrar SET Cxc_Impuesto_Saldo = 12, Cxc_Precio_Neto_Saldo = 112 WHERE Cxc_Folio = 'X1'");
    p.entorno.Sql("UPDATE CUENTA_X_COBRAR_IMPUESTO SET Cxci_Saldo = 0 WHERE Im_Cve_Impuesto = 'IEPS'");
    p.Abona("X1", "F2", "10");
    const std::string antes = p.Saldos();
    // Partial payments that leave odd ten-thousandths, a full one, and one on another receivable.
    p.Abona("X1", "F'1", "33.33");
    p.Abona("X1", "F'1", "12.07");
    p.Abona("X3", "F'1", "58");
    ASSERT_NE(p.Saldos(), antes);

    p.entorno.sesion.usuario = "CAJERO";
    ASSERT_TRUE(p.datos.CancelaPagos("Factura", "F'1")) << p.datos.MensajeError();
    EXPECT_EQ(p.Saldos(), antes);
    EXPECT_EQ(p.Estados(), "PC00000001=AC PC00000002=CA PC00000003=CA PC00000004=CA");
    EXPECT_EQ(p.Fila("SELECT Oper_Ult_Modif FROM Pago_Cxc WHERE Pc_Folio = 'PC00000002'"), "CAJERO");

    // Nothing left to cancel, and the other document's payment still restores its own part.
    EXPECT_TRUE(p.datos.CancelaPagos("Factura", "F'1"));
    EXPECT_EQ(p.Saldos(), antes);
    ASSERT_TRUE(p.datos.CancelaPagos("FACTURA", "F2"));
    EXPECT_EQ(p.Saldos(), "X1=100/12/112 X3=50/8/58 X5=150/24/174|X1IEPS=0 X1IVA16=12 X3IVA16=8");
}

TEST(CancelaPagos, OlderPaymentsWithoutTheirPartsGiveBackInProportion) {
    Pagos p;
    // Half of X1 paid before the host recorded the parts: only the amount is known.
    p.entorno.Sql(
        "UPDATE Cuenta_x_Cobrar SET Cxc_Precio_Descontado_Saldo = 50, Cxc_Impuesto_Saldo = 8, "
        "Cxc_Precio_Neto_Saldo = 58 WHERE Cxc_Folio = 'X1'");
    p.entorno.Sql("UPDATE CUENTA_X_COBRAR_IMPUESTO SET Cxci_Saldo = Cxci_Importe / 2 WHERE Cxc_Folio = 'X1'");
    p.entorno.Sql(
        "INSERT INTO Pago_Cxc (Pc_Folio, Cxc_Folio, Pc_Tabla, Pc_Documento, Pc_Importe) VALUES "
        "('PC1', 'X1', 'FACTURA', 'F3', 58), ('PC2', 'X9', 'FACTURA', 'F4', 1)");
    ASSERT_TRUE(p.datos.CancelaPagos("Factura", "F3")) << p.datos.MensajeError();
    EXPECT_EQ(p.Saldos(), "X1=100/16/116 X3=50/8/58 X5=150/24/174|X1IEPS=4 X1IVA16=12 X3IVA16=8");

    EXPECT_FALSE(p.datos.CancelaPagos("Factura", "F4"));
    EXPECT_EQ(p.datos.MensajeError(), "No existe la cuenta por cobrar X9 del abono PC2");
}

TEST(CancelaCuentaPorCobrar, RefusesWhileTheReceivableHasActivePayments) {
    Pagos p;
    p.entorno.Sql(
        "INSERT INTO Cuenta_x_Cobrar (Cxc_Folio, Cxc_Tabla, Cxc_Documento, Es_Cve_Estado) VALUES "
        "('X6', 'VENTA', 'F''1', 'AC'), ('X7', 'FACTURA', 'F''1', 'CA')");
    p.Abona("X5", "F9", "1");
    EXPECT_FALSE(p.datos.CancelaCuentaPorCobrar("Factura", "F'1"));
    EXPECT_EQ(p.datos.MensajeError(), "La cuenta por cobrar X5 tiene abonos activos");
    EXPECT_EQ(p.Fila("SELECT Es_Cve_Estado FROM Cuenta_x_Cobrar WHERE Cxc_Folio = 'X5'"), "AC");

    p.entorno.Sql("UPDATE Pago_Cxc SET Es_Cve_Estado = 'CA'");
    p.entorno.sesion.usuario = "CAJERO";
    ASSERT_TRUE(p.datos.CancelaCuentaPorCobrar("Factura", "F'1")) << p.datos.MensajeError();
    // Only the invoice's own receivable; the note's with the same document and the one cancelled before stay.
    EXPECT_EQ(p.Concatena("SELECT Cxc_Folio, '=', Es_Cve_Estado, '/', Oper_Ult_Modif FROM Cuenta_x_Cobrar WHERE "
                          "Cxc_Folio IN ('X5', 'X6', 'X7') ORDER BY Cxc_Folio"),
              "X5=CA/CAJERO X6=AC/ X7=CA/");
}

TEST(CancelaFactura, CancelsBothRowsOnceAndRefusesWhatItCannot) {
    prueba::Entorno entorno;
    entorno.Sql("INSERT INTO Factura (Fc_Folio, Es_Cve_Estado) VALUES ('F''1', 'AP'), ('F2', 'ca')");
    entorno.Sql("INSERT INTO Factura_Encabezado (Fc_Folio, Es_Cve_Estado) VALUES ('F''1', 'AP'), ('F2', 'ca')");
    auto cancelacion = entorno.fabrica.CreaCancelacionFactura();
    entorno.sesion.fechaServidor = kx204::host::Date::FromYmd(2026, 3, 15);
    ASSERT_TRUE(cancelacion->CancelaFactura("F'1", 0)) << cancelacion->MensajeError();
    for (const char* tabla : {"Factura", "Factura_Encabezado"}) {
        const std::string fila =
            prueba::Fila(*entorno.conexion, std::string("SELECT Es_Cve_Estado, Oper_Baja, Oper_Ult_Modif, "
                                                        "Fecha_Ult_Modif FROM ") +
                                                tabla + " WHERE Fc_Folio = 'F''1'");
        EXPECT_TRUE(std::regex_match(fila, std::regex(R"(CA\|ADMIN\|ADMIN\|2026-03-15 \d\d:\d\d:\d\d)")))
            << tabla << ": " << fila;  // the fixed day at the server's time
    }

    const std::pair<const char*, const char*> rechazos[] = {
        {"F'1", "La factura F'1 ya está cancelada"},
        {"F2", "La factura F2 ya está cancelada"},
        {"F9", "No existe la factura F9"},
    };
    for (const auto& [folio, mensaje] : rechazos) {
        EXPECT_FALSE(cancelacion->CancelaFactura(folio, 0)) << folio;
        EXPECT_EQ(cancelacion->MensajeError(), mensaje);
    }
}

TEST(NormalizaFolio, TrimsCapitalizesAndGivesNumbersTheInvoiceForm) {
    prueba::Entorno entorno;
    qivera::InterfazQivera interfaz(entorno.sesion);
    const std::pair<const char*, const char*> casos[] = {
        {"177", "F000177"}, {" 42\t", "F000042"}, {"1234567", "F1234567"}, {" f000177 ", "F000177"}, {"ab-1", "AB-1"},
        {"", ""},           {"   ", ""},          {"0", "F000000"},        {"17 7", "17 7"},
    };
    for (const auto& [folio, normal] : casos) EXPECT_EQ(interfaz.NormalizaFolio(folio), normal) << folio;
}

// Invoice F1 signed at `fecha`; the server's date is 2026-03-15.
struct Firmada {
    explicit Firmada(const std::string& fecha) {
        entorno.sesion.fechaServidor = kx204::host::Date::FromYmd(2026, 3, 15);
        entorno.Sql("INSERT INTO Comprobante_Digital (Cd_Tabla, Cd_Documento, Cd_Fecha) VALUES ('Factura', 'F1', '" +
                    fecha + "')");
    }
    std::string Validacion(const std::string& documento) {
        const bool valida = entorno.ventana.ValidaDocumento(documento);
        return std::string(valida ? "true" : "false") + "|" + entorno.ventana.sError() + "|" +
               entorno.ventana.sMensaje();
    }
    prueba::Entorno entorno;
};

TEST(ValidaDocumento, SignedInvoicesPassOnlyInTheirMonthMalformedKeysNever) {
    Firmada vieja("2026-02-28 23:59:59");
    EXPECT_EQ(vieja.Validacion("1|F1"), "false|El comprobante digital de la factura F1 ya no puede cancelarse|");

    Firmada reciente("2026-03-01 00:00:00");
    EXPECT_EQ(reciente.Validacion("1|F1"), "true||");
    // Once cancelled it stays so: a deletion tried again next month is not refused.
    reciente.entorno.Sql("UPDATE Comprobante_Digital SET Cd_Cancelado = 1");
    reciente.entorno.sesion.fechaServidor = kx204::host::Date::FromYmd(2026, 4, 2);
    EXPECT_EQ(reciente.Validacion("1|F1"), "true||");

    Firmada otroAno("2025-03-15 12:00:00");
    EXPECT_EQ(otroAno.Validacion("1|F1"), "false|El comprobante digital de la factura F1 ya no puede cancelarse|");

    for (const char* documento : {"F1", "1|", "2|F1", "base|1|F1"})
        EXPECT_EQ(otroAno.Validacion(documento), std::string("false|Clave de documento no válida: ") + documento +
                                                     " (se espera 1|<folio de la factura>)|");
}

}  // namespace
