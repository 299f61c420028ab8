#include <functional>

#include <gtest/gtest.h>

#include "apoyo/facturacion.hpp"

using kx204::host::ComandoBarra;
using prueba::Entorno;
using prueba::Filas;

namespace {

// What deleting an invoice must give back: the notes and their receivables as they were.
std::string Notas(Entorno& entorno) {
    return Filas(entorno, "SELECT Vn_Folio, Vn_Id, Es_Cve_Estado, Fc_Folio, Fc_Factura FROM Venta ORDER BY 1, 2") +
           Filas(entorno, "SELECT Vn_Folio, Es_Cve_Estado, Fc_Folio, Fc_Factura FROM Venta_Encabezado ORDER BY 1") +
           Filas(entorno,
                 "SELECT Cxc_Folio, Es_Cve_Estado, Cxc_Precio_Descontado_Saldo, Cxc_Impuesto_Saldo, "
                 "Cxc_Precio_Neto_Saldo FROM Cuenta_x_Cobrar WHERE Cxc_Tabla = 'VENTA' ORDER BY 1") +
           Filas(entorno,
                 "SELECT i.Cxc_Folio, i.Im_Cve_Impuesto, i.Cxci_Saldo FROM CUENTA_X_COBRAR_IMPUESTO i JOIN "
                 "Cuenta_x_Cobrar c ON c.Cxc_Folio = i.Cxc_Folio WHERE c.Cxc_Tabla = 'VENTA' ORDER BY 1, 2");
}

void ConCuentas(Entorno& entorno) {
    entorno.Sql(
        "INSERT INTO Cuenta_x_Cobrar (Cxc_Folio, Cxc_Tabla, Cxc_Documento, Cl_Cve_Cliente, Mn_Cve_Moneda, "
        "Cxc_Precio_Descontado_Importe, Cxc_Precio_Descontado_Saldo, Cxc_Impuesto_Importe, Cxc_Impuesto_Saldo, "
        "Cxc_Precio_Neto_Importe, Cxc_Precio_Neto_Saldo) VALUES "
        "('CXC0000001', 'VENTA', 'N1', 'C1', 'MXN', 120, 120, 19.2, 19.2, 139.2, 139.2), "
        "('CXC0000002', 'VENTA', 'N2', 'C1', 'MXN', 43, 20.1, 6.88, 3.22, 49.88, 23.32)");
    entorno.Sql(
        "INSERT INTO CUENTA_X_COBRAR_IMPUESTO (Cxc_Folio, Im_Cve_Impuesto, Cxci_Importe, Cxci_Saldo) VALUES "
        "('CXC0000001', 'IVA', 19.2, 19.2), ('CXC0000002', 'IVA', 6.88, 3.22)");
}

kx204::frmKX204& Consolidada(Entorno& entorno) {
    prueba::PreparaFacturacion(entorno);
    ConCuentas(entorno);
    auto& pantalla = prueba::Captura(entorno, {"N1", "N2"});
    pantalla.chkConsolidar.SetValue(1);
    pantalla.Controles.Pulsa(ComandoBarra::Aceptar);
    pantalla.txtFolio.Teclea("F000001");
    pantalla.txtFolio.Confirma();
    entorno.eventos.clear();
    return pantalla;
}

}  // namespace

TEST(EliminarFactura, TheRoundTripLeavesNotesAndReceivablesAsTheyWereAndTheyInvoiceAgain) {
    Entorno entorno;
    prueba::PreparaFacturacion(entorno);
    ConCuentas(entorno);
    const std::string antes = Notas(entorno);
    entorno.Sql("DELETE FROM Cuenta_x_Cobrar");
    entorno.Sql("DELETE FROM CUENTA_X_COBRAR_IMPUESTO");
    Entorno otro;  // the same case, invoiced, shown and deleted
    auto& pantalla = Consolidada(otro);
    ASSERT_TRUE(pantalla.Controles.Habilitado(ComandoBarra::Eliminar));
    pantalla.Controles.Pulsa(ComandoBarra::Eliminar);
    EXPECT_TRUE(otro.Eventos("message").empty());
    EXPECT_EQ(Notas(otro), antes);
    EXPECT_EQ(Filas(otro,
                    "SELECT Es_Cve_Estado FROM Factura UNION ALL SELECT Es_Cve_Estado FROM Cuenta_x_Cobrar "
                    "WHERE Cxc_Tabla = 'FACTURA' UNION ALL SELECT DISTINCT Es_Cve_Estado FROM Pago_Cxc"),
              "CA\nCA\nCA\n");  // kept for the record, cancelled
    EXPECT_TRUE(pantalla.txtFolio.Enabled());
    EXPECT_EQ(pantalla.txtFolio.Text(), "");

    auto& otra = prueba::Captura(otro, {"N1", "N2"});
    otra.Controles.Pulsa(ComandoBarra::Aceptar);
    EXPECT_EQ(Filas(otro, "SELECT DISTINCT Fc_Folio FROM Venta WHERE Vn_Folio IN ('N1', 'N2')"), "F000002\n");
}

TEST(EliminarFactura, ACancelledNoteIsReleasedButStaysCancelled) {
    Entorno entorno;
    prueba::PreparaFacturacion(entorno);
    auto& pantalla = prueba::Captura(entorno, {"N1", "N2"});
    pantalla.Controles.Pulsa(ComandoBarra::Aceptar);
    entorno.Sql("UPDATE Venta SET Es_Cve_Estado = 'CA' WHERE Vn_Folio = 'N2'");
    pantalla.txtFolio.Teclea("F000001");
    pantalla.txtFolio.Confirma();
    pantalla.Controles.Pulsa(ComandoBarra::Eliminar);
    EXPECT_EQ(Filas(entorno,
                    "SELECT DISTINCT Vn_Folio, Es_Cve_Estado, Fc_Folio FROM Venta WHERE Vn_Folio IN ('N1', "
                    "'N2') ORDER BY 1"),
              "N1|AC|\nN2|CA|\n");
}

// The invoice is signed and its digital document still cancellable: a refused or failed deletion
// must leave the document as it was too.
TEST(EliminarFactura, EveryFailureRollsBackAndKeepsTheInvoiceShown) {
    struct Caso {
        const char* id;
        std::function<void(Entorno&)> prepara;
    };
    const Caso casos[] = {
        {"ERR-ID:7500035",
         [](Entorno& e) {
             e.Sql(
                 "INSERT INTO Pago_Cxc (Pc_Folio, Cxc_Folio, Pc_Tabla, Pc_Documento, Pc_Importe) SELECT "
                 "'PC-CLIENTE', Cxc_Folio, 'RECIBO', 'R1', 1 FROM Cuenta_x_Cobrar WHERE Cxc_Tabla = 'FACTURA'");
         }},
        {"ERR-ID:7500037", [](Entorno& e) { e.Sql("UPDATE Factura SET Es_Cve_Estado = 'CA'"); }},
        {"ERR-ID:7500038", [](Entorno& e) { e.FallaAlActualizar("Venta_Encabezado", "disco lleno"); }},
    };
    for (const Caso& caso : casos) {
        Entorno entorno;
        auto& pantalla = Consolidada(entorno);
        entorno.Sql("UPDATE Serie SET Sr_Digital = 1");
        entorno.Sql(
            "INSERT INTO Comprobante_Digital (Cd_Tabla, Cd_Documento, Cd_Fecha) VALUES ('Factura', 'F000001', '" +
            entorno.sesion.Ahora().ToIsoDateTime() + "')");
        caso.prepara(entorno);
        const std::string antes = prueba::Huella(entorno) + Notas(entorno);
        pantalla.Controles_Eliminar();
        const auto mensajes = entorno.Eventos("message");
        ASSERT_EQ(mensajes.size(), 1u) << caso.id;
        EXPECT_EQ(mensajes[0]["id"], caso.id);
        EXPECT_EQ(prueba::Huella(entorno) + Notas(entorno), antes) << caso.id;
        EXPECT_EQ(pantalla.txtFolio.Text(), "F000001") << caso.id;
        EXPECT_FALSE(entorno.conexion->InTransaction());
    }
}

TEST(EliminarFactura, ASignedInvoiceIsDeletedOnlyWhileItsDigitalDocumentCanBeCancelled) {
    for (const char* firmada : {"", "2026-03-02 10:00:00", "2026-01-10 10:00:00"}) {
        Entorno entorno;
        prueba::PreparaFacturacion(entorno);
        entorno.Sql("UPDATE Serie SET Sr_Digital = 1");
        auto& pantalla = prueba::Captura(entorno, {"N1"});
        pantalla.Controles.Pulsa(ComandoBarra::Aceptar);  // no key configured: stored unsigned
        if (*firmada != '\0')
            entorno.Sql(std::string("INSERT INTO Comprobante_Digital (Cd_Tabla, Cd_Documento, Cd_Fecha) VALUES "
                                    "('Factura', 'F000001', '") +
                        firmada + "')");
        pantalla.txtFolio.Teclea("F000001");
        pantalla.txtFolio.Confirma();
        entorno.eventos.clear();
        pantalla.Controles.Pulsa(ComandoBarra::Eliminar);
        const bool cancelable = std::string(firmada).rfind("2026-01", 0) != 0;
        EXPECT_EQ(Filas(entorno, "SELECT Es_Cve_Estado FROM Factura"), cancelable ? "CA\n" : "AC\n") << firmada;
        if (*firmada != '\0') {
            EXPECT_EQ(Filas(entorno, "SELECT Cd_Cancelado FROM Comprobante_Digital"), cancelable ? "1\n" : "0\n");
        }
        const auto mensajes = entorno.Eventos("message");
        if (cancelable) {
            EXPECT_TRUE(mensajes.empty()) << firmada;
        } else {
            ASSERT_EQ(mensajes.size(), 1u);
            EXPECT_EQ(mensajes[0]["buttons"], 48);
            EXPECT_EQ(mensajes[0]["prompt"], "El comprobante digital de la factura F000001 ya no puede cancelarse");
            EXPECT_EQ(pantalla.txtFolio.Text(), "F000001");
        }
    }
}
