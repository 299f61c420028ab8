#include <gtest/gtest.h>

#include "apoyo/facturacion.hpp"
#include "kx204/host/texto.hpp"

using kx204::host::ComandoBarra;
using prueba::Entorno;
using prueba::Filas;

namespace {

std::vector<std::string> Ids(const Entorno& entorno) {
    std::vector<std::string> ids;
    for (const auto& mensaje : entorno.Eventos("message")) ids.push_back(mensaje["id"]);
    return ids;
}

}  // namespace

TEST(Facturar, GroupedLinesCarryLotsSerialsAndTheNotesTotals) {
    Entorno entorno;
    prueba::PreparaFacturacion(entorno);
    auto& pantalla = prueba::Captura(entorno, {"N1", "N2", "N3"});
    pantalla.Controles.Pulsa(ComandoBarra::Aceptar);
    EXPECT_TRUE(Ids(entorno).empty());
    EXPECT_EQ(Filas(entorno, "SELECT Fc_Folio, Fc_Factura, Fc_Credito, Fc_Condicion_Venta, Fc_Total FROM Factura"),
              "F000001|A000042|NO|CONT|189.08\n");
    EXPECT_EQ(Filas(entorno, "SELECT DISTINCT Es_Cve_Estado, Fc_Folio, Fc_Factura FROM Venta"), "FA|F000001|A000042\n");
    EXPECT_EQ(Filas(entorno, "SELECT DISTINCT Es_Cve_Estado, Fc_Folio FROM Venta_Encabezado"), "FA|F000001\n");
    EXPECT_EQ(Filas(entorno,
                    "SELECT Fd_Renglon, Pr_Cve_Producto, Fd_Cantidad_Control_1, Fd_Lotes, Fd_Series "
                    "FROM Factura_Detalle ORDER BY Fd_Renglon"),
              "0001|P1|6|L1@4@0@2025-01-31@P1@2024-11-02@A1|L2@2@0@2025-01-31@@2024-11-02@|\n"
              "0002|P2|1|L1@1@0@2025-01-31@P1@2024-11-02@A1|\n"
              "0003|P3|1||S-1|S-2\n"
              "0004|P4|0||\n");
    auto rs =
        entorno.conexion->Execute("SELECT Fd_Precio_Unitario, Fd_Concepto FROM Factura_Detalle ORDER BY Fd_Renglon");
    EXPECT_EQ(rs->Field(0).ToCurrency(), kx204::host::Currency::FromDouble(53.0 / 6));  // the group's average
    rs->MoveNext();
    rs->MoveNext();
    const std::string concepto = rs->Field(1).ToText();
    EXPECT_EQ(kx204::host::CuentaCaracteres(concepto), 100u);
    EXPECT_EQ(concepto.substr(0, 6), "Máqui");
    rs->MoveNext();
    EXPECT_EQ(rs->Field(0).ToDouble(), 0);  // nothing sold: price 0
    rs->Close();

    EXPECT_TRUE(pantalla.txtFolio.Enabled());  // back in the query state
    EXPECT_FALSE(pantalla.Controles.NuevoDocumento());
    ASSERT_EQ(entorno.Eventos("print").size(), 1u);  // not digital: printed
    EXPECT_TRUE(entorno.Eventos("sign").empty());
}

TEST(Facturar, ACreditConditionMakesACreditHeaderYetTheInvoiceIsStoredAsNonCredit) {
    Entorno entorno;
    prueba::PreparaFacturacion(entorno);
    auto& pantalla = prueba::Captura(entorno, {"N1"});
    pantalla.txtCondicionVenta.Teclea("CR30");
    ASSERT_TRUE(pantalla.txtCondicionVenta.Confirma());
    pantalla.Controles.Pulsa(ComandoBarra::Aceptar);
    EXPECT_TRUE(Ids(entorno).empty());
    EXPECT_EQ(Filas(entorno,
                    "SELECT Fc_Credito, Fc_Condicion_Venta, Fc_Fecha, Fc_Fecha_Vencimiento FROM Factura "
                    "UNION ALL SELECT Fc_Credito, Fc_Condicion_Venta, Fc_Fecha, Fc_Fecha_Vencimiento "
                    "FROM Factura_Encabezado"),
              "NO|CR30|2026-03-15|2026-04-14\nNO|CR30|2026-03-15|2026-04-14\n");
}

TEST(Facturar, LineByLineRelatesEachInvoiceLineToItsSaleLine) {
    Entorno entorno;
    prueba::PreparaFacturacion(entorno);
    entorno.Variable("FAC_CONSOLIDADA_NO_PROMEDIA_PRECIO", "1");
    auto& pantalla = prueba::Captura(entorno, {"N2", "N1", "N3"});
    pantalla.Controles.Pulsa(ComandoBarra::Aceptar);
    EXPECT_TRUE(Ids(entorno).empty());
    EXPECT_EQ(Filas(entorno, "SELECT Fd_Renglon, Pr_Cve_Producto, Fd_Concepto FROM Factura_Detalle ORDER BY 1"),
              "0001|P1|Venta de P1\n0002|P3|Venta de P3\n0003|P1|Venta de P1\n0004|P2|Venta de P2\n"
              "0005|P4|Venta de P4\n");
    EXPECT_EQ(Filas(entorno,
                    "SELECT Rr_Tabla, Rr_Documento, Rr_Renglon, Rr_Referencia FROM Relacion_Renglon "
                    "ORDER BY Rr_Renglon"),
              "Factura|F000001|0001|Venta|N1|1\nFactura|F000001|0002|Venta|N1|2\nFactura|F000001|0003|Venta|N2|1\n"
              "Factura|F000001|0004|Venta|N2|2\nFactura|F000001|0005|Venta|N3|1\n");
}

// A printed line names only the lots and serial numbers its own note took, even where another note sold
// the same product; a grouped line, made of several notes, names all of theirs.
TEST(Facturar, LineByLineEachLineCarriesTheLotsAndSerialsOfItsOwnNote) {
    Entorno entorno;
    prueba::PreparaFacturacion(entorno);
    entorno.Variable("FAC_CONSOLIDADA_NO_PROMEDIA_PRECIO", "1");
    entorno.Sql(
        "INSERT INTO Serie_Documento (Sd_Tabla, Sd_Documento, Sd_Renglon, Pr_Cve_Producto, Sr_Cve_Serie) "
        "VALUES ('VENTA', 'N2', 1, 'P1', 'S-9')");
    auto& pantalla = prueba::Captura(entorno, {"N1", "N2", "N3"});
    pantalla.Controles.Pulsa(ComandoBarra::Aceptar);
    EXPECT_TRUE(Ids(entorno).empty());
    EXPECT_EQ(Filas(entorno, "SELECT Fd_Renglon, Pr_Cve_Producto, Fd_Lotes, Fd_Series FROM Factura_Detalle ORDER BY 1"),
              "0001|P1|L1@2@0@2025-01-31@P1@2024-11-02@A1|\n"
              "0002|P3||S-1|S-2\n"
              "0003|P1|L1@2@0@2025-01-31@P1@2024-11-02@A1|L2@2@0@2025-01-31@@2024-11-02@|S-9\n"
              "0004|P2|L1@1@0@2025-01-31@P1@2024-11-02@A1|\n"
              "0005|P4||\n");
    EXPECT_EQ(pantalla.Traer_Lotes_Ventas("Venta", "'N1', 'N2'", "P1"),
              "L1@4@0@2025-01-31@P1@2024-11-02@A1|L2@2@0@2025-01-31@@2024-11-02@");
}

// Each way out of the transaction leaves the database exactly as it was.
TEST(Facturar, EveryFailureBeforeTheCommitRollsBack) {
    struct Caso {
        const char* id;
        std::function<void(Entorno&, kx204::frmKX204&)> prepara;
    };
    struct CamposQueFallan : kx204::host::CamposAdicionales {
        bool Graba(const std::string&, const std::string&, std::string& error) override {
            error = "sin espacio";
            return false;
        }
        void Carga(const std::string&, const std::string&) override {}
    };
    static CamposQueFallan camposQueFallan;
    const Caso casos[] = {
        {"ERR-ID:7500017",
         [](Entorno& e, kx204::frmKX204&) {
             e.AlActualizar("Venta", "Fc_Folio", "NEW.Vn_Folio = 'N2'",
                            "UPDATE Venta SET Oper_Baja = 'OTRO' WHERE Vn_Folio = 'N2'");
         }},
        {"ERR-ID:7500018",
         [](Entorno& e, kx204::frmKX204&) {
             e.Sql("UPDATE Lote SET Lt_Fecha_Caducidad = NULL WHERE Lt_Cve_Lote = 'L2'");
         }},
        {"ERR-ID:7500019", [](Entorno&, kx204::frmKX204& p) { p.Controles.SetCamposAdicionales(&camposQueFallan); }},
        {"ERR-ID:7500020",
         [](Entorno& e, kx204::frmKX204& p) {
             e.Variable("CXC_FORMA_PAGO_CONSOLIDAR_NOTAS", "");
             e.Sql(
                 "INSERT INTO Cuenta_x_Cobrar (Cxc_Folio, Cxc_Tabla, Cxc_Documento, Cl_Cve_Cliente, "
                 "Cxc_Precio_Neto_Importe, Cxc_Precio_Neto_Saldo) VALUES ('X1', 'VENTA', 'N1', 'C1', 10, 10)");
             p.chkConsolidar.SetValue(1);
         }},
        {"ERR-ID:7500020",  // a payment's tax part cannot be written
         [](Entorno& e, kx204::frmKX204& p) {
             e.Sql(
                 "INSERT INTO Cuenta_x_Cobrar (Cxc_Folio, Cxc_Tabla, Cxc_Documento, Cl_Cve_Cliente, "
                 "Cxc_Impuesto_Importe, Cxc_Impuesto_Saldo, Cxc_Precio_Neto_Importe, Cxc_Precio_Neto_Saldo) "
                 "VALUES ('X1', 'VENTA', 'N1', 'C1', 1, 1, 10, 10)");
             e.Sql(
                 "INSERT INTO CUENTA_X_COBRAR_IMPUESTO (Cxc_Folio, Im_Cve_Impuesto, Cxci_Importe, Cxci_Saldo) "
                 "VALUES ('X1', 'IVA', 1, 1)");
             e.Sql("INSERT INTO Pago_Cxc_Impuesto (Pc_Folio, Im_Cve_Impuesto) VALUES ('PC00000001', 'IVA')");
             p.chkConsolidar.SetValue(1);
         }},
        {"ERR-ID:7500021", [](Entorno&, kx204::frmKX204& p) { p.chkConsolidar.SetValue(1); }},
        {"ERR-ID:7500023", [](Entorno&, kx204::frmKX204& p) { p.txt_Fc_Factura.SetNumero("cuarenta"); }},
    };
    for (const Caso& caso : casos) {
        Entorno entorno;
        prueba::PreparaFacturacion(entorno);
        auto& pantalla = prueba::Captura(entorno, {"N1", "N2"});
        caso.prepara(entorno, pantalla);
        const std::string antes = prueba::Huella(entorno);
        entorno.eventos.clear();
        pantalla.Controles.Pulsa(ComandoBarra::Aceptar);
        const auto ids = Ids(entorno);
        EXPECT_EQ(ids.back(), caso.id);
        EXPECT_EQ(prueba::Huella(entorno), antes) << caso.id;
        EXPECT_TRUE(pantalla.Controles.NuevoDocumento()) << caso.id;  // the clerk can mend and try again
        EXPECT_FALSE(entorno.conexion->InTransaction()) << caso.id;
    }
}

TEST(Facturar, HeaderChecksComeInOrderAndWriteNothing) {
    Entorno entorno;
    prueba::PreparaFacturacion(entorno);
    auto& pantalla = prueba::Captura(entorno, {});
    const std::string antes = prueba::Huella(entorno);
    pantalla.Controles.Pulsa(ComandoBarra::Aceptar);
    pantalla.txt_Mn_Descripcion.SetText("");
    pantalla.txt_Fc_Tipo_Cambio.SetText("0");
    pantalla.Controles.Pulsa(ComandoBarra::Aceptar);
    pantalla.txt_Mn_Cve_Moneda.SetText("MXN");
    pantalla.txt_Fc_Tipo_Cambio.SetText("0");
    pantalla.Controles.Pulsa(ComandoBarra::Aceptar);
    EXPECT_EQ(Ids(entorno), (std::vector<std::string>{"ERR-ID:7500014", "ERR-ID:7500011", "ERR-ID:7500012"}));
    EXPECT_EQ(prueba::Huella(entorno), antes);
    EXPECT_EQ(pantalla.Controles.OperacionesCanceladas(), 3);
}

TEST(Facturar, ANoteInvoicedMeanwhileIsNeverInvoicedTwice) {
    Entorno entorno;
    prueba::PreparaFacturacion(entorno);
    auto& pantalla = prueba::Captura(entorno, {"N1", "N2"});
    // Another clerk invoiced N2 after this list was loaded.
    entorno.Sql("UPDATE Venta SET Fc_Folio = 'F000900', Es_Cve_Estado = 'FA' WHERE Vn_Folio = 'N2'");
    const std::string antes = prueba::Huella(entorno);
    pantalla.Controles.Pulsa(ComandoBarra::Aceptar);
    const auto mensajes = entorno.Eventos("message");
    ASSERT_EQ(mensajes.size(), 1u);
    EXPECT_EQ(mensajes[0]["id"], "ERR-ID:7500018");
    EXPECT_EQ(mensajes[0]["prompt"],
              "Controles_Aceptar()\r\nSe encontraron ventas ya facturadas. Debe filtrar de nuevo las ventas a "
              "facturar\r\nFolios: N2");
    EXPECT_EQ(prueba::Huella(entorno), antes);
}

TEST(Facturar, ConsolidationPaysTheNotesReceivablesAndOpensOneForTheInvoice) {
    Entorno entorno;
    prueba::PreparaFacturacion(entorno);
    entorno.Sql(
        "INSERT INTO Cuenta_x_Cobrar (Cxc_Folio, Cxc_Tabla, Cxc_Documento, Cl_Cve_Cliente, Mn_Cve_Moneda, "
        "Cxc_Precio_Descontado_Importe, Cxc_Precio_Descontado_Saldo, Cxc_Impuesto_Importe, Cxc_Impuesto_Saldo, "
        "Cxc_Precio_Neto_Importe, Cxc_Precio_Neto_Saldo) VALUES "
        "('CXC0000001', 'VENTA', 'N1', 'C1', 'MXN', 120, 120, 19.2, 19.2, 139.2, 139.2), "
        "('CXC0000002', 'VENTA', 'N2', 'C1', 'USD', 43, 20.1, 6.88, 3.22, 49.88, 23.32), "
        "('CXC0000003', 'VENTA', 'N2', 'C1', 'MXN', 5, 5, 0.8, 0.8, 5.8, 5.8)");
    entorno.Sql("UPDATE Cuenta_x_Cobrar SET Es_Cve_Estado = 'CA' WHERE Cxc_Folio = 'CXC0000003'");
    entorno.Sql(
        "INSERT INTO CUENTA_X_COBRAR_IMPUESTO (Cxc_Folio, Im_Cve_Impuesto, Cxci_Importe, Cxci_Saldo) VALUES "
        "('CXC0000001', 'IVA', 19.2, 19.2), ('CXC0000002', 'IVA', 6.88, 3.22)");
    auto& pantalla = prueba::Captura(entorno, {"N1", "N2"});
    pantalla.chkConsolidar.Click();
    pantalla.Controles.Pulsa(ComandoBarra::Aceptar);
    EXPECT_EQ(Ids(entorno), std::vector<std::string>{"ERR-ID:7500001"});
    EXPECT_EQ(Filas(entorno,
                    "SELECT Cxc_Folio, Cxc_Precio_Descontado_Saldo, Cxc_Impuesto_Saldo, Cxc_Precio_Neto_Saldo "
                    "FROM Cuenta_x_Cobrar WHERE Cxc_Tabla = 'VENTA' ORDER BY 1"),
              "CXC0000001|0|0|0\nCXC0000002|0|0|0\nCXC0000003|5|0.8|5.8\n");
    EXPECT_EQ(Filas(entorno,
                    "SELECT Pc_Tabla, Pc_Documento, Cxc_Folio, Pc_Importe, Mn_Cve_Moneda, Fp_Cve_Forma_Pago "
                    "FROM Pago_Cxc ORDER BY Cxc_Folio"),
              "FACTURA|F000001|CXC0000001|139.2|MXN|CONN\nFACTURA|F000001|CXC0000002|23.32|USD|CONN\n");
    EXPECT_EQ(Filas(entorno,
                    "SELECT Cxc_Documento, Cxc_Precio_Descontado_Saldo, Cxc_Impuesto_Saldo, "
                    "Cxc_Precio_Neto_Saldo, Cxc_Fecha_Vencimiento, Cxc_Condicion_Pago, Cxc_Parcialidades "
                    "FROM Cuenta_x_Cobrar WHERE Cxc_Tabla = 'FACTURA'"),
              "F000001|140.1|22.42|162.52|2026-04-14|CONT|0\n");
    EXPECT_EQ(Filas(entorno,
                    "SELECT Im_Cve_Impuesto, Cxci_Saldo FROM CUENTA_X_COBRAR_IMPUESTO i JOIN Cuenta_x_Cobrar c "
                    "ON c.Cxc_Folio = i.Cxc_Folio WHERE c.Cxc_Tabla = 'FACTURA'"),
              "IVA|22.42\n");
}

// Only a server can go away: on SQLite the database lives in the clerk's own process.
TEST(Facturar, AServerThatGoesAwayMidAcceptKeepsNothingAndTheClerkIsTold) {
    if (prueba::MotorDePrueba() != prueba::Motor::PostgreSQL) GTEST_SKIP() << "only a server can go away";
    Entorno entorno;
    prueba::PreparaFacturacion(entorno);
    const Entorno testigo(entorno, "ADMIN");
    auto& pantalla = prueba::Captura(entorno, {"N1", "N2"});
    entorno.AlActualizar("Venta", "Fc_Folio", "NEW.Vn_Folio = 'N2'", "PERFORM pg_terminate_backend(pg_backend_pid())");
    const std::string antes = prueba::Huella(const_cast<Entorno&>(testigo));
    pantalla.Controles.Pulsa(ComandoBarra::Aceptar);
    const auto mensajes = entorno.Eventos("message");
    // The second look for cancelled notes fails first, and says what it met.
    ASSERT_EQ(mensajes.size(), 1u);
    EXPECT_EQ(mensajes[0]["id"], "ERR-ID:7500017");
    const std::string prompt = mensajes[0]["prompt"];
    EXPECT_NE(prompt.find("terminating connection"), std::string::npos) << prompt;
    EXPECT_EQ(prueba::Huella(const_cast<Entorno&>(testigo)), antes);
    EXPECT_TRUE(entorno.Eventos("error").empty());
}

// The number the screen proposed gives way to the next free one, and the clerk is told which once the
// invoice is stored; a number the clerk typed is theirs, and when it is taken the invoice is refused.
TEST(Facturar, AProposedNumberTakenMeanwhileGivesWayToTheNextFreeOneATypedOneIsRefused) {
    Entorno entorno;
    prueba::PreparaFacturacion(entorno);
    auto& pantalla = prueba::Captura(entorno, {"N1"});
    EXPECT_EQ(pantalla.txt_Fc_Factura.Factura(), "A000042");
    entorno.Sql("UPDATE Serie SET Sr_Ultimo_Numero = 50");  // another clerk's invoices
    pantalla.Controles.Pulsa(ComandoBarra::Aceptar);
    EXPECT_EQ(Ids(entorno), std::vector<std::string>{""});
    const auto aviso = entorno.Eventos("message").at(0);
    EXPECT_EQ(aviso["prompt"], "El número 42 de la serie A ya fue utilizado; la factura se guardó con el número 51");
    EXPECT_EQ(aviso["buttons"], 64);  // told, not warned: nothing went wrong
    EXPECT_EQ(Filas(entorno, "SELECT Fc_Factura, Fc_Serie, Fc_Numero FROM Factura"), "A000051|A|51\n");
    EXPECT_EQ(Filas(entorno, "SELECT DISTINCT Fc_Factura FROM Venta WHERE Vn_Folio = 'N1'"), "A000051\n");
    EXPECT_EQ(Filas(entorno, "SELECT Sr_Ultimo_Numero FROM Serie WHERE Sr_Serie = 'A'"), "51\n");
    EXPECT_EQ(entorno.Eventos("print").size(), 1u);

    entorno.eventos.clear();
    prueba::Captura(entorno, pantalla, {"N2"});
    pantalla.txt_Fc_Factura.SetNumero("45");
    pantalla.Controles.Pulsa(ComandoBarra::Aceptar);
    EXPECT_EQ(Ids(entorno), std::vector<std::string>{"ERR-ID:7500016"});
    EXPECT_EQ(entorno.Eventos("message")[0]["prompt"], "El número 45 de la serie A ya fue utilizado");
    // The next free number is offered for the next try, and taken as shown.
    EXPECT_EQ(pantalla.txt_Fc_Factura.Factura(), "A000052");
    entorno.eventos.clear();
    pantalla.Controles.Pulsa(ComandoBarra::Aceptar);
    EXPECT_TRUE(entorno.Eventos("message").empty());
    EXPECT_EQ(Filas(entorno, "SELECT Fc_Factura FROM Factura ORDER BY Fc_Factura"), "A000051\nA000052\n");
}
