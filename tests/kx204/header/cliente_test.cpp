#include <gtest/gtest.h>

#include "apoyo/notas.hpp"

using kx204::host::ComandoBarra;
using prueba::Entorno;

namespace {

void PreparaClientes(Entorno& entorno, const std::string& sugerir) {
    prueba::PreparaCaptura(entorno);
    entorno.Variable("VEN_SUGERIR_VENDEDOR", sugerir);
    entorno.Sql("INSERT INTO Segmento (Sg_Cve_Segmento, Sg_Descripcion) VALUES ('S1', 'Mayoreo')");
    entorno.Sql(
        "UPDATE Cliente SET Cl_Razon_Social_1 = 'Matriz SA', Sg_Cve_Segmento = 'S1', Cl_Dias_Credito = 30, "
        "Cl_Limite_Credito = 1000, Vn_Cve_Vendedor = 'V1', Cv_Cve_Condicion_Venta = 'CR30' "
        "WHERE Cl_Cve_Cliente = 'C1'");
    entorno.Sql(
        "UPDATE Cliente SET Cl_Limite_Credito = 0, Vn_Cve_Vendedor = 'V1', Cv_Cve_Condicion_Venta = 'CR30' "
        "WHERE Cl_Cve_Cliente = 'C2'");
    entorno.Sql(
        "INSERT INTO Direccion_Entrega (Cl_Cve_Cliente, De_Cve_Direccion, De_Descripcion) VALUES ('C1', '01', "
        "'Av. Reforma 12, Centro'), ('C2', '01', '')");
}

bool AceptaCliente(kx204::frmKX204& pantalla, const std::string& clave) {
    pantalla.txt_Cl_Cve_Cliente.Teclea(clave);
    return pantalla.txt_Cl_Cve_Cliente.Confirma();
}

}  // namespace

TEST(Cliente, ACreditClientGetsItsDataConditionAndInCaptureItsAddressAndSalesman) {
    Entorno entorno;
    PreparaClientes(entorno, "1");
    auto& pantalla = entorno.Abre();
    pantalla.txt_Cl_Cve_Cliente.SetText("C1");
    pantalla.txt_Cl_Cve_Cliente_Enter();
    EXPECT_EQ(pantalla.txt_Cl_Razon_Social_1.Text(), "Matriz SA");
    EXPECT_EQ(pantalla.txt_Vn_Cve_Vendedor.Text(), "");
    EXPECT_FALSE(pantalla.txtCondicionVenta.Enabled());
    EXPECT_TRUE(entorno.Eventos("dialog").empty());

    pantalla.Controles.Pulsa(ComandoBarra::Nuevo);
    pantalla.txt_Vn_Cve_Vendedor.SetText("OTRO");
    entorno.persona.Responde("01");
    ASSERT_TRUE(AceptaCliente(pantalla, "c1"));
    EXPECT_EQ(pantalla.txt_Clt_Descripcion.Text(), "Cliente matriz");
    EXPECT_EQ(pantalla.txt_Cl_Razon_Social_1.Text(), "Matriz SA");
    EXPECT_EQ(pantalla.txt_Sg_Descripcion.Text(), "Mayoreo");
    EXPECT_EQ(pantalla.txt_Cl_Dias_Credito.Text(), "30");
    EXPECT_EQ(pantalla.txt_Credito_Disponible.Text(), "$1,000.0000");
    EXPECT_TRUE(pantalla.txtCondicionVenta.Enabled());
    EXPECT_EQ(pantalla.txtCondicionVenta.Text(), "CR30");
    EXPECT_EQ(pantalla.txtNCondicionVenta.Text(), "Crédito 30 días");
    EXPECT_EQ(pantalla.DireccionEntrega, "01");
    EXPECT_EQ(pantalla.txt_Vn_Cve_Vendedor.Text(), "V1");
    EXPECT_TRUE(pantalla.txt_Vn_Cve_Vendedor.Enabled());
    const auto dialogos = entorno.Eventos("dialog");
    ASSERT_EQ(dialogos.size(), 1u);
    EXPECT_EQ(dialogos[0]["kind"], "direccion");
    EXPECT_EQ(dialogos[0]["descriptions"], (std::vector<std::string>{"Av. Reforma 12, Centro"}));

    // Changing the key drops everything that came with the client.
    pantalla.txt_Cl_Cve_Cliente.Teclea("C");
    EXPECT_EQ(pantalla.txt_Cl_Razon_Social_1.Text(), "");
    EXPECT_EQ(pantalla.txtCondicionVenta.Text(), "");
    EXPECT_FALSE(pantalla.txtCondicionVenta.Enabled());
    EXPECT_EQ(pantalla.DireccionEntrega, "");
}

TEST(Cliente, WithoutCreditOnlyCashConditionsAndWithoutAddressNoClient) {
    Entorno entorno;
    PreparaClientes(entorno, "2");
    auto& pantalla = entorno.Abre();
    pantalla.Controles.Pulsa(ComandoBarra::Nuevo);
    EXPECT_FALSE(pantalla.txt_Vn_Cve_Vendedor.Enabled());
    entorno.persona.Responde("01");
    ASSERT_TRUE(AceptaCliente(pantalla, "C2"));
    EXPECT_EQ(pantalla.txtCondicionVenta.Filtro(), "Condicion_Venta.Cv_Tipo_Condicion=01");
    EXPECT_EQ(pantalla.txtCondicionVenta.Text(), "CR30");
    EXPECT_EQ(pantalla.txtNCondicionVenta.Text(), "");  // a credit condition is not valid for this client
    EXPECT_EQ(pantalla.txt_Vn_Cve_Vendedor.Text(), "V1");
    EXPECT_FALSE(pantalla.txt_Vn_Cve_Vendedor.Enabled());

    ASSERT_TRUE(AceptaCliente(pantalla, "C1"));  // no address chosen
    EXPECT_EQ(pantalla.txt_Cl_Cve_Cliente.Text(), "");
    EXPECT_EQ(pantalla.txt_Clt_Descripcion.Text(), "");
    EXPECT_EQ(pantalla.DireccionEntrega, "");
}
