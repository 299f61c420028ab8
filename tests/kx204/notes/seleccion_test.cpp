#include <gtest/gtest.h>

#include "apoyo/notas.hpp"

using kx204::host::ComandoBarra;
using prueba::Entorno;
using prueba::Nota;

namespace {

// Notes B1 (100 + tax), B2 (200.5 + tax, two lines), B'3 (0.1 + tax) loaded in New.
kx204::frmKX204& Cargada(Entorno& entorno) {
    prueba::PreparaCaptura(entorno);
    entorno.Variable("VEN_SUCURSAL_DEFAULT", "01");
    entorno.Variable("VEN_ALMACEN_DEFAULT", "0101");
    for (const Nota& nota : {Nota{.folio = "B1"}, Nota{.folio = "B2", .subtotal = "100.25", .lineas = 2},
                             Nota{.folio = "B'3", .subtotal = "0.1"}})
        prueba::InsertaNota(entorno, nota);
    auto& pantalla = entorno.Abre();
    pantalla.Controles.Pulsa(ComandoBarra::Nuevo);
    pantalla.Controles.Pulsa(ComandoBarra::B1);
    return pantalla;
}

double Valor(const kx204::host::CampoTexto& campo) { return campo.Value().ToCurrency().ToDouble(); }

}  // namespace

TEST(Seleccion, TotalsFollowTheChecksExactly) {
    Entorno entorno;
    auto& pantalla = Cargada(entorno);
    ASSERT_EQ(pantalla.lvNotas.Count(), 3);
    EXPECT_EQ(pantalla.FoliosSeleccionados(), "");

    pantalla.lvNotas.SetChecked(pantalla.lvNotas.Busca("B2"), true);
    EXPECT_EQ(pantalla.txtTotal.Text(), "$232.5800");
    EXPECT_EQ(pantalla.txtImpuestos.Text(), "$32.0800");
    EXPECT_EQ(pantalla.txtSuma.Text(), "$200.5000");
    EXPECT_EQ(pantalla.txtSubtotal.Text(), "$200.5000");
    EXPECT_EQ(pantalla.FoliosSeleccionados(), "'B2'");

    pantalla.chkMarcarTodos.Click();
    EXPECT_EQ(pantalla.chkMarcarTodos.Caption(), "Desmarcar todos");
    EXPECT_EQ(pantalla.txtTotal.Text(), "$348.6960");
    EXPECT_EQ(Valor(pantalla.txtSubtotal), Valor(pantalla.txtTotal) - Valor(pantalla.txtImpuestos));
    EXPECT_EQ(pantalla.FoliosSeleccionados(), "'B''3', 'B1', 'B2'");

    pantalla.chkMarcarTodos.Click();
    EXPECT_EQ(pantalla.chkMarcarTodos.Caption(), "Marcar todos");
    EXPECT_EQ(pantalla.txtTotal.Text(), "$0.0000");
    EXPECT_EQ(pantalla.FoliosSeleccionados(), "");
}

TEST(Seleccion, SpaceChecksTheSelectedBlockAfterTheCurrentItem) {
    Entorno entorno;
    auto& pantalla = Cargada(entorno);
    auto& lista = pantalla.lvNotas;
    lista.SetChecked(lista.Busca("B1"), true);
    for (const char* folio : {"B1", "B2", "B'3"}) lista.SetSelected(lista.Busca(folio), true);
    lista.SetActual(lista.Busca("B2"));
    int tecla = kx204::teclas::Espacio;
    lista.KeyPress(tecla);
    EXPECT_EQ(tecla, 0);
    EXPECT_EQ(pantalla.FoliosSeleccionados(), "'B''3', 'B1', 'B2'");
    EXPECT_EQ(pantalla.txtTotal.Text(), "$348.6960");

    lista.SetSelected(lista.Busca("B'3"), false);
    lista.KeyPress(tecla = kx204::teclas::Espacio);
    EXPECT_EQ(pantalla.FoliosSeleccionados(), "'B''3'");

    lista.SetActual(-1);
    lista.KeyPress(tecla = kx204::teclas::Espacio);  // no current item: nothing follows
    EXPECT_EQ(pantalla.FoliosSeleccionados(), "'B''3'");
    lista.KeyPress(tecla = 'a');
    EXPECT_EQ(tecla, 'a');
}

TEST(Seleccion, HeaderClicksFlipTheOrderOnEveryClick) {
    Entorno entorno;
    auto& pantalla = Cargada(entorno);
    auto& lista = pantalla.lvNotas;
    const auto primero = [&] { return lista.Item(0).text; };
    lista.ClickEncabezado(1);
    EXPECT_EQ(primero(), "B2");
    EXPECT_EQ(lista.SortOrder(), kx204::host::Orden::Descendente);
    lista.ClickEncabezado(1);
    EXPECT_EQ(primero(), "B'3");
    lista.ClickEncabezado(10);  // another column, in the order opposite to the last one: descending totals
    EXPECT_EQ(lista.SortKey(), 9);
    EXPECT_EQ(primero(), "B2");
}

TEST(Seleccion, CurrencyChangeEmptiesTheListAndTheTotalsBranchChangeOnlyTheRows) {
    Entorno entorno;
    auto& pantalla = Cargada(entorno);
    pantalla.chkMarcarTodos.Click();
    pantalla.txt_Sc_Cve_Sucursal.Teclea("02");
    EXPECT_EQ(pantalla.lvNotas.Count(), 0);
    EXPECT_EQ(pantalla.txtTotal.Text(), "$348.6960");

    pantalla.txt_Sc_Cve_Sucursal.Teclea("01");
    pantalla.txt_Sc_Cve_Sucursal.Confirma();
    pantalla.Controles.Pulsa(ComandoBarra::B1);
    pantalla.chkMarcarTodos.Click();
    pantalla.txt_Mn_Cve_Moneda.Teclea("USD");
    EXPECT_EQ(pantalla.lvNotas.Count(), 0);
    for (auto* total : {&pantalla.txtTotal, &pantalla.txtSuma, &pantalla.txtSubtotal, &pantalla.txtImpuestos,
                        &pantalla.txtDescuento_Global})
        EXPECT_EQ(Valor(*total), 0) << total->Nombre();
    EXPECT_EQ(pantalla.txt_Fc_Tipo_Cambio.Text(), "0");
    EXPECT_FALSE(pantalla.txt_Fc_Tipo_Cambio.Enabled());
}

TEST(Seleccion, ANonNumericTotalIsReportedOnceForTheWholeBlock) {
    Entorno entorno;
    auto& pantalla = Cargada(entorno);
    entorno.Sql(
        "UPDATE Consulta SET Cs_Texto = 'SELECT Vn_Folio, 1 AS SUBTOTAL, 2 AS Impuesto, 0 AS \"DSCTO GLOBAL\", "
        "''n/a'' AS Total FROM Venta {WHERE} GROUP BY Vn_Folio' WHERE Cs_Nombre = "
        "'FACTURACION_VENTA_CONSOLIDADA'");
    pantalla.Controles.Pulsa(ComandoBarra::B1);
    entorno.eventos.clear();
    pantalla.chkMarcarTodos.Click();
    const auto mensajes = entorno.Eventos("message");
    ASSERT_EQ(mensajes.size(), 1u);
    EXPECT_EQ(mensajes[0]["id"], "ERR-ID:7500044");
    EXPECT_EQ(mensajes[0]["prompt"].get<std::string>().rfind("Totalizar() - \r\n", 0), 0u);
    EXPECT_EQ(pantalla.FoliosSeleccionados(), "'B''3', 'B1', 'B2'");
}
