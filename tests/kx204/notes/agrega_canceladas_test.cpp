#include <gtest/gtest.h>

#include "apoyo/notas.hpp"

using kx204::host::ComandoBarra;
using prueba::Entorno;
using prueba::Nota;

namespace {

kx204::frmKX204& EnCaptura(Entorno& entorno) {
    prueba::PreparaCaptura(entorno);
    for (const Nota& nota : {Nota{.folio = "D1"}, Nota{.folio = "D2", .subtotal = "50"},
                             Nota{.folio = "D3", .sucursal = "02"}, Nota{.folio = "D4", .estado = "CA", .lineas = 3},
                             Nota{.folio = "D5", .estado = "CA"}, Nota{.folio = "D6", .estado = "FA"}})
        prueba::InsertaNota(entorno, nota);
    entorno.Sql("UPDATE Venta SET Oper_Baja = 'ADMIN' WHERE Vn_Folio = 'D2' AND Vn_Id = 1");
    auto& pantalla = entorno.Abre();
    pantalla.Controles.Pulsa(ComandoBarra::Nuevo);
    return pantalla;
}

}  // namespace

TEST(AgregaVenta, AddsOneCheckedNoteOfTheBranchWhenAllowed) {
    Entorno entorno;
    auto& pantalla = EnCaptura(entorno);
    pantalla.Controles.Pulsa(ComandoBarra::B3);  // no branch yet: refused before any search window
    auto mensajes = entorno.Eventos("message");
    ASSERT_EQ(mensajes.size(), 1u);
    EXPECT_EQ(mensajes[0]["id"], "ERR-ID:7500032");
    EXPECT_TRUE(entorno.Eventos("dialog").empty());

    pantalla.txt_Sc_Cve_Sucursal.Teclea("01");
    pantalla.txt_Sc_Cve_Sucursal.Confirma();
    entorno.persona.Responde("D1");
    pantalla.Controles.Pulsa(ComandoBarra::B3);
    const auto dialogo = entorno.Eventos("dialog").back();
    EXPECT_EQ(dialogo["kind"], "registro");
    EXPECT_EQ(dialogo["options"], nlohmann::ordered_json::array({"D1"}));  // D2 has a deleted line
    ASSERT_EQ(pantalla.lvNotas.Count(), 1);
    EXPECT_TRUE(pantalla.lvNotas.Item(0).checked);

    entorno.eventos.clear();
    entorno.persona.Responde("D1");
    pantalla.Controles.Pulsa(ComandoBarra::B3);
    mensajes = entorno.Eventos("message");
    ASSERT_EQ(mensajes.size(), 1u);
    EXPECT_EQ(mensajes[0]["id"], "ERR-ID:7500033");
    EXPECT_EQ(pantalla.lvNotas.Count(), 1);

    entorno.eventos.clear();
    pantalla.Controles.Pulsa(ComandoBarra::B3);  // closed without choosing
    EXPECT_TRUE(entorno.Eventos("message").empty());

    entorno.eventos.clear();  // not allowed: nothing at all
    pantalla.PermitirCapturarNotaVenta = false;
    pantalla.Controles_B3Click();
    EXPECT_TRUE(entorno.eventos.empty());
}

TEST(VentasCanceladas, NamesEachCancelledOrDeletedNoteOnce) {
    Entorno entorno;
    auto& pantalla = EnCaptura(entorno);
    EXPECT_EQ(pantalla.ExistenVentasCanceladas("'D1', 'D6'"), "");
    EXPECT_EQ(pantalla.ExistenVentasCanceladas("'D1', 'D4'"),
              "Se encontró 1 venta cancelada. Debe filtrar de nuevo las ventas a facturar\r\nFolios: D4");
    const std::string varias = pantalla.ExistenVentasCanceladas("'D4', 'D2', 'D5', 'D1'");
    EXPECT_EQ(varias.substr(0, varias.find("\r\n")),
              "Se encontraron 3 ventas canceladas. Debe filtrar de nuevo las ventas a facturar");
    entorno.Sql("DROP TABLE Venta");
    EXPECT_EQ(pantalla.ExistenVentasCanceladas("'D1'").rfind("ExistenVentasCanceladas() - \r\n", 0), 0u);
}
