#include <gtest/gtest.h>

#include "apoyo/facturacion.hpp"

using kx204::host::ComandoBarra;
using prueba::Entorno;
using prueba::Filas;

namespace {

// An invoice F000001 of notes N1 and N2 made through the screen, which is then back in the query state.
kx204::frmKX204& Facturada(Entorno& entorno) {
    prueba::PreparaFacturacion(entorno);
    auto& pantalla = prueba::Captura(entorno, {"N1", "N2"});
    pantalla.Controles.Pulsa(ComandoBarra::Aceptar);
    entorno.eventos.clear();
    return pantalla;
}

void Consulta(kx204::frmKX204& pantalla, const std::string& folio) {
    pantalla.txtFolio.Teclea(folio);
    pantalla.txtFolio.Confirma();
}

}  // namespace

TEST(ConsultaFactura, ShowsTheStoredInvoiceWithItsNotesTicked) {
    Entorno entorno;
    auto& pantalla = Facturada(entorno);
    entorno.Sql("UPDATE Factura SET Fc_Descuento_Global_Factor = 0.05, Fc_Comentario = 'Entrega en tienda'");
    entorno.Sql("UPDATE Venta SET Es_Cve_Estado = 'CA' WHERE Vn_Folio = 'N2'");  // cancelled afterwards
    Consulta(pantalla, "f000001");
    EXPECT_EQ(pantalla.txtFolio.Text(), "F000001");
    EXPECT_EQ(pantalla.txt_Cl_Cve_Cliente.Text(), "C1");
    EXPECT_EQ(pantalla.txt_Clt_Descripcion.Text(), "Cliente matriz");
    EXPECT_EQ(pantalla.txt_Fc_Factura.Factura(), "A000042");
    EXPECT_EQ(pantalla.txt_Comentario.Text(), "Entrega en tienda");
    EXPECT_EQ(pantalla.txtCondicionVenta.Text(), "CONT");
    EXPECT_EQ(pantalla.dpFecha.Value().ToIso(), "2026-03-15");
    ASSERT_EQ(pantalla.lvNotas.Count(), 1);  // N2 is cancelled: not listed
    EXPECT_TRUE(pantalla.lvNotas.Item(0).checked);
    EXPECT_EQ(pantalla.txtTotal.Text(), "$139.2000");
    EXPECT_EQ(pantalla.txtDescuento_Global.Text(), "$0.0000");  // the ×100 factor until the totals were recomputed
    EXPECT_TRUE(pantalla.Controles.Habilitado(ComandoBarra::Visor));
    EXPECT_TRUE(pantalla.Controles.Habilitado(ComandoBarra::Eliminar));
    EXPECT_EQ(pantalla.Controles.CaptionBoton(2), "");  // not a digital series
    EXPECT_TRUE(entorno.Eventos("dialog").empty());     // no delivery address asked

    pantalla.txtFolio.Teclea("F00000");  // editing the folio drops the invoice
    EXPECT_EQ(pantalla.lvNotas.Count(), 0);
    EXPECT_EQ(pantalla.txt_Cl_Cve_Cliente.Text(), "");
    EXPECT_FALSE(pantalla.Controles.Habilitado(ComandoBarra::Imprimir));

    Consulta(pantalla, "F999999");  // not found: silent
    EXPECT_TRUE(entorno.Eventos("message").empty());
    EXPECT_EQ(pantalla.lvNotas.Count(), 0);
}

TEST(ConsultaFactura, DeleteFollowsTheStateAndThePeriodAndFirmarAnUnsignedDigitalInvoice) {
    Entorno entorno;
    auto& pantalla = Facturada(entorno);
    entorno.Sql("UPDATE Factura SET Es_Cve_Estado = 'FA'");
    Consulta(pantalla, "F000001");
    EXPECT_FALSE(pantalla.Controles.Habilitado(ComandoBarra::Eliminar));

    entorno.Sql("UPDATE Factura SET Es_Cve_Estado = 'ac'");
    entorno.Variable("GEN_VALIDAR_PERIODO_OPERATIVO", "1");
    entorno.Sql(
        "INSERT INTO Periodo_Operativo (Pe_Modulo, Pe_Fecha_Inicio, Pe_Fecha_Final, Pe_Abierto) VALUES "
        "('VENTAS', '2026-03-01', '2026-03-31', 0)");
    entorno.Sql("UPDATE Serie SET Sr_Digital = 1");
    Consulta(pantalla, "F000001");
    EXPECT_FALSE(pantalla.Controles.Habilitado(ComandoBarra::Eliminar));  // closed period
    EXPECT_TRUE(pantalla.Controles.Habilitado(ComandoBarra::Imprimir));
    EXPECT_EQ(pantalla.Controles.CaptionBoton(2), "Firmar");

    entorno.Sql("UPDATE Periodo_Operativo SET Pe_Abierto = 1");
    Consulta(pantalla, "F000001");
    EXPECT_TRUE(pantalla.Controles.Habilitado(ComandoBarra::Eliminar));
}

TEST(ConsultaFactura, ABoundUserSeesOnlyTheirBranchsInvoices) {
    Entorno entorno("CAJERO");
    entorno.Usuario("01", "0101");
    Facturada(entorno);
    entorno.Usuario("02", "0201");  // moved to another branch
    auto& pantalla = entorno.Abre();
    Consulta(pantalla, "F000001");
    const auto avisos = entorno.Eventos("message");
    ASSERT_EQ(avisos.size(), 1u);
    EXPECT_EQ(avisos[0]["title"], "Documento no disponible");
    EXPECT_EQ(avisos[0]["prompt"],
              "Imposible accesar este documento, su acceso se ha restringido a la sucursal: 02\r\n\r\npara mayor "
              "información consulte al administrador del sistema");
    EXPECT_EQ(pantalla.lvNotas.Count(), 0);
    EXPECT_FALSE(pantalla.Controles.Habilitado(ComandoBarra::Imprimir));
}

TEST(ConsultaFactura, PrintsInTheClientsFormat) {
    Entorno entorno;
    auto& pantalla = Facturada(entorno);
    entorno.Variable("FAC_FORMATO_IMPRESION_01", "TICKET");
    Consulta(pantalla, "F000001");
    pantalla.Controles.Pulsa(ComandoBarra::Imprimir);
    ASSERT_EQ(entorno.Eventos("print").size(), 1u);
    EXPECT_EQ(entorno.Eventos("print")[0]["folio"], "F000001");

    pantalla.txtFolio.SetText("NADA");
    pantalla.Controles.SetHabilitado(ComandoBarra::Imprimir, true);
    pantalla.Controles.Pulsa(ComandoBarra::Imprimir);
    const auto mensajes = entorno.Eventos("message");
    ASSERT_EQ(mensajes.size(), 1u);
    EXPECT_EQ(mensajes[0]["id"], "ERR-ID:7500039");
}
