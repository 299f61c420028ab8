#include <gtest/gtest.h>

#include <tuple>

#include "apoyo/notas.hpp"

using kx204::host::ComandoBarra;
using prueba::Entorno;
using prueba::Nota;

namespace {

// A screen in New with the branch's notes on the database; currency, branch and warehouse confirmed.
kx204::frmKX204& Captura(Entorno& entorno) {
    prueba::PreparaCaptura(entorno);
    for (const Nota& nota : {Nota{.folio = "A2", .condicion = "CR30", .fecha = "2026-03-01"}, Nota{.folio = "A1"},
                             Nota{.folio = "A3", .moneda = "USD"}, Nota{.folio = "A4", .sucursal = "02"},
                             Nota{.folio = "A5", .estado = "CA"}, Nota{.folio = "A6", .estado = "FA"}})
        prueba::InsertaNota(entorno, nota);
    auto& pantalla = entorno.Abre();
    pantalla.Controles.Pulsa(ComandoBarra::Nuevo);
    for (auto [campo, clave] :
         {std::pair{&pantalla.txt_Sc_Cve_Sucursal, "01"}, {&pantalla.txt_Al_Cve_Almancen, "0101"}}) {
        campo->Teclea(clave);
        campo->Confirma();
    }
    return pantalla;
}

std::vector<std::string> Folios(const kx204::frmKX204& pantalla) {
    std::vector<std::string> folios;
    for (int i = 0; i < pantalla.lvNotas.Count(); ++i) folios.push_back(pantalla.lvNotas.Item(i).text);
    return folios;
}

std::string Clausula(const kx204::frmKX204& pantalla) {
    const std::string& sql = pantalla.sSQL;
    const auto desde = sql.find("WHERE ");
    return sql.substr(desde, sql.find("\nGROUP BY") - desde);
}

}  // namespace

TEST(CargaVentas, ValidatesTheHeaderInOrderAndLeavesTheListAlone) {
    Entorno entorno;
    auto& pantalla = Captura(entorno);
    pantalla.Controles.Pulsa(ComandoBarra::B1);
    ASSERT_EQ(Folios(pantalla), (std::vector<std::string>{"A1", "A2"}));
    pantalla.lvNotas.SetChecked(0, true);

    pantalla.txt_Al_Cve_Almancen.Teclea("0201");  // another branch's warehouse: its lookup finds nothing
    pantalla.txt_Al_Cve_Almancen.Confirma();
    pantalla.txt_Sc_Cve_Sucursal.Teclea("01");  // typed again, not confirmed
    pantalla.txt_Mn_Cve_Moneda.Teclea("");
    pantalla.ssTabQvr.SetTab(1);
    const std::tuple<const char*, kx204::host::CampoTexto*, const char*> pasos[] = {
        {"ERR-ID:7500026", &pantalla.txt_Mn_Cve_Moneda, "MXN"},
        {"ERR-ID:7500027", &pantalla.txt_Sc_Cve_Sucursal, "01"},
        {"ERR-ID:7500028", &pantalla.txt_Al_Cve_Almancen, "0101"},
    };
    for (const auto& [id, campo, valido] : pasos) {
        entorno.eventos.clear();
        pantalla.Controles.Pulsa(ComandoBarra::B1);
        const auto mensajes = entorno.Eventos("message");
        ASSERT_EQ(mensajes.size(), 1u) << id;
        EXPECT_EQ(mensajes[0]["id"], id);
        EXPECT_EQ(mensajes[0]["buttons"], 48);
        EXPECT_EQ(pantalla.ssTabQvr.Tab(), 0);
        EXPECT_EQ(pantalla.Foco(), campo) << id;
        campo->Teclea(valido);
        campo->Confirma();
    }
    EXPECT_EQ(pantalla.lvNotas.Count(), 0);  // the currency change emptied it; nothing reloaded it
    entorno.eventos.clear();
    pantalla.Controles.Pulsa(ComandoBarra::B1);
    EXPECT_TRUE(entorno.Eventos("message").empty());
    EXPECT_EQ(Folios(pantalla), (std::vector<std::string>{"A1", "A2"}));
    EXPECT_EQ(pantalla.ssTabQvr.Tab(), 1);
}

TEST(CargaVentas, ComposesTheClauseWithTheOptionalFilters) {
    Entorno entorno;
    auto& pantalla = Captura(entorno);
    pantalla.txtCondicionVenta.SetText("CR30");
    pantalla.chkFiltrarCondicion.SetValue(1);
    pantalla.chkFechas.SetValue(1);
    pantalla.dpFecha_Inicio.SetValue(kx204::host::Date::FromYmd(2026, 3, 1));
    pantalla.dpFecha_Final.SetValue(kx204::host::Date::FromYmd(2026, 3, 1));
    pantalla.Controles.Pulsa(ComandoBarra::B1);
    EXPECT_EQ(Clausula(pantalla),
              "WHERE    Venta.Es_Cve_Estado not in ('CA','FA','DE') AND    Venta.Fc_Folio = '' AND    "
              "Venta.Mn_Cve_Moneda = 'MXN' AND    Venta.Sc_Cve_Sucursal = '01' AND    Venta.Vn_Condicion_Venta = "
              "'CR30' AND  Venta.Vn_Fecha BETWEEN '2026-03-01' AND '2026-03-01' AND 1 = 1");
    EXPECT_EQ(Folios(pantalla), std::vector<std::string>{"A2"});

    // A quote typed into a key is a literal character, not a way out of the statement.
    pantalla.txtCondicionVenta.SetText("X' OR ''='");
    entorno.eventos.clear();
    pantalla.Controles.Pulsa(ComandoBarra::B1);
    EXPECT_TRUE(entorno.Eventos("message").empty());
    EXPECT_NE(Clausula(pantalla).find("Venta.Vn_Condicion_Venta = 'X'' OR ''''='''"), std::string::npos);
    EXPECT_EQ(pantalla.lvNotas.Count(), 0);
}

TEST(CargaVentas, FindsTheTotalsColumnsByHeader) {
    Entorno entorno;
    auto& pantalla = Captura(entorno);
    entorno.Sql(
        "UPDATE Consulta SET Cs_Texto = 'SELECT Vn_Folio, 1 AS subtotal, 2 AS Total, 3 AS TOTAL, 4 AS x "
        "FROM Venta {where} GROUP BY Vn_Folio' WHERE Cs_Nombre = 'FACTURACION_VENTA_CONSOLIDADA'");
    pantalla.Controles.Pulsa(ComandoBarra::B1);
    EXPECT_EQ(pantalla.ColSubtotal, 1);
    EXPECT_EQ(pantalla.ColTotal, 3);  // the rightmost of two
    EXPECT_EQ(pantalla.ColImpuesto, 0);
    auto mensajes = entorno.Eventos("message");
    ASSERT_EQ(mensajes.size(), 1u);  // only the first missing column is reported
    EXPECT_EQ(mensajes[0]["prompt"], "No existe la columna impuesto, no será posible totalizar");
    EXPECT_EQ(mensajes[0]["title"], "Total");
    EXPECT_EQ(mensajes[0]["id"], "ERR-ID:7500047");

    entorno.eventos.clear();
    pantalla.txt_Mn_Cve_Moneda.Teclea("USD");
    pantalla.txt_Mn_Cve_Moneda.Confirma();
    entorno.Sql("DELETE FROM Venta WHERE Mn_Cve_Moneda = 'USD'");
    pantalla.ssTabQvr.SetTab(0);
    pantalla.Controles.Pulsa(ComandoBarra::B1);
    EXPECT_TRUE(entorno.Eventos("message").empty());  // no rows: no column message
    EXPECT_EQ(pantalla.ColSubtotal + pantalla.ColTotal, 0);
    EXPECT_EQ(pantalla.ssTabQvr.Tab(), 1);
}

TEST(CargaVentas, FailuresAreReportedAndOutsideNewNothingLoads) {
    Entorno entorno;
    auto& pantalla = Captura(entorno);
    entorno.Sql(
        "UPDATE Consulta SET Cs_Texto = 'SELECT * FROM Nada {WHERE}' WHERE Cs_Nombre = "
        "'FACTURACION_VENTA_CONSOLIDADA'");
    pantalla.Controles.Pulsa(ComandoBarra::B1);
    const auto mensajes = entorno.Eventos("message");
    ASSERT_EQ(mensajes.size(), 1u);
    EXPECT_EQ(mensajes[0]["id"], "ERR-ID:7500029");
    EXPECT_EQ(mensajes[0]["prompt"].get<std::string>().rfind("CargaVentas()\r\n", 0), 0u);

    // Outside New neither the header checks nor the broken statement are reached.
    pantalla.Controles.Pulsa(ComandoBarra::Cancelar);
    entorno.eventos.clear();
    pantalla.CargaVentas();
    EXPECT_TRUE(entorno.Eventos("message").empty());
}
