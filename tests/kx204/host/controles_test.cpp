// The in-house control models: typing rules, key lookups, money fields, refused commands and focus.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "apoyo/error_de.hpp"
#include "kx204/host/controls/barra_herramientas.hpp"
#include "kx204/host/controls/campo_texto.hpp"
#include "kx204/host/controls/controles_simples.hpp"
#include "kx204/host/controls/formulario.hpp"
#include "qivera/db/base_datos.hpp"

namespace host = kx204::host;
using host::AjustesCampo;
using host::CampoTexto;
using host::ComandoBarra;
using host::Currency;
using host::Date;
using host::SelectorFecha;
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
    CampoTexto clave("clave", 1, Clave(3));
    int cambios = 0;
    clave.OnChange = [&] { ++cambios; };
    clave.SetText("abc");  // the program's text is taken as given
    clave.SetText("abc");
    EXPECT_EQ(clave.Text(), "abc");
    EXPECT_EQ(cambios, 1);

    clave.Teclea("ÁÉÍÓÚÑ");
    EXPECT_EQ(clave.Text(), "ÁÉÍ");
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
    // Control characters never reach a field, nor count towards its limit.
    clave.Teclea(std::string("a\0b\tc\x7f\r\nd", 10));
    EXPECT_EQ(clave.Text(), "ABC");
}

TEST(SelectorFecha, HoldsOnlyDatesAnInvoiceCanCarry) {
    SelectorFecha fecha("dpFecha", 1);
    fecha.SetValue(Date::FromYmd(2999, 12, 31));
    fecha.SetValue(Date::FromYmd(1900, 1, 1));
    for (const Date fuera : {Date::FromYmd(9999, 12, 31), Date::FromYmd(3000, 1, 1), Date::FromYmd(1899, 12, 31)})
        EXPECT_EQ(prueba::NumeroDeError([&] { fecha.SetValue(fuera); }), 380) << fuera.ToIso();
    EXPECT_EQ(fecha.Value(), Date::FromYmd(1900, 1, 1));
}

TEST(CampoTexto, KeyFieldAcceptsOnlyWhatItsLookupFinds) {
    auto base = qivera::db::AbreBaseDatos("sqlite::memory:");
    base->Execute("CREATE TABLE Prueba_Catalogo (Pc_Clave varchar(20), Pc_Descripcion varchar(40))");
    base->Execute("INSERT INTO Prueba_Catalogo VALUES ('0012', 'Doce')");
    CampoTexto clave("clave", 1, Clave(20)), descripcion("descripcion", 1, {});
    clave.SetConexion(base.get());
    clave.SetSql("SELECT Pc_Descripcion FROM Prueba_Catalogo WHERE Pc_Clave = '?'");
    clave.SetControlResultado(&descripcion);
    clave.SetFormatoClave("0000");
    int enters = 0;
    clave.OnEnter = [&] { ++enters; };

    // Quotes in a key found by its lookup are covered by the screen's branch-with-a-quote test.
    clave.Teclea("12");
    EXPECT_TRUE(clave.Confirma());
    EXPECT_EQ(clave.Text(), "0012");
    EXPECT_EQ(descripcion.Text(), "Doce");
    for (const char* desconocida : {"X' OR '1'='1", "99", ""}) {
        clave.Teclea(desconocida);
        descripcion.SetText("anterior");
        EXPECT_FALSE(clave.Confirma()) << desconocida;
        EXPECT_EQ(descripcion.Text(), "") << desconocida;
    }
    EXPECT_EQ(enters, 1);
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
    importe.Limpia();
    EXPECT_EQ(importe.Text(), "$0.0000");
    EXPECT_EQ(importe.Value(), Variant(Currency()));
}

TEST(BarraHerramientas, RefusedCommandsNeverReachTheHandler) {
    host::BarraHerramientas barra("Controles", {});
    int vistos = 0;
    barra.OnComando = [&](ComandoBarra) { ++vistos; };
    EXPECT_NE(barra.Pulsa(ComandoBarra::B2), "");  // a button without a caption is not there
    barra.SetCaptionBoton(2, "Adicionales");
    EXPECT_EQ(barra.Pulsa(ComandoBarra::B2), "");
    EXPECT_NE(barra.Pulsa(ComandoBarra::Eliminar), "");
    barra.SetHabilitado(ComandoBarra::Eliminar, true);
    EXPECT_EQ(barra.Pulsa(ComandoBarra::Eliminar), "");
    barra.SetEnabled(false);
    for (ComandoBarra comando : {ComandoBarra::Nuevo, ComandoBarra::Eliminar, ComandoBarra::Aceptar, ComandoBarra::B2})
        EXPECT_NE(barra.Pulsa(comando), "");
    EXPECT_EQ(vistos, 2);
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
}
