#include "qivera/script/argumentos.hpp"

#include <charconv>
#include <set>
#include <sstream>

namespace qivera {

namespace {

constexpr int kNotasMaximas = 1000000;

// What a command accepts: options that take a value, flags, how many positional arguments (at least
// and at most), and whether it works on a database.
struct Forma {
    const char* nombre;
    std::set<std::string> conValor;
    std::set<std::string> banderas;
    std::size_t minimos, maximos;
    const char* uso;
    bool conBase = true;
};

const Forma& FormaDe(Orden orden) {
    static const Forma kEscritorio{"", {"--db", "--user", "--date"},
                                   {}, 0,
                                   0,  "qivera --db URL [--user USER] [--date YYYY-MM-DD]    opens the desktop"};
    static const Forma kInicializa{"init",
                                   {"--db", "--notes"},
                                   {"--demo", "--upgrade"},
                                   0,
                                   0,
                                   "qivera init --db URL [--demo] [--notes N]    creates the schema (and the demo)\n"
                                   "       qivera init --upgrade --db URL    brings an older database up to date"};
    static const Forma kGuion{
        "script", {"--db"}, {}, 1, 1, "qivera script FILE --db URL    plays a script of user actions, headless"};
    static const Forma kUsuario{
        "usuario",
        {"--db", "--user", "--name", "--grant", "--revoke"},
        {"--password-stdin", "--active", "--inactive"},
        0,
        0,
        "qivera usuario --db URL --user USER [--name NAME] [--grant P,...] [--revoke P,...]\n"
        "                      [--password-stdin] [--active | --inactive]    adds or changes a user\n"
        "         (permissions: ACCESO, FACTURAR, CHFECHA, KEYF2; an empty password removes it)"};
    static const Forma kPacPrueba{
        "pac-prueba",
        {"--libro", "--cancelacion"},
        {},
        1,
        5,
        "qivera pac-prueba [--libro LEDGER] timbrar < SEALED.xml > STAMPED.xml\n"
        "       qivera pac-prueba [--libro LEDGER] [--cancelacion cancelado|en_proceso|rechazado] cancelar UUID RFC "
        "MOTIVO [SUSTITUTO]\n"
        "         the test stamping provider: the same XML, the same stamp; LEDGER lists every request",
        false};
    static const Forma kGlobal{
        "global",
        {"--db", "--sucursal", "--periodo", "--fecha", "--moneda", "--user"},
        {"--password-stdin"},
        0,
        0,
        "qivera global --db URL --sucursal BRANCH --periodo diario|semanal|quincenal|mensual|bimestral\n"
        "                     --fecha YYYY-MM-DD [--moneda CURRENCY] [--user USER [--password-stdin]]\n"
        "         invoices the period's cash sales to the general public"};
    static const Forma kTimbrar{
        "timbrar",
        {"--db", "--sucursal", "--user"},
        {"--pendientes", "--password-stdin"},
        0,
        0,
        "qivera timbrar --pendientes --db URL [--sucursal BRANCH] [--user USER [--password-stdin]]\n"
        "         stamps again the invoices sealed but not yet stamped, with the same XML"};
    switch (orden) {
        case Orden::Timbrar:
            return kTimbrar;
        case Orden::Global:
            return kGlobal;
        case Orden::PacPrueba:
            return kPacPrueba;
        case Orden::Usuario:
            return kUsuario;
        case Orden::Inicializa:
            return kInicializa;
        case Orden::Guion:
            return kGuion;
        case Orden::Escritorio:
            break;
    }
    return kEscritorio;
}

Orden OrdenDe(const std::string& nombre) {
    for (Orden orden :
         {Orden::Inicializa, Orden::Guion, Orden::Usuario, Orden::PacPrueba, Orden::Global, Orden::Timbrar})
        if (nombre == FormaDe(orden).nombre) return orden;
    throw ErrorDeUso("unknown command " + nombre +
                     " (init, script, usuario, pac-prueba, global, timbrar, or none for the desktop)");
}

// The options a command cannot do without, besides --db.
std::vector<std::string> Requeridas(Orden orden) {
    if (orden == Orden::Usuario) return {"--user"};
    if (orden == Orden::Global) return {"--sucursal", "--periodo", "--fecha"};
    if (orden == Orden::Timbrar) return {"--pendientes"};
    return {};
}

bool EsOpcion(const std::string& arg) { return arg.size() > 1 && arg[0] == '-'; }

}  // namespace

Argumentos LeeArgumentos(const std::vector<std::string>& argumentos, const std::string& urlConfigurada) {
    Argumentos args;
    std::size_t i = 0;
    if (!argumentos.empty() && !EsOpcion(argumentos[0])) args.orden = OrdenDe(argumentos[i++]);
    const Forma& forma = FormaDe(args.orden);
    for (; i < argumentos.size(); ++i) {
        const std::string& arg = argumentos[i];
        if (arg == "--help" || arg == "-h") {
            args.ayuda = true;
        } else if (forma.banderas.count(arg)) {
            args.opciones[arg].assign(1, '1');  // a flag is on
        } else if (forma.conValor.count(arg)) {
            if (i + 1 == argumentos.size() || argumentos[i + 1].rfind("--", 0) == 0)
                throw ErrorDeUso("option " + arg + " needs a value");
            args.opciones[arg] = argumentos[++i];
        } else if (EsOpcion(arg)) {
            throw ErrorDeUso("unknown option " + arg);
        } else {
            args.posicionales.push_back(arg);
        }
    }
    if (args.ayuda) return args;
    if (args.posicionales.size() > forma.maximos) throw ErrorDeUso("unexpected argument " + args.posicionales.back());
    if (args.posicionales.size() < forma.minimos) throw ErrorDeUso("missing argument");
    if (forma.conBase && !args.Tiene("--db") && !urlConfigurada.empty()) args.opciones["--db"] = urlConfigurada;
    if (forma.conBase && !args.Tiene("--db"))
        throw ErrorDeUso("option --db is required when the configuration names no [base_datos] url");
    for (const std::string& opcion : Requeridas(args.orden))
        if (!args.Tiene(opcion)) throw ErrorDeUso("option " + opcion + " is required");
    if (args.Tiene("--active") && args.Tiene("--inactive"))
        throw ErrorDeUso("options --active and --inactive exclude each other");
    if (args.Tiene("--date")) {
        args.fecha = kx204::host::Date::Parse(args.opciones.at("--date"));
        if (!args.fecha) throw ErrorDeUso("option --date takes a date YYYY-MM-DD: " + args.opciones.at("--date"));
    }
    return args;
}

Orden OrdenNombrada(const std::vector<std::string>& argumentos) {
    if (argumentos.empty() || EsOpcion(argumentos[0])) return Orden::Escritorio;
    try {
        return OrdenDe(argumentos[0]);
    } catch (const ErrorDeUso&) {
        return Orden::Escritorio;
    }
}

std::string Uso(Orden orden) {
    if (orden != Orden::Escritorio) return std::string("usage: ") + FormaDe(orden).uso + "\n";
    return std::string("usage: ") + FormaDe(Orden::Escritorio).uso + "\n       " + FormaDe(Orden::Inicializa).uso +
           "\n       " + FormaDe(Orden::Guion).uso + "\n       " + FormaDe(Orden::Usuario).uso + "\n       " +
           FormaDe(Orden::PacPrueba).uso + "\n       " + FormaDe(Orden::Global).uso + "\n       " +
           FormaDe(Orden::Timbrar).uso +
           "\nEvery command takes --help. Without --db, the database is the configuration's [base_datos] url\n"
           "(/etc/qivera/qivera.conf, then ~/.config/qivera/qivera.conf).\n";
}

std::vector<std::string> PermisosPedidos(const Argumentos& args, const std::string& opcion) {
    static const std::set<std::string> kConocidos{"ACCESO", "FACTURAR", "CHFECHA", "KEYF2"};
    std::vector<std::string> permisos;
    if (!args.Tiene(opcion)) return permisos;
    std::istringstream lista(args.opciones.at(opcion));
    for (std::string permiso; std::getline(lista, permiso, ',');) {
        if (!kConocidos.count(permiso))
            throw ErrorDeUso("option " + opcion + " takes ACCESO, FACTURAR, CHFECHA or KEYF2, not: " + permiso);
        permisos.push_back(permiso);
    }
    return permisos;
}

int NotasPedidas(const Argumentos& args, int omision) {
    if (!args.Tiene("--notes")) return omision;
    const std::string& texto = args.opciones.at("--notes");
    int notas = -1;
    const auto [fin, error] = std::from_chars(texto.data(), texto.data() + texto.size(), notas);
    if (error != std::errc() || fin != texto.data() + texto.size() || notas < 0 || notas > kNotasMaximas)
        throw ErrorDeUso("option --notes takes a whole number from 0 to " + std::to_string(kNotasMaximas) + ": " +
                         texto);
    return notas;
}

}  // namespace qivera
