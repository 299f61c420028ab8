// Secrets handed to the qivera program: never in what it prints, kept in files of their owner alone,
// and a server's password taken from PostgreSQL's own places rather than from a command line.
#include <gtest/gtest.h>

#include <QProcessEnvironment>
#include <QUrl>
#include <filesystem>
#include <fstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "apoyo/base_prueba.hpp"
#include "apoyo/programa.hpp"
#include "apoyo/salidas.hpp"
#include "qivera/db/archivo_temporal.hpp"
#include "qivera/db/sql.hpp"

namespace {

namespace fs = std::filesystem;

bool Contiene(const std::string& texto, const std::string& parte) { return texto.find(parte) != std::string::npos; }

// What the program tells on standard error about a script of one line.
std::string ErrorDelGuion(const QString& url, const std::string& linea) {
    qivera::db::pruebas::ArchivoTemporal guion("guion");
    std::ofstream(guion.Ruta()) << linea << "\n";
    const prueba::Corrida corrida = prueba::Qivera({"script", QString::fromStdString(guion.Ruta()), "--db", url});
    EXPECT_EQ(corrida.estado, 2) << linea;
    return corrida.errores;
}

fs::perms Permisos(const std::string& ruta) { return fs::status(ruta).permissions() & fs::perms::mask; }

std::string Variable(kx204::host::Connection& conexion, const std::string& nombre) {
    return qivera::PrimerValor(conexion,
                               "SELECT Vr_Valor FROM Variable WHERE Vr_Nombre = " + qivera::LiteralTexto(nombre))
        .value_or(kx204::host::Variant())
        .ToTextOrEmpty();
}

// A ~/.pgpass of its own, made private from the start as libpq demands, for the test server.
class Pgpass {
public:
    explicit Pgpass(const QUrl& servidor) {
        const std::string linea = servidor.host().toStdString() + ":" + std::to_string(servidor.port(5432)) +
                                  ":*:" + servidor.userName().toStdString() + ":" + servidor.password().toStdString() +
                                  "\n";
        const int archivo = ::open(ruta.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        EXPECT_GE(archivo, 0) << ruta;
        EXPECT_EQ(::write(archivo, linea.data(), linea.size()), static_cast<ssize_t>(linea.size()));
        ::close(archivo);
    }
    ~Pgpass() { fs::remove(ruta); }

    const std::string ruta = (fs::temp_directory_path() / ("pgpass-" + std::to_string(::getpid()))).string();
};

// The environment of a program that knows none of the server's passwords, not even from ~/.pgpass.
QProcessEnvironment SinClaves() {
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    entorno.remove("PGPASSWORD");
    entorno.insert("PGPASSFILE", "/nonexistent");
    return entorno;
}

// That environment, where `variable` tells the password after all.
QProcessEnvironment Con(const QString& variable, const QString& valor) {
    QProcessEnvironment entorno = SinClaves();
    entorno.insert(variable, valor);
    return entorno;
}

}  // namespace

TEST(Secretos, NoMessageShowsAPasswordItWasGiven) {
    prueba::BaseDePrueba base(prueba::BaseDePrueba::Alcance::Compartida);
    auto conexion = prueba::Conecta(base.Url());
    const QString url = QString::fromStdString(base.Url());
    ASSERT_EQ(prueba::Qivera({"init", "--db", url}).estado, 0);

    // A malformed URL is shown with its password hidden.
    prueba::Secreto("the password of a malformed URL", "s3cret");
    const std::string malformada = prueba::Qivera({"init", "--db", "postgresql://u:s3cret@…"}).errores;
    EXPECT_TRUE(Contiene(malformada, "postgresql://u:***@")) << malformada;
    EXPECT_FALSE(Contiene(malformada, "s3cret")) << malformada;

    // A script line with a mistake is described without the password it carries.
    const std::string sinOrden = ErrorDelGuion(url, R"({"d0":"open","user":"CAJERO","password":"secreto1"})");
    EXPECT_TRUE(
        Contiene(sinOrden, R"(an action is an object with "do": {"d0":"open","user":"CAJERO","password":"***"})"))
        << sinOrden;
    const std::string sinUsuario = ErrorDelGuion(url, R"({"do":"open","usr":"CAJERO","Pasword":"secreto2"})");
    EXPECT_TRUE(Contiene(sinUsuario, R"(action without "user": {"do":"open","usr":"CAJERO","Pasword":"***"})"))
        << sinUsuario;
    prueba::Secreto("a password in an unreadable script line", "secreto3");
    const std::string ilegible = ErrorDelGuion(url, R"({"do":"open","user":"CAJERO","password":"secreto3})");
    EXPECT_TRUE(Contiene(ilegible, "unreadable line: ")) << ilegible;
    EXPECT_FALSE(Contiene(ilegible, "secreto3")) << ilegible;
}

TEST(Secretos, TheDemoKeyAndItsPasswordFileAreTheirOwnersAlone) {
    prueba::BaseDePrueba base(prueba::BaseDePrueba::Alcance::Compartida);
    const mode_t antes = ::umask(022);  // what a shell usually has
    const prueba::Corrida demo =
        prueba::Qivera({"init", "--demo", "--notes", "2", "--db", QString::fromStdString(base.Url())});
    ::umask(antes);
    ASSERT_EQ(demo.estado, 0) << demo.errores;
    auto conexion = prueba::Conecta(base.Url());
    for (const char* variable : {"CFDI_CSD_LLAVE", "CFDI_CSD_CONTRASENA"}) {
        const std::string ruta = Variable(*conexion, variable);
        EXPECT_EQ(Permisos(ruta), fs::perms::owner_read | fs::perms::owner_write) << variable << ": " << ruta;
    }
}

// The test server asks for a password on TCP (scram-sha-256): with none in the URL, libpq's own places
// give it, and without them the program is refused.
TEST(Secretos, AUrlWithoutAPasswordConnectsThroughPgpassOrPgpassword) {
    const QUrl servidor(QString::fromStdString(prueba::ServidorDePrueba()));
    prueba::BaseDePrueba base(prueba::BaseDePrueba::Alcance::Compartida);
    QUrl sinClave(QString::fromStdString(base.Url()));
    sinClave.setPassword({});
    const QString url = sinClave.toString();
    ASSERT_FALSE(url.contains(servidor.password()));
    const Pgpass pgpass(servidor);

    const prueba::Corrida inicia =
        prueba::Qivera({"init", "--db", url}, {}, Con("PGPASSFILE", QString::fromStdString(pgpass.ruta)));
    EXPECT_EQ(inicia.estado, 0) << inicia.errores;
    EXPECT_EQ(inicia.errores, "");

    qivera::db::pruebas::ArchivoTemporal guion("guion");
    std::ofstream(guion.Ruta()) << R"({"do":"sql","query":"SELECT count(*) FROM Usuario"})"
                                << "\n";
    const QStringList script{"script", QString::fromStdString(guion.Ruta()), "--db", url};
    const prueba::Corrida conVariable = prueba::Qivera(script, {}, Con("PGPASSWORD", servidor.password()));
    EXPECT_EQ(conVariable.estado, 0) << conVariable.errores;
    EXPECT_TRUE(Contiene(conVariable.salida, "\"event\":\"rows\"")) << conVariable.salida;
    const prueba::Corrida sinNada = prueba::Qivera(script, {}, SinClaves());
    EXPECT_EQ(sinNada.estado, 1);
    EXPECT_TRUE(Contiene(sinNada.errores, "password")) << sinNada.errores;

    ::setenv("PGPASSFILE", pgpass.ruta.c_str(), 1);
    const auto conexion = prueba::Conecta(url.toStdString());
    ::unsetenv("PGPASSFILE");
    EXPECT_EQ(qivera::PrimerValor(*conexion, "SELECT current_user")->ToText(), servidor.userName().toStdString());
}
