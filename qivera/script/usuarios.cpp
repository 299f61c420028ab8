#include "qivera/script/usuarios.hpp"

#include <termios.h>
#include <unistd.h>

#include "kx204/host/transaction.hpp"
#include "qivera/db/base_datos.hpp"
#include "qivera/db/sql.hpp"
#include "qivera/sesion/acceso.hpp"

namespace qivera {

namespace {

// Echo off while a person types at a terminal, back on however the reading ends.
class SinEco {
public:
    SinEco() : activo_(isatty(STDIN_FILENO) && tcgetattr(STDIN_FILENO, &antes_) == 0) {
        if (!activo_) return;
        termios callado = antes_;
        callado.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &callado);
        std::cerr << "Contraseña: " << std::flush;
    }
    ~SinEco() {
        if (!activo_) return;
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &antes_);
        std::cerr << '\n';
    }
    SinEco(const SinEco&) = delete;
    SinEco& operator=(const SinEco&) = delete;

private:
    termios antes_{};
    bool activo_;
};

void Informa(kx204::host::Connection& conexion, const std::string& usuario, std::ostream& salida) {
    const auto permisos =
        PrimeraColumna(conexion, "SELECT Pm_Clave FROM Permiso WHERE Us_Cve_Usuario = " + LiteralTexto(usuario) +
                                     " AND Pm_Modulo = 'KX204' ORDER BY Pm_Clave");
    const bool activo =
        PrimerValor(conexion, "SELECT Us_Activo FROM Usuario WHERE Us_Cve_Usuario = " + LiteralTexto(usuario))
            ->ToLong() != 0;
    std::string lista;
    for (const std::string& permiso : permisos) lista += (lista.empty() ? "" : ",") + permiso;
    salida << "qivera: user " << usuario << (activo ? " (active)" : " (inactive)")
           << (PideClave(conexion, usuario) ? ", with a password" : ", without a password")
           << ", permissions KX204: " << (lista.empty() ? "none" : lista) << "\n";
}

}  // namespace

std::string LeeClave(std::istream& entrada) {
    std::string clave;
    bool leida = false;
    {
        SinEco sinEco;
        leida = static_cast<bool>(std::getline(entrada, clave));
    }
    // An input that ends at once (a closed pipe, /dev/null) is a mistake, never the empty password.
    if (!leida)
        throw ErrorDeUso(
            "option --password-stdin read no line: standard input ended before the password's (an "
            "empty line is an empty password)");
    if (!clave.empty() && clave.back() == '\r') clave.pop_back();
    return clave;
}

int AdministraUsuario(const Argumentos& args, std::istream& entrada, std::ostream& salida) {
    const std::string usuario = args.opciones.at("--user");
    const auto concedidos = PermisosPedidos(args, "--grant");
    const auto revocados = PermisosPedidos(args, "--revoke");
    if (usuario.empty()) throw ErrorDeUso("option --user takes a user's key");
    const std::optional<std::string> clave =
        args.Tiene("--password-stdin") ? std::optional(LeeClave(entrada)) : std::nullopt;
    auto conexion = db::AbreBaseExistente(args.opciones.at("--db"));
    kx204::host::Transaction transaccion(*conexion);
    AseguraUsuario(*conexion, usuario, args.Tiene("--name") ? args.opciones.at("--name") : usuario);
    if (args.Tiene("--name"))
        conexion->Execute("UPDATE Usuario SET Us_Descripcion = " + LiteralTexto(args.opciones.at("--name")) +
                          " WHERE Us_Cve_Usuario = " + LiteralTexto(usuario));
    if (args.Tiene("--active") || args.Tiene("--inactive")) Activa(*conexion, usuario, args.Tiene("--active"));
    for (const std::string& permiso : concedidos) Concede(*conexion, usuario, "KX204", permiso);
    for (const std::string& permiso : revocados) Revoca(*conexion, usuario, "KX204", permiso);
    if (clave) GuardaClave(*conexion, usuario, *clave);
    transaccion.Commit();
    Informa(*conexion, usuario, salida);
    return 0;
}

}  // namespace qivera
