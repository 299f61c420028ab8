// Sign-in through the qivera program as many clerks at once, and as clients whose clocks are wrong.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QProcess>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>
#include <regex>

#include "apoyo/base_prueba.hpp"
#include "apoyo/programa.hpp"
#include "qivera/db/archivo_temporal.hpp"
#include "qivera/db/sql.hpp"
#include "qivera/sesion/acceso.hpp"

namespace {

const std::string kIncorrecta = "La contraseña de «ADMIN» no es correcta.";

// A database of this run's engine made by the program, where ADMIN signs in with "buena".
class BaseConClave {
public:
    BaseConClave() {
        const prueba::Corrida init = prueba::Qivera({"init", "--db", QString::fromStdString(base_.Url())});
        EXPECT_EQ(init.estado, 0) << init.errores;
        qivera::GuardaClave(*conexion_, "ADMIN", "buena");
    }

    const std::string& Url() const { return base_.Url(); }
    long Fallos() const {
        return qivera::PrimerValor(*conexion_, "SELECT Us_Fallos FROM Usuario WHERE Us_Cve_Usuario = 'ADMIN'")
            ->ToLong();
    }
    void QuitaClave() const { qivera::GuardaClave(*conexion_, "ADMIN", ""); }
    // As though `fallos` wrong passwords in a row had been given, the last long ago.
    void FallosAntiguos(long fallos) const {
        conexion_->Execute("UPDATE Usuario SET Us_Fallos = " + std::to_string(fallos) + ", Us_Ultimo_Fallo = '1000'");
    }

private:
    prueba::BaseDePrueba base_{prueba::BaseDePrueba::Alcance::Compartida};
    std::unique_ptr<qivera::db::ConexionQt> conexion_ = prueba::Conecta(base_.Url());
};

std::string Apertura(const std::string& clave) {
    return R"({"do":"open","user":"ADMIN","password":")" + clave + "\"}\n";
}

// Starts `qivera script guion`, under faketime's clock `reloj` ("+1d", "-10y") when one is given.
std::unique_ptr<QProcess> Lanza(const std::string& guion, const std::string& url, const QString& reloj = {}) {
    const QStringList orden{"script", QString::fromStdString(guion), "--db", QString::fromStdString(url)};
    auto proceso = std::make_unique<QProcess>();
    if (reloj.isEmpty())
        proceso->start(KX204_QIVERA, orden);
    else
        proceso->start("faketime", QStringList{"-f", reloj, KX204_QIVERA} + orden);
    return proceso;
}

// What the sign-in answered: the refusal's reason, or "done".
std::string Respuesta(QProcess& proceso) {
    proceso.waitForFinished(120000);
    const std::string salida = proceso.readAllStandardOutput().toStdString();
    EXPECT_EQ(proceso.exitCode(), 0) << proceso.readAllStandardError().toStdString();
    const auto evento = nlohmann::ordered_json::parse(salida.substr(0, salida.find('\n')), nullptr, false);
    if (evento.value("event", "") == "refused") return evento.value("reason", "");
    return evento.value("event", salida);
}

// The seconds a refusal tells the user to wait; 0 when it tells no wait.
long Espera(const std::string& motivo) {
    static const std::regex kEspera(
        "Demasiadas contraseñas incorrectas para «ADMIN»: espere (\\d+) segundos e "
        "intente de nuevo\\.");
    std::smatch partes;
    return std::regex_match(motivo, partes, kEspera) ? std::stol(partes[1]) : 0;
}

// One sign-in of a client whose clock is off by `reloj`.
std::string Entra(const BaseConClave& base, const std::string& clave, const QString& reloj = {}) {
    qivera::db::pruebas::ArchivoTemporal guion("guion");
    std::ofstream(guion.Ruta()) << Apertura(clave);
    return Respuesta(*Lanza(guion.Ruta(), base.Url(), reloj));
}

constexpr int kProcesos = 20;

// The answers of kProcesos sign-ins with `clave` at the same moment. Each process blocks on its script, a
// pipe, until every one has started; then all get their line at once.
std::vector<std::string> AlMismoTiempo(const BaseConClave& base, const std::string& clave) {
    qivera::db::pruebas::ArchivoTemporal tuberias("tuberias");
    const std::filesystem::path lugar = std::filesystem::path(tuberias.Ruta()).parent_path();
    std::vector<std::unique_ptr<QProcess>> procesos;
    std::vector<std::ofstream> lineas;
    for (int i = 0; i < kProcesos; ++i) {
        const std::string tuberia = (lugar / ("guion" + std::to_string(i))).string();
        EXPECT_EQ(::mkfifo(tuberia.c_str(), 0600), 0);
        procesos.push_back(Lanza(tuberia, base.Url()));
    }
    for (int i = 0; i < kProcesos; ++i) lineas.emplace_back(lugar / ("guion" + std::to_string(i)));
    for (std::ofstream& linea : lineas) linea << Apertura(clave) << std::flush;
    lineas.clear();
    std::vector<std::string> respuestas;
    for (auto& proceso : procesos) respuestas.push_back(Respuesta(*proceso));
    return respuestas;
}

}  // namespace

// Twenty clerks give a wrong password at the same moment: three are checked, the rest are told to wait.
// Without a password there is nothing to guess, and twenty sign-ins at once all get in.
TEST(Acceso, TwentyAtOnceGetNoMoreThanThreeWrongPasswordsChecked) {
    BaseConClave base;
    int revisadas = 0, esperas = 0;
    for (const std::string& respuesta : AlMismoTiempo(base, "mala")) {
        revisadas += respuesta == kIncorrecta;
        esperas += Espera(respuesta) > 0;
    }
    EXPECT_EQ(revisadas, 3);
    EXPECT_EQ(esperas, kProcesos - 3);
    EXPECT_EQ(base.Fallos(), 3);

    base.QuitaClave();
    const std::vector<std::string> respuestas = AlMismoTiempo(base, "");
    EXPECT_EQ(std::count(respuestas.begin(), respuestas.end(), "done"), kProcesos);
    EXPECT_EQ(base.Fallos(), 0);
}

// The wait is the server's: a client whose clock is a day or ten years off, either way, gets no try
// while others wait, is told no longer a wait, and makes no one else wait longer. Eight wrong passwords
// in a row make the next one's wait the longest, five minutes, which the test never outlasts.
TEST(Acceso, SkewedClientClocksNeitherShortenNorStretchTheWait) {
    BaseConClave base;
    base.FallosAntiguos(8);
    EXPECT_EQ(Entra(base, "mala"), kIncorrecta);
    for (const QString reloj : {"+1d", "-1d", "+10y", "-10y"}) {
        const std::string respuesta = Entra(base, "buena", reloj);
        EXPECT_TRUE(Espera(respuesta) >= 1 && Espera(respuesta) <= 300) << reloj.toStdString() << ": " << respuesta;
    }
    EXPECT_EQ(base.Fallos(), 9);

    // A wrong password from ten years ahead makes the next wait five minutes, not ten years.
    base.FallosAntiguos(8);
    EXPECT_EQ(Entra(base, "mala", "+10y"), kIncorrecta);
    const std::string respuesta = Entra(base, "buena");
    EXPECT_TRUE(Espera(respuesta) >= 1 && Espera(respuesta) <= 300) << respuesta;
    base.FallosAntiguos(8);
    EXPECT_EQ(Entra(base, "buena", "-10y"), "done");
    EXPECT_EQ(base.Fallos(), 0);
}
