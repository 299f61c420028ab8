#pragma once
#include <filesystem>
#include <memory>
#include <string>

#include "qivera/db/conexion_qt.hpp"

namespace prueba {

// The engine this run of the tests uses. ctest runs every test on both: SQLite (an in-memory
// database) and PostgreSQL (KX204_MOTOR=postgresql, on the server KX204_POSTGRES names, which the
// README's test command starts). Without a server the PostgreSQL run is skipped, and fails under CI.
enum class Motor { SQLite, PostgreSQL };
Motor MotorDePrueba();

std::string VariableDeEntorno(const char* nombre);

// A new folder under the temporary one, private to its owner, named `prefijo` and a random tail.
std::filesystem::path CarpetaTemporal(const std::string& prefijo);

// The administrative URL of the test server; empty when none is named.
std::string ServidorDePrueba();

// Opens `url` and checks, by asking the connection itself, that it reached this run's engine. A test
// run under an engine opens its databases through here: that is how it proves where it ran.
std::unique_ptr<qivera::db::ConexionQt> Conecta(const std::string& url);
// How many connections Conecta has checked in this process.
int ConexionesComprobadas();

// A new, empty database on this run's engine, dropped with the object. On SQLite it lives in memory,
// for one connection, unless it is to be shared by several: then it is a file of its own.
class BaseDePrueba {
public:
    enum class Alcance { UnaConexion, Compartida };
    // On a server, a database of an ordinary role (no superuser, CREATEDB) as a shop's would be, reached
    // as that role; `Compartida` on SQLite.
    enum class Dueno { Superusuario, Ordinario };
    explicit BaseDePrueba(Alcance alcance = Alcance::UnaConexion, Dueno dueno = Dueno::Superusuario);
    ~BaseDePrueba();
    BaseDePrueba(const BaseDePrueba&) = delete;
    BaseDePrueba& operator=(const BaseDePrueba&) = delete;

    const std::string& Url() const { return url_; }

private:
    std::string nombre_;   // the server's database, empty on SQLite
    std::string dueno_;    // its ordinary owner, empty when none
    std::string carpeta_;  // the SQLite file's, when shared
    std::string url_;
};

}  // namespace prueba
