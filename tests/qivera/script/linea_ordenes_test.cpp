// The qivera program itself, run as a newcomer or an integrator would run it.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <filesystem>
#include <fstream>

#include "apoyo/base_prueba.hpp"
#include "qivera/db/archivo_temporal.hpp"
#include "qivera/db/base_datos.hpp"

namespace {

struct Salida {
    int estado;
    std::string salida, errores;
};

// Runs qivera with `argumentos`, without a display and without a runtime folder, as in a root shell.
Salida Qivera(const QStringList& argumentos) {
    QProcess proceso;
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"})
        entorno.remove(variable);
    proceso.setProcessEnvironment(entorno);
    proceso.start(KX204_QIVERA, argumentos);
    proceso.waitForFinished(120000);
    return {proceso.exitCode(), proceso.readAllStandardOutput().toStdString(),
            proceso.readAllStandardError().toStdString()};
}

bool Contiene(const std::string& texto, const std::string& parte) { return texto.find(parte) != std::string::npos; }

}  // namespace

TEST(LineaDeOrdenes, HelpAndBadArgumentsAnswerWithoutDoingAnything) {
    qivera::db::pruebas::ArchivoTemporal archivo;
    const QString url = QString::fromStdString(archivo.Url());

    const Salida ayuda = Qivera({"--help"});
    EXPECT_EQ(ayuda.estado, 0);
    EXPECT_TRUE(Contiene(ayuda.salida, "qivera init --db URL")) << ayuda.salida;
    EXPECT_TRUE(Contiene(ayuda.salida, "qivera script FILE --db URL")) << ayuda.salida;
    const Salida ayudaInit = Qivera({"init", "--help"});
    EXPECT_EQ(ayudaInit.estado, 0);
    EXPECT_EQ(ayudaInit.salida.rfind("usage: qivera init", 0), 0u) << ayudaInit.salida;

    const std::pair<QStringList, std::string> malos[] = {
        {{"init", "--db", url, "--notes", "abc"}, "option --notes takes a whole number"},
        {{"init", "--db", url, "--demo", "--notes", "-5"}, "option --notes takes a whole number"},
        {{"init", "--db", url, "--notes"}, "option --notes needs a value"},
        {{"init", "--db", url, "--bogus"}, "unknown option --bogus"},
        {{"init", "--notes", "5"}, "option --db is required"},
        {{"script", "--db", url}, "missing argument"},
        {{"facturar", "--db", url}, "unknown command facturar"},
        {{"--db", url, "--date", "2026-13-45"}, "option --date takes a date YYYY-MM-DD"},
    };
    for (const auto& [argumentos, mensaje] : malos) {
        const Salida salida = Qivera(argumentos);
        EXPECT_EQ(salida.estado, 2) << argumentos.join(' ').toStdString();
        EXPECT_TRUE(Contiene(salida.errores, "qivera: " + mensaje)) << salida.errores;
    }
    EXPECT_FALSE(std::filesystem::exists(archivo.Ruta()));
}

TEST(LineaDeOrdenes, AScriptRunsOnlyOnADatabaseMadeForIt) {
    qivera::db::pruebas::ArchivoTemporal guion("guion"), ausente("ausente");
    std::ofstream(guion.Ruta()) << R"({"do":"sql","query":"SELECT count(*) FROM Usuario"})"
                                << "\n";
    const QString script = QString::fromStdString(guion.Ruta());

    const Salida sinArchivo = Qivera({"script", script, "--db", QString::fromStdString(ausente.Url())});
    EXPECT_EQ(sinArchivo.estado, 2);
    EXPECT_TRUE(Contiene(sinArchivo.errores, "does not exist; create it with: qivera init")) << sinArchivo.errores;
    EXPECT_FALSE(std::filesystem::exists(ausente.Ruta()));
    EXPECT_EQ(sinArchivo.salida, "");

    prueba::BaseDePrueba vacia(prueba::BaseDePrueba::Alcance::Compartida);
    qivera::db::AbreBaseDatos(vacia.Url());  // an empty database: SQLite makes the file, a server has it already
    const QString urlVacia = QString::fromStdString(vacia.Url());
    const Salida sinEsquema = Qivera({"script", script, "--db", urlVacia});
    EXPECT_EQ(sinEsquema.estado, 2);
    EXPECT_TRUE(Contiene(sinEsquema.errores, "has no schema; create it with: qivera init")) << sinEsquema.errores;

    const Salida carpeta =
        Qivera({"script", QString::fromStdString(std::filesystem::temp_directory_path().string()), "--db", urlVacia});
    EXPECT_EQ(carpeta.estado, 2);
    EXPECT_TRUE(Contiene(carpeta.errores, "cannot read the script")) << carpeta.errores;

    ASSERT_EQ(Qivera({"init", "--db", urlVacia}).estado, 0);
    const Salida corre = Qivera({"script", script, "--db", urlVacia});
    EXPECT_EQ(corre.estado, 0) << corre.errores;
    EXPECT_TRUE(Contiene(corre.salida, "\"event\":\"rows\"")) << corre.salida;
    EXPECT_EQ(corre.errores, "");  // not even Qt's warning about a missing runtime folder
}
