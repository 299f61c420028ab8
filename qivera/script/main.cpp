// qivera: the reference host's command line.
//   qivera init --db URL [--demo] [--notes N]
//   qivera script FILE --db URL
//   qivera pac-prueba timbrar | cancelar UUID RFC MOTIVO
//   qivera global --db URL --sucursal BRANCH --periodo diario|mensual --fecha YYYY-MM-DD [--moneda M] [--user U]
//   qivera usuario --db URL --user USER [--name N] [--grant P,…] [--revoke P,…] [--password-stdin]
//   [--active|--inactive] qivera --db URL [--user USER] [--date YYYY-MM-DD]    the desktop (a sign-in window without
//   --user)
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "kx204/host/runtime_error.hpp"
#include "qivera/db/base_datos.hpp"
#include "qivera/db/configuracion.hpp"
#include "qivera/db/esquema.hpp"
#include "qivera/demo/inicializa.hpp"
#include "qivera/desktop/dialogo_acceso.hpp"
#include "qivera/desktop/escritorio.hpp"
#include "qivera/script/argumentos.hpp"
#include "qivera/script/global.hpp"
#include "qivera/script/guion.hpp"
#include "qivera/script/pac_prueba.hpp"
#include "qivera/script/timbrar.hpp"
#include "qivera/script/usuarios.hpp"

namespace {

using qivera::Argumentos;
using qivera::ErrorDeUso;
using qivera::Orden;

constexpr int kErrorUso = 2;
constexpr int kNotasOmision = 3000;

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

// Qt warns on every start when the session has no runtime folder (a root shell, a container):
// it gets a private one, as a desktop session would give it.
void CarpetaDeEjecucion() {
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) return;
    const QString carpeta = QDir::temp().filePath(QStringLiteral("qivera-runtime-%1").arg(getuid()));
    if (!QDir().mkpath(carpeta)) return;
    QFile::setPermissions(carpeta, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(carpeta));
}

bool HayPantalla() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

int AbreEscritorio(const Argumentos& args) {
    const std::string url = args.opciones.at("--db");
    std::unique_ptr<qivera::db::ConexionQt> conexion;
    try {
        conexion = qivera::db::AbreBaseExistente(url);
    } catch (const std::exception& error) {
        // A clerk who started the window is told in a window, and the terminal gets its line too.
        QMessageBox::critical(
            nullptr, QStringLiteral("Qivera"),
            QStringLiteral("No se pudo abrir la base de datos:\n%1").arg(QString::fromStdString(error.what())));
        throw;
    }
    const std::optional<std::string> usuario = qivera::escritorio::IniciaSesion(
        *conexion, args.Tiene("--user") ? std::optional(args.opciones.at("--user")) : std::nullopt);
    if (!usuario) return 0;  // the clerk closed the sign-in window
    const QString nombre = QFileInfo(QString::fromStdString(url.substr(url.find(':') + 1))).fileName();
    qivera::escritorio::Escritorio escritorio(*conexion, *usuario, nombre);
    escritorio.sesion().fechaServidor = args.fecha;
    escritorio.AbreBiblioteca("libkx204.so");
    return QApplication::exec();
}

void MuestraTimbrado(const qivera::db::TimbradoDelEquipo& timbrado, std::ostream& salida) {
    const std::string usuario = qivera::db::ArchivoDelUsuario();
    if (!timbrado.escrito.empty())
        salida << "  stamping: " << timbrado.escrito << ", the test provider, now [timbrado] comando in " << usuario
               << "\n";
    else if (timbrado.configurado)
        salida << "  stamping: by [timbrado] comando of this machine's configuration\n";
    else
        salida << "  stamping: none on this machine, so CFDI are sealed and not stamped ([timbrado] comando in "
               << qivera::db::ArchivoDelEquipo() << " or " << usuario << ")\n";
}

void MuestraResumen(const qivera::db::ResumenInicial& resumen, std::ostream& salida) {
    salida << "qivera: made " << resumen.base << " at schema version " << qivera::db::kVersionEsquema << ": "
           << resumen.notasPendientes << " pending sale notes, " << resumen.facturas << " invoices\n  users:";
    bool conClave = false;
    for (std::size_t i = 0; i < resumen.usuarios.size(); ++i) {
        salida << (i == 0 ? " " : ", ") << resumen.usuarios[i];
        conClave |= resumen.usuarios[i].find("with a password") != std::string::npos;
    }
    salida << (conClave ? "" : "; none has a password yet") << "\n  documents: " << resumen.documentos
           << " (impresos, comprobantes, bandeja)\n";
    if (!resumen.csd.empty())
        salida << "  the demo's test CSD (key, certificate, password file): " << resumen.csd << "\n";
    MuestraTimbrado(resumen.timbrado, salida);
}

void MuestraActualizacion(const qivera::db::ResumenActualizacion& resumen, std::ostream& salida) {
    salida << "qivera: the database is at schema version " << resumen.version << "\n";
    for (const std::string& retirada : resumen.retiradas) salida << "  removed the variable " << retirada << "\n";
    MuestraTimbrado(resumen.timbrado, salida);
    if (resumen.faltaCfdi.empty()) salida << "  it has what issuing a CFDI takes\n";
    for (const std::string& falta : resumen.faltaCfdi) salida << "  to issue a CFDI it lacks " << falta << "\n";
}

// The demo's invoices are stamped by this program's own test provider, wherever it was built or installed.
std::string ProveedorDePrueba() {
    return ("\"" + QCoreApplication::applicationFilePath() + "\" pac-prueba").toStdString();
}

int Inicializa(const Argumentos& args) {
    if (args.Tiene("--upgrade")) {
        if (args.Tiene("--demo") || args.Tiene("--notes")) throw ErrorDeUso("option --upgrade takes no demo");
        MuestraActualizacion(qivera::db::ActualizaBaseDatos(args.opciones.at("--db"), ProveedorDePrueba()), std::cout);
        return 0;
    }
    const int notas = qivera::NotasPedidas(args, kNotasOmision);
    const qivera::db::ResumenInicial resumen =
        qivera::db::InicializaBaseDatos(args.opciones.at("--db"), args.Tiene("--demo"), notas, ProveedorDePrueba());
    MuestraResumen(resumen, std::cout);
    return 0;
}

int EjecutaGuion(const std::string& archivo, const std::string& url) {
    std::ifstream entrada(archivo);
    if (!entrada || std::filesystem::is_directory(archivo)) throw ErrorDeUso("cannot read the script " + archivo);
    auto conexion = qivera::db::AbreBaseExistente(url);
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

// What to do about a database that is not ready.
std::string Consejo(qivera::db::BaseNoPreparada::Motivo motivo) {
    using Motivo = qivera::db::BaseNoPreparada::Motivo;
    switch (motivo) {
        case Motivo::NoExiste:
        case Motivo::SinEsquema:
            return "; create it with: qivera init --db URL [--demo]";
        case Motivo::Antigua:
            return "; upgrade it with: qivera init --upgrade --db URL";
        case Motivo::Nueva:
            break;
    }
    return "; use the program that made it, or a newer one";
}

// Runs the command the arguments name, with the application it needs.
int Ejecuta(const Argumentos& args, int argc, char** argv) {
    const bool escritorio = args.orden == Orden::Escritorio;
    if (escritorio && !HayPantalla()) {
        // Named as it was typed, so the advice works from wherever it was run.
        const std::string programa = argv[0];
        std::cerr << "qivera: there is no display to open the window on (DISPLAY is not set).\n"
                     "Run the screen headless instead: "
                  << programa
                  << " script FILE --db URL (bash tools/demo.sh plays the demo from a checkout),\n"
                     "or open the window under a virtual display (apt-get install xvfb): xvfb-run -a "
                  << programa << " --db URL\n";
        return 1;
    }
    CarpetaDeEjecucion();
    // Printing lays out text, which takes a GUI application; off screen when there is no display.
    if (!HayPantalla()) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication aplicacion(argc, argv);
    switch (args.orden) {
        case Orden::Inicializa:
            return Inicializa(args);
        case Orden::Guion:
            return EjecutaGuion(args.posicionales[0], args.opciones.at("--db"));
        case Orden::Usuario:
            return qivera::AdministraUsuario(args, std::cin, std::cout);
        case Orden::PacPrueba:
            return qivera::EjecutaPacPrueba(args, std::cin, std::cout, std::cerr);
        case Orden::Global:
            return qivera::FacturaGlobal(args, std::cin, std::cout);
        case Orden::Timbrar:
            return qivera::TimbraPendientes(args, std::cin, std::cout);
        case Orden::Escritorio:
            break;
    }
    QApplication::setStyle(QStringLiteral("Fusion"));
    // Qt's own texts (file dialogs, context menus) in Spanish where the translation is installed.
    QTranslator traduccion;
    if (traduccion.load(QLocale(QLocale::Spanish, QLocale::Mexico), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&traduccion);
    return AbreEscritorio(args);
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> linea(argv + 1, argv + argc);
    const Orden orden = qivera::OrdenNombrada(linea);  // whose usage a mistake shows
    try {
        const Argumentos args = qivera::LeeArgumentos(linea, qivera::db::LeeConfiguracion().url);
        if (args.ayuda) {
            std::cout << qivera::Uso(orden);
            return 0;
        }
        return Ejecuta(args, argc, argv);
    } catch (const ErrorDeUso& error) {
        std::cerr << "qivera: " << error.what() << "\n" << qivera::Uso(orden);
        return kErrorUso;
    } catch (const qivera::db::BaseNoPreparada& error) {
        std::cerr << "qivera: " << error.what() << Consejo(error.motivo) << "\n";
        return kErrorUso;
    } catch (const std::exception& error) {
        std::cerr << "qivera: " << UnaLinea(error.what()) << "\n";
        return 1;
    }
}
