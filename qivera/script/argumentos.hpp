#pragma once
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "kx204/host/date.hpp"

namespace qivera {

// The program's commands: "init", "script", "usuario", "pac-prueba", "global", "timbrar", and the desktop when
// none is named.
enum class Orden { Escritorio, Inicializa, Guion, Usuario, PacPrueba, Global, Timbrar };

// A command line as the program understood it.
struct Argumentos {
    Orden orden = Orden::Escritorio;
    bool ayuda = false;                           // --help or -h: show the command's usage and do nothing
    std::vector<std::string> posicionales;        // after the command's name
    std::map<std::string, std::string> opciones;  // "--db" → URL; a flag maps to "1"
    std::optional<kx204::host::Date> fecha;       // --date

    bool Tiene(const std::string& opcion) const { return opciones.count(opcion) != 0; }
};

// A command line the program cannot follow: the message names what is wrong; the exit status is 2.
class ErrorDeUso : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads and checks a command line: the command, its options (each known to it, each with its value),
// its positional arguments, the options it requires (--db and its own) and the date of --date. Raises
// ErrorDeUso otherwise. A command that works on a database and names none takes `urlConfigurada`, the
// machine's configured one, when it is not empty.
Argumentos LeeArgumentos(const std::vector<std::string>& argumentos, const std::string& urlConfigurada = {});

// The command a command line names; the desktop when it names none, or one this program lacks.
Orden OrdenNombrada(const std::vector<std::string>& argumentos);

// How a command is used, one line per form; all of them for the desktop.
std::string Uso(Orden orden);

// The permissions --grant or --revoke names, separated by commas, each one the screen knows.
std::vector<std::string> PermisosPedidos(const Argumentos& args, const std::string& opcion);

// The number of demo notes --notes asks for: a whole number from 0 to 1,000,000.
int NotasPedidas(const Argumentos& args, int omision);

}  // namespace qivera
