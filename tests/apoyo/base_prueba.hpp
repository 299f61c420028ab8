#pragma once
#include <string>

namespace prueba {

// The engine this run of the tests uses. ctest runs every test on both: SQLite (an in-memory
// database) and PostgreSQL (KX204_MOTOR=postgresql, on the server KX204_POSTGRES names, which the
// README's test command starts). Without a server the PostgreSQL run is skipped, and fails under CI.
enum class Motor { SQLite, PostgreSQL };
Motor MotorDePrueba();

std::string VariableDeEntorno(const char* nombre);

// The administrative URL of the test server; empty when none is named.
std::string ServidorDePrueba();

// A new, empty database on this run's engine, dropped with the object. On SQLite it lives in memory,
// for one connection, unless it is to be shared by several: then it is a file of its own.
class BaseDePrueba {
public:
    enum class Alcance { UnaConexion, Compartida };
    explicit BaseDePrueba(Alcance alcance = Alcance::UnaConexion);
    ~BaseDePrueba();
    BaseDePrueba(const BaseDePrueba&) = delete;
    BaseDePrueba& operator=(const BaseDePrueba&) = delete;

    const std::string& Url() const { return url_; }

private:
    std::string nombre_;   // the server's database, empty on SQLite
    std::string carpeta_;  // the SQLite file's, when shared
    std::string url_;
};

}  // namespace prueba
