// The in-house control models: events, typing rules, key lookups, toolbar state, focus and groups.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "kx204/host/controls/barra_herramientas.hpp"
#include "kx204/host/controls/campo_texto.hpp"
#include "kx204/host/controls/controles_simples.hpp"
#include "kx204/host/controls/formulario.hpp"
#include "kx204/host/runtime_error.hpp"
#include "qivera/db/base_datos.hpp"

namespace host = kx204::host;
using host::AjustesCampo;
using host::CampoTexto;
using host::ComandoBarra;
using host::Currency;
using host::RuntimeError;
using host::Variant;

namespace {

AjustesCampo Clave(int maxLength) {
    AjustesCampo a;
    a.esclave = a.mayusculas = true;
    a.maxLength = maxLength;
    return a;
}

AjustesCampo Numero(host::TipoDato tipodato, int formato, std::string textoInicial) {
    AjustesCampo a;
    a.tipodato = tipodato;
    a.formato = formato;
    a.textoInicial = std::move(textoInicial);
    return a;
}

}  // namespace

TEST(CampoTexto, TypingAppliesUpperCaseAndCharacterLimitAndChangeFiresOnlyOnChange) {
    CampoTexto clave("clave", 1, Clave(3)), descripcion("descripcion", 1, {});
    clave.SetControlResultado(&descripcion);
    int cambios = 0;
    clave.OnChange = [&] { ++cambios; };
    clave.SetText("abc");  // the program's text is taken as given
    clave.SetText("abc");
    EXPECT_EQ(clave.Text(), "abc");
    EXPECT_EQ(cambios, 1);

    descripcion.SetText("Centro");
    clave.Teclea("ÁÉÍÓÚÑ");
    EXPECT_EQ(clave.Text(), "ÁÉÍ");
    EXPECT_EQ(descripcion.Text(), "");  // a typed key has no description until confirmed
    clave.Teclea("ñáz");
    EXPECT_EQ(clave.Text(), "ÑÁZ");
    clave.Teclea("año 2024");
    clave.Teclea("AÑO");
    EXPECT_EQ(clave.Text(), "AÑO");
    EXPECT_EQ(cambios, 4);

    AjustesCampo libre;
    libre.maxLength = 5;
    CampoTexto comentario("comentario", 1, libre);
    comentario.Teclea("añoñú más");
    EXPECT_EQ(comentario.Text(), "añoñú");
}

TEST(CampoTexto, KeyFieldAcceptsOnlyWhatItsLookupFinds) {
    auto base = qivera::db::AbreBaseDatos("sqlite::memory:");
    base->Execute("CREATE TABLE Prueba_Catalogo (Pc_Clave varchar(20), Pc_Descripcion varchar(40))");
    base->Execute("INSERT INTO Prueba_Catalogo VALUES ('0012', 'Doce'), ('O''NEIL', 'Comercial O''Neil')");
    const std::string sql = "SELECT Pc_Descripcion FROM Prueba_Catalogo WHERE Pc_Clave = '?'";
    CampoTexto clave("clave", 1, Clave(20)), descripcion("descripcion", 1, {});
    clave.SetConexion(base.get());
    clave.SetSql(sql);
    clave.SetControlResultado(&descripcion);
    clave.SetFormatoClave("0000");
    int enters = 0;
    clave.OnEnter = [&] { ++enters; };

    clave.SetText("O'NEIL");  // looked up at once, without Enter
    EXPECT_EQ(descripcion.Text(), "Comercial O'Neil");
    clave.Teclea("o'neil");
    EXPECT_EQ(descripcion.Text(), "");
    EXPECT_TRUE(clave.Confirma());
    EXPECT_EQ(descripcion.Text(), "Comercial O'Neil");
    clave.Teclea("12");
    EXPECT_TRUE(clave.Confirma());
    EXPECT_EQ(clave.Text(), "0012");
    EXPECT_EQ(descripcion.Text(), "Doce");
    EXPECT_EQ(enters, 2);
    for (const char* desconocida : {"X' OR '1'='1", "99", ""}) {
        clave.Teclea(desconocida);
        descripcion.SetText("anterior");
        EXPECT_FALSE(clave.Confirma()) << desconocida;
        EXPECT_EQ(descripcion.Text(), "") << desconocida;
    }
    EXPECT_EQ(enters, 2);

    // A lookup without a description field still decides whether Enter is raised.
    CampoTexto validada("validada", 1, Clave(10));
    validada.SetConexion(base.get());
    validada.SetSql(sql);
    validada.Teclea("0012");
    EXPECT_TRUE(validada.Confirma());
    validada.Teclea("0013");
    EXPECT_FALSE(validada.Confirma());

    // Without a lookup statement any text is confirmed.
    CampoTexto folio("folio", 1, {});
    folio.Teclea("lo que sea");
    EXPECT_TRUE(folio.Confirma());
    folio.Teclea("");
    EXPECT_TRUE(folio.Confirma());
}

TEST(CampoTexto, NumericFieldsShowTheirFormatAndReadBackExactly) {
    CampoTexto importe("importe", 1, Numero(host::TipoDato::Moneda, host::formatos::Importe, "$0.0000"));
    int cambios = 0;
    importe.OnChange = [&] { ++cambios; };
    EXPECT_EQ(importe.Text(), "$0.0000");
    importe.SetValue(Currency::Parse("1234.5"));
    importe.SetValue(1234.5);
    EXPECT_EQ(importe.Text(), "$1,234.5000");
    EXPECT_EQ(importe.Value(), Variant(Currency::Parse("1234.5")));
    EXPECT_EQ(cambios, 1);
    importe.SetValue(1234567.1234);
    EXPECT_EQ(importe.Text(), "$1,234,567.1234");
    EXPECT_EQ(importe.Value(), Variant(Currency::FromScaled(12345671234)));
    importe.SetValue(Currency::Parse("-0.5"));
    EXPECT_EQ(importe.Text(), "-$0.5000");
    EXPECT_EQ(importe.Value(), Variant(Currency::Parse("-0.5")));
    importe.Limpia();
    EXPECT_EQ(importe.Text(), "$0.0000");
    EXPECT_EQ(importe.Value(), Variant(Currency()));

    CampoTexto dias("dias", 1, Numero(host::TipoDato::Entero, host::formatos::Entero, "0"));
    dias.SetValue(-123);
    EXPECT_EQ(dias.Text(), "-123");
    EXPECT_EQ(dias.Value(), Variant(-123));
    dias.Limpia();
    EXPECT_EQ(dias.Text(), "0");
}

TEST(ControlesSimples, CheckBoxAndTabsRaiseClickOnlyOnChange) {
    host::CasillaVerificacion casilla("casilla", 1, "Consolidar");
    int clicks = 0;
    casilla.OnClick = [&] { ++clicks; };
    casilla.SetValue(0);
    casilla.SetValue(1);
    casilla.SetValue(1);
    EXPECT_EQ(clicks, 1);
    casilla.Click();
    EXPECT_EQ(casilla.Value(), 0);
    casilla.Click();
    EXPECT_EQ(casilla.Value(), 1);
    try {
        casilla.SetValue(2);
        ADD_FAILURE() << "value 2 accepted";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.number, 380);
    }
    EXPECT_EQ(casilla.Value(), 1);
    EXPECT_EQ(clicks, 3);

    host::ControlPestanas pestanas("tab", {"Encabezado", "Notas"});
    std::vector<int> anteriores;
    pestanas.OnClick = [&](int anterior) { anteriores.push_back(anterior); };
    pestanas.SetTab(1);
    pestanas.SetTab(1);
    pestanas.SetTab(0);
    EXPECT_THROW(pestanas.SetTab(2), RuntimeError);
    EXPECT_THROW(pestanas.SetTab(-1), RuntimeError);
    EXPECT_EQ(pestanas.Tab(), 0);
    EXPECT_EQ(anteriores, (std::vector<int>{0, 1}));
}

TEST(BarraHerramientas, NewDocumentStateAndRefusedCommands) {
    host::BarraHerramientas barra("Controles", {});
    std::vector<std::pair<ComandoBarra, bool>> vistos;  // command and the state its handler saw
    barra.OnComando = [&](ComandoBarra comando) { vistos.emplace_back(comando, barra.NuevoDocumento()); };
    EXPECT_EQ(barra.Pulsa(ComandoBarra::Nuevo), "");
    EXPECT_EQ(barra.Pulsa(ComandoBarra::Cancelar), "");
    EXPECT_FALSE(barra.NuevoDocumento());
    EXPECT_EQ(vistos, (std::vector<std::pair<ComandoBarra, bool>>{{ComandoBarra::Nuevo, true},
                                                                  {ComandoBarra::Cancelar, false}}));
    vistos.clear();
    EXPECT_NE(barra.Pulsa(ComandoBarra::B2), "");
    barra.SetCaptionBoton(2, "Adicionales");
    EXPECT_EQ(barra.Pulsa(ComandoBarra::B2), "");
    barra.SetCaptionBoton(2, "");
    EXPECT_NE(barra.Pulsa(ComandoBarra::B2), "");
    for (ComandoBarra comando : {ComandoBarra::Imprimir, ComandoBarra::Visor, ComandoBarra::Eliminar}) {
        EXPECT_NE(barra.Pulsa(comando), "");
        barra.SetHabilitado(comando, true);
        EXPECT_EQ(barra.Pulsa(comando), "");
    }
    EXPECT_EQ(vistos.size(), 4u);

    vistos.clear();
    barra.SetCaptionBoton(1, "Uno");
    barra.SetEnabled(false);
    for (ComandoBarra comando :
         {ComandoBarra::Nuevo, ComandoBarra::Imprimir, ComandoBarra::Visor, ComandoBarra::Eliminar,
          ComandoBarra::Aceptar, ComandoBarra::Cancelar, ComandoBarra::Salir, ComandoBarra::B1})
        EXPECT_NE(barra.Pulsa(comando), "");
    EXPECT_TRUE(vistos.empty());
    EXPECT_FALSE(barra.NuevoDocumento());
}

TEST(Formulario, LimpiaGrupoKeepsTheImposedKeyAndHabilitaGrupoEnables) {
    host::Formulario forma("frm", "Prueba");
    auto& sucursal = forma.Crea<CampoTexto>("sucursal", 1, Clave(10));
    auto& sucursalDesc = forma.Crea<CampoTexto>("sucursalDesc", 1, AjustesCampo{});
    auto& cliente = forma.Crea<CampoTexto>("cliente", 1, Clave(10));
    auto& clienteDesc = forma.Crea<CampoTexto>("clienteDesc", 1, AjustesCampo{});
    auto& importe =
        forma.Crea<CampoTexto>("importe", 1, Numero(host::TipoDato::Moneda, host::formatos::Importe, "$0.0000"));
    auto& casilla = forma.Crea<host::CasillaVerificacion>("casilla", 1, "Fechas");
    auto& otro = forma.Crea<CampoTexto>("otro", 2, AjustesCampo{});
    sucursal.SetControlResultado(&sucursalDesc);
    cliente.SetControlResultado(&clienteDesc);
    for (auto [campo, texto] : {std::pair{&sucursal, "S01"},
                                {&sucursalDesc, "Centro"},
                                {&cliente, "C01"},
                                {&clienteDesc, "Cliente uno"},
                                {&importe, "$5.0000"},
                                {&otro, "intacto"}})
        campo->SetText(texto);
    sucursal.SetLocked(true);
    clienteDesc.SetLocked(true);  // locked, but not a key: it is emptied
    casilla.SetValue(1);

    forma.LimpiaGrupo(1);
    EXPECT_EQ(sucursal.Text() + "|" + sucursalDesc.Text() + "|" + cliente.Text() + "|" + clienteDesc.Text() + "|" +
                  importe.Text() + "|" + otro.Text(),
              "S01|Centro|||$0.0000|intacto");
    EXPECT_EQ(casilla.Value(), 0);
    for (const host::Control* control : forma.Contenido()) {
        // The imposed key and its description are untouched; a read-only display keeps its look.
        const bool intacto =
            control == &sucursal || control == &sucursalDesc || control == &otro || control == &clienteDesc;
        EXPECT_EQ(control->Enabled(), intacto) << control->Nombre();
    }

    otro.SetEnabled(false);
    forma.HabilitaGrupo(1);
    for (const host::Control* control : forma.Contenido())
        EXPECT_EQ(control->Enabled(), control->Grupo() == 1) << control->Nombre();
}

TEST(Formulario, FocusGoesOnlyToUsableControlsAndTabWraps) {
    host::Formulario forma("frm", "Prueba");
    auto& externo = forma.Crea<host::Marco>("externo");
    auto& marco = forma.Crea<host::Marco>("marco");
    auto& primero = forma.Crea<CampoTexto>("primero", 1, AjustesCampo{});
    forma.Crea<CampoTexto>("bloqueado", 1, AjustesCampo{}).SetLocked(true);
    forma.Crea<host::Etiqueta>("etiqueta", "Cliente:");
    auto& dentro = forma.Crea<CampoTexto>("dentro", 1, AjustesCampo{});
    auto& apagada = forma.Crea<host::CasillaVerificacion>("apagada", 1, "x");
    auto& boton = forma.Crea<host::BotonPlano>("boton", 1, "Pago");
    marco.SetContenedor(&externo);
    dentro.SetContenedor(&marco);
    externo.SetEnabled(false);
    apagada.SetEnabled(false);

    forma.SetFoco(dentro);
    forma.SetFoco(apagada);
    EXPECT_EQ(forma.Foco(), nullptr);
    forma.SetFoco(primero);
    forma.SetFoco(dentro);
    EXPECT_EQ(forma.Foco(), &primero);
    forma.SiguienteFoco();
    EXPECT_EQ(forma.Foco(), &boton);
    forma.SiguienteFoco();
    EXPECT_EQ(forma.Foco(), &primero);
    externo.SetEnabled(true);
    forma.SiguienteFoco();
    EXPECT_EQ(forma.Foco(), &dentro);

    EXPECT_THROW(forma.Crea<CampoTexto>("primero", 2, AjustesCampo{}), RuntimeError);
    EXPECT_EQ(forma.Busca("primero"), &primero);
    EXPECT_EQ(forma.Contenido().size(), 8u);
}
