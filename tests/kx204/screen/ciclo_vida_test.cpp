#include <gtest/gtest.h>

#include "apoyo/entorno.hpp"
#include "apoyo/error_de.hpp"
#include "kx204/host/runtime_error.hpp"

using kx204::host::ComandoBarra;
using prueba::Entorno;

namespace {

bool SoloFolioHabilitado(const kx204::frmKX204& pantalla) {
    for (const kx204::host::Control* control : pantalla.Contenido()) {
        const auto* campo = dynamic_cast<const kx204::host::CampoTexto*>(control);
        if (campo != nullptr && campo->Enabled() && !campo->Locked() && campo != &pantalla.txtFolio) return false;
    }
    return pantalla.txtFolio.Enabled() && !pantalla.dpFecha.Enabled();
}

}  // namespace

TEST(Pantalla, OneScreenPerComponentAndTheHostContract) {
    Entorno entorno;
    entorno.componente = std::make_unique<kx204::Componente>(entorno.fabrica);
    kx204::Pantalla pantalla(*entorno.componente);
    kx204::frmKX204* primera = pantalla.GetPantalla();
    ASSERT_NE(primera, nullptr);
    primera->txtFolio.SetText("X");  // a second load would have emptied nothing, but a new screen would
    EXPECT_EQ(kx204::Pantalla(*entorno.componente).GetPantalla(), primera);
    EXPECT_EQ(primera->txtFolio.Text(), "X");

    EXPECT_EQ(prueba::NumeroDeError([&] { primera->Transaccion(); }), kx204::host::errores::ObjectRequired);
    primera->SetPadre(&entorno.ventana);
    EXPECT_EQ(primera->Transaccion(), "KX204");

    primera->Controles.Pulsa(ComandoBarra::Salir);
    EXPECT_TRUE(entorno.ventana.Descargada());
}

TEST(Pantalla, LoadReadsConfigurationWithItsDefaults) {
    Entorno sinVariables;
    auto& omision = sinVariables.Abre();
    EXPECT_EQ(omision.txtFolio.AyudaBusqueda(), "F2");
    EXPECT_EQ(omision.txt_Fc_Tipo_Cambio.Value().ToDouble(), 1);
    EXPECT_EQ(omision.dpFecha.Value().ToIso(), "2026-03-15");
    EXPECT_TRUE(SoloFolioHabilitado(omision));
    EXPECT_EQ(omision.Foco(), &omision.txtFolio);

    Entorno configurado;
    configurado.Variable("VEN_PERMITIR_CAPTURAR_NOTA_VENTA", "");  // empty reads as false, not a failure
    configurado.Variable("FTO_CLIENTE", "000000");
    configurado.Permiso("CHFECHA");
    configurado.Permiso("KEYF2");
    auto& pantalla = configurado.Abre();
    EXPECT_FALSE(pantalla.PermitirCapturarNotaVenta);
    EXPECT_TRUE(pantalla.CambiarFecha);
    EXPECT_EQ(pantalla.txtFolio.AyudaBusqueda(), "");
    EXPECT_EQ(pantalla.txt_Cl_Cve_Cliente.FormatoClave(), "000000");
}

TEST(Pantalla, NewPreparesAnEmptyInvoiceCancelReturnsToQueryAndAForeignCurrencyTakesItsRate) {
    Entorno entorno;
    entorno.Variable("FIN_MONEDA_LOCAL", "MXN");
    entorno.Variable("VEN_SUCURSAL_DEFAULT", "01");
    entorno.Variable("VEN_ALMACEN_DEFAULT", "0101");
    auto& pantalla = entorno.Abre();

    pantalla.Controles.Pulsa(ComandoBarra::Nuevo);
    EXPECT_TRUE(pantalla.Controles.NuevoDocumento());
    EXPECT_FALSE(pantalla.txtFolio.Enabled());
    EXPECT_EQ(pantalla.txt_Mn_Cve_Moneda.Text(), "MXN");
    EXPECT_EQ(pantalla.txt_Mn_Descripcion.Text(), "Peso");
    EXPECT_FALSE(pantalla.txt_Fc_Tipo_Cambio.Enabled());  // local currency: rate 1, not editable
    EXPECT_EQ(pantalla.txt_Fc_Tipo_Cambio.Value().ToDouble(), 1);
    EXPECT_EQ(pantalla.txt_Sc_Cve_Sucursal.Text(), "01");
    EXPECT_EQ(pantalla.txt_Sc_Descripcion.Text(), "Matriz");
    EXPECT_EQ(pantalla.txt_Al_Cve_Almancen.Text(), "0101");
    EXPECT_FALSE(pantalla.dpFecha.Enabled());  // no CHFECHA
    EXPECT_TRUE(pantalla.txt_Cl_Cve_Cliente.Enabled());
    EXPECT_TRUE(pantalla.lvNotas.MultiSelect());

    pantalla.Controles.Pulsa(ComandoBarra::Cancelar);
    EXPECT_TRUE(SoloFolioHabilitado(pantalla));
    EXPECT_FALSE(pantalla.Controles.NuevoDocumento());
    EXPECT_EQ(pantalla.txt_Sc_Cve_Sucursal.Text(), "");
    EXPECT_EQ(pantalla.txt_Fc_Tipo_Cambio.Text(), "0");  // the emptied currency's own reset comes last
    EXPECT_FALSE(pantalla.lvNotas.MultiSelect());
    EXPECT_EQ(pantalla.Foco(), &pantalla.txtFolio);

    pantalla.Controles.Pulsa(ComandoBarra::Nuevo);
    pantalla.txt_Mn_Cve_Moneda.Teclea("usd");
    EXPECT_EQ(pantalla.txt_Fc_Tipo_Cambio.Text(), "0");
    EXPECT_TRUE(pantalla.txt_Mn_Cve_Moneda.Confirma());
    EXPECT_EQ(pantalla.txt_Fc_Tipo_Cambio.Text(), "$17.2500");  // the rate in force
    EXPECT_TRUE(pantalla.txt_Fc_Tipo_Cambio.Enabled());
}

TEST(Pantalla, BoundUserGetsTheirBranchLockedOnEveryActivation) {
    Entorno entorno("CAJERO");
    entorno.Variable("VEN_SUCURSAL_DEFAULT", "02");
    entorno.Usuario("01", "0101");
    auto& pantalla = entorno.Abre();
    EXPECT_EQ(pantalla.txt_Sc_Cve_Sucursal.Text(), "01");
    EXPECT_TRUE(pantalla.txt_Sc_Cve_Sucursal.Locked());
    EXPECT_EQ(pantalla.txt_Sc_Descripcion.Text(), "Matriz");
    EXPECT_TRUE(pantalla.txt_Al_Cve_Almancen.Locked());

    pantalla.Controles.Pulsa(ComandoBarra::Nuevo);
    EXPECT_EQ(pantalla.txt_Sc_Cve_Sucursal.Text(), "01");  // neither emptied nor replaced by the default
    EXPECT_EQ(pantalla.txt_Sc_Descripcion.Text(), "Matriz");
    EXPECT_EQ(pantalla.txt_Al_Cve_Almancen.Text(), "0101");

    // Another branch's client and a dropped one (BA) are refused.
    for (const char* otroOBaja : {"C2", "C3"}) {
        pantalla.txt_Cl_Cve_Cliente.Teclea(otroOBaja);
        EXPECT_FALSE(pantalla.txt_Cl_Cve_Cliente.Confirma()) << otroOBaja;
        EXPECT_EQ(pantalla.txt_Clt_Descripcion.Text(), "");
    }
    pantalla.Controles.Pulsa(ComandoBarra::Cancelar);
    pantalla.Form_Activate();
    EXPECT_EQ(pantalla.txt_Sc_Cve_Sucursal.Text(), "01");
    EXPECT_TRUE(pantalla.txt_Sc_Cve_Sucursal.Locked());
}

TEST(Pantalla, QuotesInTheUsersBranchStayInsideTheirLiteral) {
    Entorno entorno("CAJERO");
    entorno.Sql("INSERT INTO Sucursal (Sc_Cve_Sucursal, Sc_Descripcion) VALUES ('O''X', 'Comilla')");
    entorno.Sql("INSERT INTO Cliente (Cl_Cve_Cliente, Cl_Descripcion, Sc_Cve_Sucursal) VALUES ('Q1', 'Q', 'O''X')");
    entorno.Usuario("O'X", "");
    auto& pantalla = entorno.Abre();
    EXPECT_EQ(pantalla.txt_Sc_Descripcion.Text(), "Comilla");
    pantalla.Controles.Pulsa(ComandoBarra::Nuevo);
    pantalla.txt_Cl_Cve_Cliente.Teclea("Q1");
    EXPECT_TRUE(pantalla.txt_Cl_Cve_Cliente.Confirma());
}

TEST(Pantalla, NewReportsAFailureAndKeepsWhatItDid) {
    Entorno entorno;
    auto& pantalla = entorno.Abre();
    entorno.Sql("DROP TABLE Variable");
    pantalla.Controles.Pulsa(ComandoBarra::Nuevo);
    const auto mensajes = entorno.Eventos("message");
    ASSERT_EQ(mensajes.size(), 1u);
    EXPECT_EQ(mensajes[0]["title"], "Controles_Nuevo()");
    EXPECT_EQ(mensajes[0]["id"], "ERR-ID:7500040");
    EXPECT_EQ(mensajes[0]["buttons"], 16);
    EXPECT_NE(mensajes[0]["prompt"].get<std::string>().find("Variable"), std::string::npos);
    EXPECT_FALSE(pantalla.txtFolio.Enabled());
    EXPECT_TRUE(pantalla.txt_Cl_Cve_Cliente.Enabled());
}

TEST(Pantalla, RecordViewerShowsTheTypedFolio) {
    Entorno entorno;
    auto& pantalla = entorno.Abre();
    pantalla.txtFolio.Teclea("f'1");
    pantalla.Controles.SetHabilitado(ComandoBarra::Visor, true);
    EXPECT_EQ(pantalla.Controles.Pulsa(ComandoBarra::Visor), "");
    const auto dialogos = entorno.Eventos("dialog");
    ASSERT_EQ(dialogos.size(), 1u);
    EXPECT_EQ(dialogos[0]["kind"], "visor");
    EXPECT_EQ(dialogos[0]["args"], nlohmann::ordered_json::array({"Factura", "Fc_Folio", "F'1"}));
}
