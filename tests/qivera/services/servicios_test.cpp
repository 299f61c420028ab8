#include <gtest/gtest.h>

#include "apoyo/entorno.hpp"
#include "kx204/host/runtime_error.hpp"
#include "qivera/services/interfaz.hpp"
#include "qivera/services/servicios.hpp"

using kx204::host::Date;

TEST(Servicios, VariablesReadAsTheirTypeCodeAsks) {
    prueba::Entorno entorno;
    qivera::ServiciosQivera servicios(entorno.sesion);
    entorno.Variable("N", " 12.5 ");
    entorno.Variable("SI", "S");
    entorno.Variable("VACIA", "");
    entorno.Variable("TEXTO", "O'Brien");
    EXPECT_EQ(servicios.LeeVariable("N", 0, "N", "0").ToDouble(), 12.5);
    EXPECT_EQ(servicios.LeeVariable("AUSENTE", 0, "N", "7").ToDouble(), 7);
    EXPECT_TRUE(servicios.LeeVariable("SI", 0, "B", "0").ToBool());
    EXPECT_FALSE(servicios.LeeVariable("AUSENTE", 0, "B", "").ToBool());
    EXPECT_TRUE(servicios.LeeVariable("AUSENTE", 0, "B", "1").ToBool());
    EXPECT_EQ(servicios.LeeVariable("TEXTO", 0, "T", "").ToText(), "O'Brien");
    EXPECT_EQ(servicios.LeeVariable("VACIA", 0, "T", "CONN").ToText(), "");  // configured empty is empty
    EXPECT_EQ(servicios.LeeVariable("AUSENTE", 0, "T", "CONN").ToText(), "CONN");
    EXPECT_THROW(servicios.LeeVariable("TEXTO", 0, "N", "0"), kx204::host::RuntimeError);
}

TEST(Servicios, CatalogLookupsRatesAndSeries) {
    prueba::Entorno entorno;
    entorno.Variable("FIN_MONEDA_LOCAL", "MXN");
    qivera::InterfazQivera qivera(entorno.sesion);
    kx204::host::Interfaz& interfaz = qivera;
    bool encontrado = false;
    EXPECT_EQ(interfaz.BuscaCatalogo("Cliente", "Cl_Cve_Cliente", "C3", "Cl_Descripcion", &encontrado), "Baja matriz");
    EXPECT_TRUE(encontrado);
    EXPECT_EQ(interfaz.BuscaCatalogo("Cliente", "Cl_Cve_Cliente", "C3", "Cl_Descripcion", &encontrado, "", "", "BA"),
              "");
    EXPECT_FALSE(encontrado);
    EXPECT_EQ(interfaz.BuscaCatalogo("Cliente", "Cl_Cve_Cliente", "x' OR '1'='1", "Cl_Descripcion"), "");
    EXPECT_EQ(interfaz.BuscaCatalogo("Cliente", "Cl_Cve_Cliente", "c1", "Cl_Descripcion"), "Cliente matriz");
    EXPECT_THROW(interfaz.BuscaCatalogo("Cliente; DROP TABLE Cliente", "Cl_Cve_Cliente", "C1", "Cl_Descripcion"),
                 kx204::host::RuntimeError);

    EXPECT_EQ(interfaz.TipoCambio("MXN", Date::FromYmd(2020, 1, 1)), 1);
    EXPECT_EQ(interfaz.TipoCambio("USD", Date::FromYmd(2026, 3, 19)), 17.25);
    EXPECT_EQ(interfaz.TipoCambio("USD", Date::FromYmd(2026, 3, 20)), 18.5);
    EXPECT_EQ(interfaz.TipoCambio("USD", Date::FromYmd(2026, 2, 1)), 0);
    EXPECT_THROW(interfaz.ObtenConsulta("NO_EXISTE"), kx204::host::RuntimeError);
}
