#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "apoyo/entorno.hpp"
#include "qivera/db/sql.hpp"
#include "qivera/script/guion.hpp"
#include "qivera/sesion/acceso.hpp"

using json = nlohmann::ordered_json;

namespace {

// Runs a script on the environment's database and answers the transcript, one event a line.
std::vector<json> Ejecuta(prueba::Entorno& entorno, const std::string& guion) {
    std::ostringstream salida;
    std::istringstream entrada(guion);
    qivera::Guion(*entorno.conexion, salida).EjecutaTodo(entrada);
    std::vector<json> eventos;
    std::istringstream lineas(salida.str());
    for (std::string linea; std::getline(lineas, linea);) eventos.push_back(json::parse(linea));
    return eventos;
}

}  // namespace

TEST(Guion, RunsAScriptAndPrintsTheTranscriptFailuresIncludedUntilExit) {
    prueba::Entorno entorno;
    entorno.Variable("FIN_MONEDA_LOCAL", "MXN");
    entorno.Variable("VEN_ALMACEN_DEFAULT", "0101");
    entorno.Permiso("CHFECHA");
    auto eventos = Ejecuta(entorno, R"({"do":"open","user":"ADMIN","date":"2026-03-15"}
{"do":"toolbar","command":"nuevo"}
{"do":"type","field":"txt_Sc_Cve_Sucursal","text":"01"}
{"do":"enter","field":"txt_Sc_Cve_Sucursal"}
{"do":"type","field":"txtFolio","text":"X"}
{"do":"date","field":"dpFecha","value":"9999-12-31"}
{"do":"dump"}
{"do":"toolbar","command":"b2"}
{"do":"toolbar","command":"cancelar"}
{"do":"sql","query":"SELECT Sc_Cve_Sucursal, Sc_Descripcion FROM Sucursal WHERE Sc_Cve_Sucursal = '01'"}
{"do":"sql","query":"SELECT missing FROM nowhere"}
{"do":"toolbar","command":"salir"}
{"do":"dump"}
)");
    ASSERT_EQ(eventos.size(), 8u);
    EXPECT_EQ(eventos[0], json::parse(R"({"event":"refused","control":"txtFolio","reason":"disabled"})"));
    EXPECT_EQ(eventos[1], json::parse(R"({"event":"refused","control":"dpFecha",
                                          "reason":"out of range: 1900-01-01 to 2999-12-31"})"));
    eventos.erase(eventos.begin() + 1);

    const json& estado = eventos[1];
    EXPECT_EQ(estado["event"], "state");
    EXPECT_EQ(estado["fields"]["txt_Sc_Descripcion"]["text"], "Matriz");
    EXPECT_EQ(estado["fields"]["txt_Sc_Cve_Sucursal"]["enabled"], true);
    EXPECT_EQ(estado["fields"]["txt_Fc_Factura"]["text"], "A000042");
    EXPECT_EQ(estado["fields"]["dpFecha"]["text"], "2026-03-15");
    EXPECT_EQ(estado["focus"], "txt_Sc_Cve_Sucursal");
    EXPECT_EQ(estado["tab"], 0);
    EXPECT_EQ(estado["toolbar"]["nuevo"], true);
    EXPECT_EQ(estado["toolbar"]["captions"]["b1"], "Cargar ventas");
    EXPECT_EQ(estado["checks"]["chkMarcarTodos"]["caption"], "Marcar todos");
    EXPECT_EQ(estado["list"]["columns"].size(), 16u);
    EXPECT_EQ(estado["totals"]["txtTotal"], 0.0);

    EXPECT_EQ(eventos[2]["event"], "refused");  // "Firmar" is not offered
    EXPECT_EQ(eventos[3], json::parse(R"({"event":"rows","columns":["Sc_Cve_Sucursal","Sc_Descripcion"],
                                          "rows":[["01","Matriz"]]})"));
    // A failure is an event and the script goes on; once Exit unloads the screen nothing more reaches it.
    EXPECT_EQ(eventos[4]["event"], "error");
    EXPECT_NE(eventos[4]["description"].get<std::string>().find("nowhere"), std::string::npos);
    EXPECT_EQ(eventos[5], json::parse(R"({"event":"error","description":"La pantalla no está abierta"})"));
    EXPECT_EQ(eventos[6], json::parse(R"({"event":"done"})"));
}

TEST(Guion, RefusesScriptsNoPersonCouldRun) {
    prueba::Entorno entorno;
    for (const char* guion : {R"({"do":"open","user":"ADMIN"})"
                              "\n"
                              R"({"do":"type","field":"txtNoSuch","text":"1"})",
                              R"({"do":"fly"})", "not json", R"({"do":"open"})"}) {
        std::ostringstream salida;
        std::istringstream entrada(guion);
        EXPECT_THROW(qivera::Guion(*entorno.conexion, salida).EjecutaTodo(entrada), qivera::GuionInvalido) << guion;
    }
}

TEST(Guion, AnswersGoToTheQuestionsInOrder) {
    prueba::Entorno entorno;
    std::vector<json> transcrito;
    qivera::PersonaGuionada persona([&](const json& evento) { transcrito.push_back(evento); });
    persona.Responde(7);
    persona.Responde("02");
    EXPECT_EQ(persona.Mensaje("Aviso", 48, "Qivera", ""), 1);  // a lone OK takes no answer
    EXPECT_EQ(persona.Mensaje("¿Seguro?", 4, "Qivera", "ERR-ID:7500001"), 7);
    EXPECT_EQ(persona.Elige("direccion", {"Cliente", "C1", ""}, {"01", "02"}), "02");
    EXPECT_EQ(persona.Mensaje("¿Otra?", 4, "Qivera", ""), 6);  // nothing queued: Yes
    persona.Responde("99");
    EXPECT_EQ(persona.Elige("direccion", {"Cliente", "C1", ""}, {"01", "02"}), "");  // not offered
    ASSERT_EQ(transcrito.size(), 5u);
    EXPECT_EQ(transcrito[1], json::parse(R"({"event":"message","prompt":"¿Seguro?","buttons":4,"title":"Qivera",
                                             "id":"ERR-ID:7500001"})"));
    EXPECT_EQ(transcrito[2]["answer"], "02");
}

// Who may open the screen: a known, active user, with their password when they have one and KX204
// ACCESO. A refused sign-in runs nothing after it and never shows the password.
TEST(Guion, SignsInOnlyKnownActiveUsersWithTheirPassword) {
    prueba::Entorno entorno;
    qivera::GuardaClave(*entorno.conexion, "ADMIN", "Sésamo 1'");
    entorno.Sql("INSERT INTO Usuario (Us_Cve_Usuario, Us_Activo) VALUES ('SINACCESO', 1), ('BAJA', 0)");
    entorno.Sql("INSERT INTO Permiso (Us_Cve_Usuario, Pm_Modulo, Pm_Clave) VALUES ('BAJA', 'KX204', 'ACCESO')");
    const std::pair<std::string, std::string> rechazos[] = {
        {R"({"do":"open","user":"NOBODY"})", "El usuario «NOBODY» no existe."},
        {R"({"do":"open","user":"ADMIN"})", "La contraseña de «ADMIN» no es correcta."},
        {R"({"do":"open","user":"ADMIN","password":"sésamo 1'"})", "La contraseña de «ADMIN» no es correcta."},
        {R"({"do":"open","user":"BAJA"})", "El usuario «BAJA» está inactivo y no puede entrar."},
        {R"({"do":"open","user":"SINACCESO"})",
         "El usuario «SINACCESO» no tiene permiso para abrir la facturación consolidada (KX204 ACCESO)."},
    };
    for (const auto& [abre, motivo] : rechazos) {
        const auto eventos = Ejecuta(entorno, abre + "\n" + R"({"do":"toolbar","command":"nuevo"})");
        ASSERT_EQ(eventos.size(), 3u) << abre;
        EXPECT_EQ(eventos[0], (json{{"event", "refused"}, {"control", "open"}, {"reason", motivo}}));
        EXPECT_EQ(eventos[1], json::parse(R"({"event":"error","description":"La pantalla no está abierta"})"));
        EXPECT_EQ(qivera::PrimerValor(*entorno.conexion, "SELECT count(*) FROM Factura")->ToLong(), 0);
    }
    entorno.Sql("UPDATE Usuario SET Us_Fallos = 0");
    const auto eventos = Ejecuta(entorno, R"({"do":"open","user":"ADMIN","password":"Sésamo 1'"}
{"do":"dump"})");
    EXPECT_EQ(eventos[0]["event"], "state");
    const std::string guardada =
        qivera::PrimerValor(*entorno.conexion, "SELECT Us_Clave FROM Usuario WHERE Us_Cve_Usuario = 'ADMIN'")->ToText();
    EXPECT_EQ(guardada.rfind("scrypt$", 0), 0u);
    EXPECT_EQ(guardada.find("Sésamo"), std::string::npos);
}

// A last failure recorded far ahead (by a clock since turned back) holds no one longer than the longest
// wait; the waits themselves are the sign-in's, tested with clerks at once.
TEST(Guion, AFailureRecordedFarAheadHoldsNoOneBack) {
    prueba::Entorno entorno;
    qivera::GuardaClave(*entorno.conexion, "ADMIN", "buena");
    entorno.Sql("UPDATE Usuario SET Us_Fallos = 5, Us_Ultimo_Fallo = '4102444800'");  // in 2100
    EXPECT_EQ(Ejecuta(entorno, R"({"do":"open","user":"ADMIN","password":"buena"})")[0]["event"], "done");
}

// A clerk with ACCESO alone looks at invoices but may not create, accept or delete one.
TEST(Guion, WithoutFacturarTheClerkMayLookButNotInvoice) {
    prueba::Entorno entorno;
    entorno.Sql("DELETE FROM Permiso WHERE Pm_Clave = 'FACTURAR'");
    const auto eventos = Ejecuta(entorno, R"({"do":"open","user":"ADMIN"}
{"do":"toolbar","command":"nuevo"}
{"do":"dump"})");
    const std::string motivo = "El usuario «ADMIN» no tiene permiso para crear ni eliminar facturas (KX204 FACTURAR).";
    ASSERT_EQ(eventos.size(), 4u);
    EXPECT_EQ(eventos[0],
              (json{{"event", "message"}, {"prompt", motivo}, {"buttons", 16}, {"title", "Qivera"}, {"id", ""}}));
    EXPECT_EQ(eventos[1], (json{{"event", "refused"}, {"control", "Controles.nuevo"}, {"reason", motivo}}));
    EXPECT_EQ(eventos[2]["toolbar"]["nuevo"], false);

    // Nor sign: signing stamps a legal document and mails it.
    entorno.Sql("UPDATE Serie SET Sr_Digital = 1");
    entorno.Sql(
        "INSERT INTO Factura (Fc_Folio, Fc_Factura, Fc_Serie, Fc_Numero, Sc_Cve_Sucursal, Cl_Cve_Cliente) "
        "VALUES ('F000001', 'A000001', 'A', 1, '01', 'C1')");
    const auto firma = Ejecuta(entorno, R"({"do":"open","user":"ADMIN"}
{"do":"type","field":"txtFolio","text":"F000001"}
{"do":"enter","field":"txtFolio"}
{"do":"dump"}
{"do":"toolbar","command":"b2"})");
    ASSERT_EQ(firma.size(), 4u);
    EXPECT_EQ(firma[0]["toolbar"]["captions"]["b2"], "Firmar");
    EXPECT_EQ(firma[firma.size() - 2],
              (json{{"event", "refused"},
                    {"control", "Controles.b2"},
                    {"reason", "El usuario «ADMIN» no tiene permiso para firmar facturas (KX204 FACTURAR)."}}));
    EXPECT_EQ(entorno.conexion->Execute("SELECT count(*) FROM Comprobante_Digital")->Field(0).ToLong(), 0);
}
