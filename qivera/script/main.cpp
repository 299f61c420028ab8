// qivera: the reference host's command line.
//   qivera init --db URL [--demo] [--notes N]
//   qivera script FILE --db URL
//   qivera --db URL [--user USER] [--date YYYY-MM-DD]    the desktop
#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>
#include <fstream>
#include <iostream>
#include <map>

#include "kx204/host/runtime_error.hpp"
#include "qivera/db/base_datos.hpp"
#include "qivera/demo/inicializa.hpp"
#include "qivera/desktop/escritorio.hpp"
#include "qivera/script/guion.hpp"

namespace {

constexpr int kErrorUso = 2;
constexpr int kNotasOmision = 3000;

struct Argumentos {
    std::vector<std::string> posicionales;
    std::map<std::string, std::string> opciones;
};

Argumentos Lee(int argc, char** argv) {
    Argumentos args;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--", 0) != 0) {
            args.posicionales.push_back(arg);
        } else if (arg == "--demo") {
            args.opciones[arg] = "1";
        } else if (i + 1 < argc) {
            args.opciones[arg] = argv[++i];
        } else {
            throw std::invalid_argument("option " + arg + " needs a value");
        }
    }
    return args;
}

// A failure as one line of the terminal: the driver's hints and line breaks run together.
std::string UnaLinea(const std::string& texto) {
    std::string linea;
    for (char c : texto) {
        const bool blanco = c == '\n' || c == '\r' || c == '\t' || c == ' ';
        if (!blanco)
            linea += c;
        else if (!linea.empty() && linea.back() != ' ')
            linea += ' ';
    }
    while (!linea.empty() && linea.back() == ' ') linea.pop_back();
    return linea;
}

int Uso() {
    std::cerr << "usage: qivera init --db URL [--demo] [--notes N]\n"
                 "       qivera script FILE --db URL\n"
                 "       qivera --db URL [--user USER] [--date YYYY-MM-DD]\n";
    return kErrorUso;
}

bool HayPantalla() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

int AbreEscritorio(const Argumentos& args) {
    const std::string url = args.opciones.at("--db");
    std::unique_ptr<qivera::db::ConexionQt> conexion;
    try {
        conexion = qivera::db::AbreBaseDatos(url);
    } catch (const std::exception& error) {
        // A clerk who started the window is told in a window, and the terminal gets its line too.
        QMessageBox::critical(
            nullptr, QStringLiteral("Qivera"),
            QStringLiteral("No se pudo abrir la base de datos:\n%1").arg(QString::fromStdString(error.what())));
        throw;
    }
    const std::string usuario = args.opciones.count("--user") ? args.opciones.at("--user") : "ADMIN";
    const QString nombre = QFileInfo(QString::fromStdString(url.substr(url.find(':') + 1))).fileName();
    qivera::escritorio::Escritorio escritorio(*conexion, usuario, nombre);
    if (args.opciones.count("--date")) {
        const auto fecha = kx204::host::Date::Parse(args.opciones.at("--date"));
        if (!fecha) throw std::invalid_argument("a date is YYYY-MM-DD: " + args.opciones.at("--date"));
        escritorio.sesion().fechaServidor = *fecha;
    }
    escritorio.AbreBiblioteca("libkx204.so");
    return QApplication::exec();
}

int Inicializa(const Argumentos& args) {
    const int notas = args.opciones.count("--notes") ? std::stoi(args.opciones.at("--notes")) : kNotasOmision;
    qivera::db::InicializaBaseDatos(args.opciones.at("--db"), args.opciones.count("--demo") != 0, notas);
    return 0;
}

int EjecutaGuion(const std::string& archivo, const std::string& url) {
    std::ifstream entrada(archivo);
    if (!entrada) {
        std::cerr << "qivera: cannot read " << archivo << "\n";
        return kErrorUso;
    }
    auto conexion = qivera::db::AbreBaseDatos(url);
    qivera::Guion guion(*conexion, std::cout);
    try {
        guion.EjecutaTodo(entrada);
    } catch (const qivera::GuionInvalido& error) {
        std::cout.flush();
        std::cerr << "qivera: " << error.what() << "\n";
        return kErrorUso;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const Argumentos args = Lee(argc, argv);
        if (!args.opciones.count("--db")) return Uso();
        const bool escritorio = args.posicionales.empty();
        if (escritorio && !HayPantalla()) {
            std::cerr << "qivera: there is no display to open the window on (DISPLAY is not set).\n"
                         "Run the screen headless instead: qivera script FILE --db URL (bash tools/demo.sh plays "
                         "the demo), or open the window under a virtual display: xvfb-run qivera --db URL\n";
            return 1;
        }
        // Printing lays out text, which takes a GUI application; off screen when there is no display.
        if (!HayPantalla()) qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication aplicacion(argc, argv);
        if (escritorio) {
            QApplication::setStyle(QStringLiteral("Fusion"));
            // Qt's own texts (file dialogs, context menus) in Spanish where the translation is installed.
            QTranslator traduccion;
            if (traduccion.load(QLocale(QLocale::Spanish, QLocale::Mexico), QStringLiteral("qtbase"),
                                QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
                QApplication::installTranslator(&traduccion);
            return AbreEscritorio(args);
        }
        const std::string& orden = args.posicionales[0];
        if (orden == "init" && args.posicionales.size() == 1) return Inicializa(args);
        if (orden == "script" && args.posicionales.size() == 2)
            return EjecutaGuion(args.posicionales[1], args.opciones.at("--db"));
        return Uso();
    } catch (const std::exception& error) {
        std::cerr << "qivera: " << UnaLinea(error.what()) << "\n";
        return 1;
    }
}
