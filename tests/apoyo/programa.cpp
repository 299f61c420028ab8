#include "apoyo/programa.hpp"

#include <QProcess>
#include <QUrl>
#include <fstream>
#include <nlohmann/json.hpp>

#include "apoyo/salidas.hpp"

namespace prueba {

namespace {

// The passwords a script's actions sign in with.
void GuardaClavesDelGuion(const QString& archivo) {
    std::ifstream guion(archivo.toStdString());
    for (std::string linea; std::getline(guion, linea);) {
        const auto accion = nlohmann::json::parse(linea, nullptr, false);
        if (accion.is_object() && accion.contains("password") && accion["password"].is_string())
            Secreto("a password in a script", accion["password"].get<std::string>());
    }
}

void GuardaSecretos(const QStringList& argumentos, const QByteArray& entrada, const QProcessEnvironment& entorno) {
    for (const QString& argumento : argumentos)
        Secreto("the password of a database URL", QUrl(argumento).password().toStdString());
    Secreto("PGPASSWORD", entorno.value(QStringLiteral("PGPASSWORD")).toStdString());
    if (argumentos.contains(QStringLiteral("--password-stdin")))
        Secreto("a password on standard input", entrada.split('\n').first().toStdString());
    if (argumentos.size() > 1 && argumentos.first() == QStringLiteral("script")) GuardaClavesDelGuion(argumentos[1]);
}

}  // namespace

Corrida Qivera(const QStringList& argumentos, const QByteArray& entrada, const QProcessEnvironment& entorno) {
    GuardaSecretos(argumentos, entrada, entorno);
    QProcess proceso;
    proceso.setProcessEnvironment(entorno);
    proceso.start(KX204_QIVERA, argumentos);
    proceso.write(entrada);
    proceso.closeWriteChannel();
    proceso.waitForFinished(120000);
    Corrida corrida{proceso.exitStatus() == QProcess::CrashExit, proceso.exitCode(),
                    proceso.readAllStandardOutput().toStdString(), proceso.readAllStandardError().toStdString()};
    const std::string orden = argumentos.isEmpty() ? std::string() : argumentos.first().toStdString();
    Transcribe("qivera " + orden + " (standard output)", corrida.salida);
    Transcribe("qivera " + orden + " (standard error)", corrida.errores);
    return corrida;
}

}  // namespace prueba
