// What the invoice leaves beside itself: its delivery address, the relation of its lines to the
// sale lines, its additional fields; and the period that decides whether it is written.
#include <gtest/gtest.h>

#include "apoyo/entorno.hpp"
#include "apoyo/notas.hpp"
#include "fila.hpp"
#include "qivera/services/campos_adicionales.hpp"
#include "qivera/services/dialogos.hpp"
#include "qivera/services/interfaz.hpp"

namespace {

using kx204::host::Date;

TEST(DocumentosFactura, DeliveryAddressMustBeOneOfTheClientsAndSavingAgainReplacesIt) {
    prueba::Entorno entorno;
    entorno.Sql(
        "INSERT INTO Direccion_Entrega (Cl_Cve_Cliente, De_Cve_Direccion) VALUES ('C1', '01'), ('C1', '02'), "
        "('C2', '03')");
    qivera::DireccionEntregaQivera direccion(entorno.sesion);
    const std::string guardada =
        "SELECT count(*) OVER (), Dd_Catalogo, Dd_Clave, De_Cve_Direccion FROM Direccion_Documento WHERE Dd_Tabla = "
        "'Factura' AND Dd_Documento = 'F000003'";
    ASSERT_TRUE(direccion.GuardaDireccion("Factura", "F000003", "Cliente", "C1", "02")) << direccion.MensajeError();
    EXPECT_EQ(prueba::Fila(*entorno.conexion, guardada), "1|Cliente|C1|02");
    ASSERT_TRUE(direccion.GuardaDireccion("Factura", "F000003", "Cliente", "C1", "01"));
    EXPECT_EQ(prueba::Fila(*entorno.conexion, guardada), "1|Cliente|C1|01");

    EXPECT_FALSE(direccion.GuardaDireccion("Factura", "F000003", "Cliente", "C1", "03"));
    EXPECT_EQ(direccion.MensajeError(), "La dirección de entrega '03' no es una de las del cliente C1");
    EXPECT_FALSE(direccion.GuardaDireccion("Factura", "F000003", "Cliente", "C1", "' OR ''='"));
    EXPECT_EQ(prueba::Fila(*entorno.conexion, guardada), "1|Cliente|C1|01");
}

TEST(DocumentosFactura, InvoiceLinesAreRelatedOnlyToSaleLinesThatExist) {
    prueba::Entorno entorno;
    prueba::InsertaNota(entorno, {.folio = "NV'01", .lineas = 3});
    qivera::InterfazQivera interfaz(entorno.sesion);
    for (const std::string ajena :
         {"Venta|NV'01|4", "Venta|NV'02|1", "Compra|NV'01|1", "Venta|NV'01|", "Venta|NV'01|1x", "Venta|1", "NV'01"}) {
        EXPECT_FALSE(interfaz.RelacionaRenglon("Factura", "F000003", "0003", ajena)) << ajena;
        EXPECT_EQ(interfaz.UltimoError(), "La referencia " + ajena + " no corresponde a ningún renglón de venta");
    }
    EXPECT_TRUE(interfaz.RelacionaRenglon("Factura", "F000003", "0001", "Venta|NV'01|1"));
    EXPECT_EQ(interfaz.UltimoError(), "");
    EXPECT_EQ(prueba::Fila(*entorno.conexion, "SELECT count(*) FROM Relacion_Renglon"), "1");
}

TEST(DocumentosFactura, OperativePeriodMustCoverTheDateAndBeOpen) {
    prueba::Entorno entorno;
    entorno.Sql(
        "INSERT INTO Periodo_Operativo (Pe_Modulo, Pe_Fecha_Inicio, Pe_Fecha_Final, Pe_Abierto) VALUES "
        "('VENTAS', '2026-01-01', '2026-01-31', 0), ('VENTAS', '2026-02-01', '2026-02-28', 1), "
        "('VENTAS', '2026-03-01', '2026-03-31', 1), ('VENTAS', '2026-03-10', '2026-03-12', 0), "
        "('COMPRAS', '2026-04-01', '2026-04-30', 1)");
    qivera::InterfazQivera interfaz(entorno.sesion);
    const auto valida = [&](int mes, int dia, const std::string& modulo = "VENTAS") {
        return interfaz.ValidaPeriodoOperativo(Date::FromYmd(2026, mes, dia, 17, 30), modulo, 0);
    };
    EXPECT_FALSE(valida(1, 15));
    EXPECT_TRUE(valida(2, 1));
    EXPECT_TRUE(valida(2, 28));
    EXPECT_FALSE(valida(3, 11));  // a closed period within an open one
    EXPECT_TRUE(valida(3, 13));
    EXPECT_FALSE(valida(4, 10));  // only another module's period covers it
    EXPECT_TRUE(valida(4, 10, "COMPRAS"));
    EXPECT_FALSE(valida(2, 10, "V' OR ''='"));
}

TEST(DocumentosFactura, AdditionalFieldsAreStoredPerDocumentAndReadBack) {
    prueba::Entorno entorno;
    qivera::CamposAdicionalesQivera campos(entorno.sesion);
    const std::string cuenta = "SELECT count(*) FROM Campo_Adicional";
    std::string error = "anterior";
    EXPECT_TRUE(campos.Graba("Factura", "F000003", error));
    EXPECT_EQ(error, "");
    EXPECT_EQ(prueba::Fila(*entorno.conexion, cuenta), "0");

    campos.Valores() = {{"Pedido", "PO-'17'"}, {"Entrega", "Mañana"}};
    ASSERT_TRUE(campos.Graba("Factura", "F000003", error)) << error;
    ASSERT_TRUE(campos.Graba("Factura", "F000004", error)) << error;
    campos.Valores() = {{"Pedido", "PO-18"}};
    ASSERT_TRUE(campos.Graba("Factura", "F000004", error)) << error;  // replaces that document's fields

    qivera::CamposAdicionalesQivera otros(entorno.sesion);
    otros.Carga("Factura", "F000003");
    EXPECT_EQ(otros.Valores(), (std::map<std::string, std::string>{{"Entrega", "Mañana"}, {"Pedido", "PO-'17'"}}));
    otros.Carga("Factura", "F000004");
    EXPECT_EQ(otros.Valores(), (std::map<std::string, std::string>{{"Pedido", "PO-18"}}));
    otros.Carga("Factura", "F000005");
    EXPECT_TRUE(otros.Valores().empty());
}

}  // namespace
