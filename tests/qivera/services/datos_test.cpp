// The client services over a real database: sale condition, available credit and the
// payment-method dialog.
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "apoyo/entorno.hpp"
#include "qivera/services/datos.hpp"
#include "qivera/services/dialogos.hpp"
#include "qivera/services/interfaz.hpp"

TEST(DatosClientes, SaleConditionOfAnUnknownClientIsAnErrorAndTheNextCallClearsIt) {
    prueba::Entorno entorno;
    qivera::InterfazQivera interfaz(entorno.sesion);
    EXPECT_EQ(interfaz.CondicionVentaCliente("O'Neil", "01", 0), "");
    EXPECT_EQ(interfaz.UltimoError(), "El cliente O'Neil no existe");
    EXPECT_EQ(interfaz.CondicionVentaCliente("C2", "02", 0), "");  // no condition is no failure
    EXPECT_EQ(interfaz.UltimoError(), "");
}

TEST(DatosClientes, AvailableCreditSubtractsOpenBalancesToTheCent) {
    prueba::Entorno entorno;
    entorno.Sql("UPDATE Cliente SET Cl_Limite_Credito = 1000 WHERE Cl_Cve_Cliente IN ('C1', 'C2')");
    entorno.Sql("UPDATE Cliente SET Cl_Limite_Credito = 250.5 WHERE Cl_Cve_Cliente = 'C3'");
    entorno.Sql(
        "INSERT INTO Cuenta_x_Cobrar (Cxc_Folio, Cl_Cve_Cliente, Cxc_Precio_Neto_Saldo, Es_Cve_Estado) VALUES "
        "('X1', 'C1', 100.10, 'AC'), ('X2', 'C1', 0.20, 'PXC'), ('X3', 'C1', 500, 'CA'), ('X4', 'C2', 100.10, 'AC'), "
        "('X5', 'C2', 33.33, 'AC')");
    qivera::DatosQivera datos(entorno.sesion);
    // In doubles these come out as 899.6999999999999 and 866.5699999999999.
    EXPECT_EQ(datos.CreditoDisponible("C1", 0), 899.7);
    EXPECT_EQ(datos.CreditoDisponible("C2", 0), 866.57);
    EXPECT_EQ(datos.CreditoDisponible("C3", 0), 250.5);
    EXPECT_EQ(datos.CreditoDisponible("X' OR '1'='1", 0), 0);
}

TEST(DatosClientes, PaymentMethodIsChosenAmongActiveOnesAndStoredWithStamps) {
    prueba::Entorno entorno;
    entorno.Sql(
        "INSERT INTO Metodo_Pago (Mp_Cve_Metodo_Pago, Mp_Descripcion, Es_Cve_Estado) VALUES ('03', 'Transferencia', "
        "'AC'), ('01', 'Efectivo', 'AC'), ('99', 'Vale', 'BA')");
    entorno.Sql(
        "UPDATE Cliente SET Mp_Cve_Metodo_Pago = '01', Oper_Ult_Modif = 'ALTA', Fecha_Ult_Modif = "
        "'2020-01-01 00:00:00' WHERE Cl_Cve_Cliente = 'C1'");
    auto guardado = [&] {
        auto rs = entorno.conexion->Execute(
            "SELECT Mp_Cve_Metodo_Pago || ' ' || Oper_Ult_Modif || ' ' || "
            "Fecha_Ult_Modif FROM Cliente WHERE Cl_Cve_Cliente = 'C1'");
        return rs->Field(0).ToText();
    };
    qivera::MetodoPagoQivera metodo(entorno.sesion);

    EXPECT_FALSE(metodo.Captura("X9"));
    EXPECT_EQ(metodo.MensajeError(), "El cliente X9 no existe");
    EXPECT_TRUE(entorno.Eventos("dialog").empty());
    for (const char* sinCambio : {"", "99"}) {  // closed, or a retired method that is not offered
        entorno.persona.Responde(sinCambio);
        EXPECT_TRUE(metodo.Captura("C1"));
        EXPECT_EQ(guardado(), "01 ALTA 2020-01-01 00:00:00");
    }
    entorno.persona.Responde("03");
    EXPECT_TRUE(metodo.Captura("C1"));
    EXPECT_EQ(metodo.MensajeError(), "");
    EXPECT_TRUE(std::regex_match(guardado(), std::regex(R"(03 ADMIN 2026-03-15 \d\d:\d\d:\d\d)"))) << guardado();
    const auto dialogo = entorno.Eventos("dialog").back();
    EXPECT_EQ(dialogo["kind"], "metodo_pago");
    EXPECT_EQ(dialogo["args"], (std::vector<std::string>{"C1", "01"}));
    EXPECT_EQ(dialogo["options"], (std::vector<std::string>{"01", "03"}));
    EXPECT_EQ(dialogo["descriptions"], (std::vector<std::string>{"Efectivo", "Transferencia"}));
}
