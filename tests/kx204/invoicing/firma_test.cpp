#include <gtest/gtest.h>

#include "apoyo/cfdi_prueba.hpp"
#include "apoyo/facturacion.hpp"

using kx204::host::ComandoBarra;
using prueba::Entorno;
using prueba::Filas;

TEST(FirmaFactura, ADigitalInvoiceIsSignedPrintedAndMailed) {
    Entorno entorno;
    prueba::PreparaFacturacion(entorno);
    prueba::ConfiguraCfdi(entorno);
    entorno.Variable("FAC_ENVIAR_DOCUMENTO_EMAIL", "1");
    entorno.Sql("UPDATE Serie SET Sr_Digital = 1");
    auto& pantalla = prueba::Captura(entorno, {"N1"});
    pantalla.Controles.Pulsa(ComandoBarra::Aceptar);
    EXPECT_TRUE(entorno.Eventos("message").empty());
    std::vector<std::string> orden;
    for (const auto& evento : entorno.eventos)
        if (evento["event"] != "dialog") orden.push_back(evento["event"]);
    EXPECT_EQ(orden, (std::vector<std::string>{"sign", "print", "mail"}));
    EXPECT_EQ(Filas(entorno, "SELECT Cd_Tabla, Cd_Documento FROM Comprobante_Digital"), "Factura|F000001\n");
}

TEST(FirmaFactura, AFailedSignatureKeepsTheInvoiceAndPrintsNothingUntilSignedOnDemand) {
    Entorno entorno;
    prueba::PreparaFacturacion(entorno);
    entorno.Variable("FAC_ENVIAR_DOCUMENTO_EMAIL", "1");
    entorno.Sql("UPDATE Serie SET Sr_Digital = 1");
    auto& pantalla = prueba::Captura(entorno, {"N1"});
    pantalla.Controles.Pulsa(ComandoBarra::Aceptar);
    auto mensajes = entorno.Eventos("message");
    ASSERT_EQ(mensajes.size(), 1u);
    EXPECT_EQ(mensajes[0]["id"], "ERR-ID:7500022");
    EXPECT_EQ(mensajes[0]["title"], "Advertencia!");
    EXPECT_EQ(Filas(entorno, "SELECT Fc_Folio FROM Factura"), "F000001\n");  // committed all the same
    EXPECT_TRUE(pantalla.txtFolio.Enabled());
    EXPECT_TRUE(entorno.Eventos("print").empty());
    EXPECT_TRUE(entorno.Eventos("mail").empty());

    // Signed later: the button goes, the mail goes out, then the success message.
    prueba::ConfiguraCfdi(entorno);
    entorno.eventos.clear();
    pantalla.txtFolio.SetText("F000001");
    pantalla.Controles.SetCaptionBoton(2, "Firmar");
    pantalla.Controles.Pulsa(ComandoBarra::B2);
    EXPECT_EQ(pantalla.Controles.CaptionBoton(2), "");
    ASSERT_EQ(entorno.eventos.size(), 4u);
    EXPECT_EQ(entorno.eventos[0]["event"], "sign");
    EXPECT_EQ(entorno.eventos[1]["event"], "print");  // the mail prints the PDF it attaches
    EXPECT_EQ(entorno.eventos[2]["event"], "mail");
    EXPECT_EQ(entorno.eventos[3]["id"], "ERR-ID:7500031");

    // Once signed, signing again is refused and the button stays as it was.
    entorno.eventos.clear();
    pantalla.Controles.SetCaptionBoton(2, "Firmar");
    pantalla.Controles.Pulsa(ComandoBarra::B2);
    mensajes = entorno.Eventos("message");
    ASSERT_EQ(mensajes.size(), 1u);
    EXPECT_EQ(mensajes[0]["id"], "ERR-ID:7500030");
    EXPECT_EQ(pantalla.Controles.CaptionBoton(2), "Firmar");
}
