#pragma once
#include <stdexcept>
#include <string>

#include "kx204/host/connection.hpp"
#include "qivera/db/conexion_qt.hpp"

namespace qivera {

// A sign-in refused; the message, in Spanish, says why and never repeats the password.
class AccesoDenegado : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A password as it is stored: scrypt over a random salt, "scrypt$log2N$r$p$salt$hash" in hex;
// empty for the empty password (the user signs in without one).
std::string CifraClave(const std::string& clave);
// Whether `clave` is the password stored as `guardada`, compared in constant time.
bool ClaveCorrecta(const std::string& guardada, const std::string& clave);

// Whether `usuario` holds the permission (`modulo`, `clave`).
bool TienePermiso(kx204::host::Connection& conexion, const std::string& usuario, const std::string& modulo,
                  const std::string& clave);
// Whether `usuario` must give a password to sign in.
bool PideClave(kx204::host::Connection& conexion, const std::string& usuario);

// Lets `usuario` sign in on the screen, or raises AccesoDenegado: the user must exist, be active,
// give their password (none when they have none) and hold KX204 ACCESO. Wrong passwords are
// counted: past a few in a row the user must wait before trying again, twice as long each time.
// The count and the wait are the database server's, kept on its clock: parallel attempts never get
// more tries, and no client's clock shortens or stretches a wait.
void Autentica(db::ConexionQt& conexion, const std::string& usuario, const std::string& clave);

// Creates `usuario` when absent, named `nombre`; an existing user keeps their data.
void AseguraUsuario(kx204::host::Connection& conexion, const std::string& usuario, const std::string& nombre);
// Sets or, with an empty one, removes the user's password; their failed attempts start afresh.
void GuardaClave(kx204::host::Connection& conexion, const std::string& usuario, const std::string& clave);
// An inactive user cannot sign in; their data and invoices stay.
void Activa(kx204::host::Connection& conexion, const std::string& usuario, bool activo);
void Concede(kx204::host::Connection& conexion, const std::string& usuario, const std::string& modulo,
             const std::string& clave);
void Revoca(kx204::host::Connection& conexion, const std::string& usuario, const std::string& modulo,
            const std::string& clave);

}  // namespace qivera
