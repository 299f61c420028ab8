#include "apoyo/base_prueba.hpp"

#include <atomic>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <regex>
#include <stdexcept>

#include <unistd.h>

#include "kx204/host/runtime_error.hpp"
#include "qivera/db/base_datos.hpp"
#include "qivera/db/url.hpp"

namespace prueba {

namespace {

std::atomic<int> comprobadas{0};

// What the engine behind a connection says it is.
std::string MotorQueResponde(kx204::host::Connection& conexion) {
    const char* pregunta = MotorDePrueba() == Motor::PostgreSQL ? "SELECT version()" : "SELECT sqlite_version()";
    try {
        return conexion.Execute(pregunta)->Field(0).ToText();
    } catch (const kx204::host::RuntimeError& error) {
        return error.description;
    }
}

bool EsDelMotor(const std::string& respuesta) {
    if (MotorDePrueba() == Motor::PostgreSQL) return respuesta.rfind("PostgreSQL ", 0) == 0;
    return !respuesta.empty() && std::isdigit(static_cast<unsigned char>(respuesta[0]));
}

// A password found nowhere else, so that a scan of the output for it finds only a leak.
std::string ClaveAlAzar() {
    std::random_device azar;
    std::string clave;
    for (int i = 0; i < 16; ++i) clave += "0123456789abcdef"[azar() % 16];
    return clave;
}

void EnServidor(const std::string& sentencia) { qivera::db::AbreBaseDatos(ServidorDePrueba())->Execute(sentencia); }

}  // namespace

std::filesystem::path CarpetaTemporal(const std::string& prefijo) {
    std::string plantilla = (std::filesystem::temp_directory_path() / (prefijo + "-XXXXXX")).string();
    return ::mkdtemp(plantilla.data());
}

std::string VariableDeEntorno(const char* nombre) {
    const char* valor = std::getenv(nombre);
    return valor == nullptr ? std::string() : valor;
}

Motor MotorDePrueba() { return VariableDeEntorno("KX204_MOTOR") == "postgresql" ? Motor::PostgreSQL : Motor::SQLite; }

std::unique_ptr<qivera::db::ConexionQt> Conecta(const std::string& url) {
    auto conexion = qivera::db::AbreBaseDatos(url);
    const std::string respuesta = MotorQueResponde(*conexion);
    if (!EsDelMotor(respuesta))
        throw std::runtime_error("this run is on " +
                                 std::string(MotorDePrueba() == Motor::PostgreSQL ? "PostgreSQL" : "SQLite") +
                                 ", but " + qivera::db::UrlSinClave(url) + " answers: " + respuesta);
    ++comprobadas;
    return conexion;
}

int ConexionesComprobadas() { return comprobadas; }

std::string ServidorDePrueba() { return VariableDeEntorno("KX204_POSTGRES"); }

BaseDePrueba::BaseDePrueba(Alcance alcance, Dueno dueno) {
    if (MotorDePrueba() == Motor::SQLite) {
        if (alcance == Alcance::UnaConexion && dueno == Dueno::Superusuario) {
            url_ = "sqlite::memory:";
            return;
        }
        carpeta_ = CarpetaTemporal("kx204-base");
        url_ = "sqlite:" + carpeta_ + "/prueba.db";
        return;
    }
    if (ServidorDePrueba().empty()) throw std::runtime_error("KX204_POSTGRES names no PostgreSQL server");
    static std::atomic<int> contador{0};
    nombre_ = "kx204_prueba_" + std::to_string(::getpid()) + "_" + std::to_string(++contador);
    url_ = qivera::db::UrlDeOtraBase(ServidorDePrueba(), nombre_);
    if (dueno == Dueno::Superusuario) {
        EnServidor("CREATE DATABASE " + nombre_);
        return;
    }
    dueno_ = nombre_ + "_dueno";
    const std::string clave = ClaveAlAzar();
    EnServidor("CREATE ROLE " + dueno_ + " LOGIN CREATEDB PASSWORD '" + clave + "'");
    EnServidor("CREATE DATABASE " + nombre_ + " OWNER " + dueno_);
    url_ = std::regex_replace(url_, std::regex("//[^@/]*@"), "//" + dueno_ + ":" + clave + "@");
}

BaseDePrueba::~BaseDePrueba() {
    std::error_code ignorado;
    if (!carpeta_.empty()) std::filesystem::remove_all(carpeta_, ignorado);
    if (nombre_.empty()) return;
    try {
        EnServidor("DROP DATABASE IF EXISTS " + nombre_ + " WITH (FORCE)");
        if (!dueno_.empty()) EnServidor("DROP ROLE IF EXISTS " + dueno_);
    } catch (const std::exception&) {
        // the throwaway cluster goes with its data folder anyway
    }
}

}  // namespace prueba
