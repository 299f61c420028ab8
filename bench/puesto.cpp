#include "bench/puesto.hpp"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "qivera/db/base_datos.hpp"
#include "qivera/db/esquema.hpp"
#include "qivera/demo/inicializa.hpp"

namespace banco {

namespace {

std::map<std::string, std::unique_ptr<Puesto>>& Puestos() {
    static std::map<std::string, std::unique_ptr<Puesto>> puestos;
    return puestos;
}

std::string Servidor() {
    const char* url = std::getenv("KX204_POSTGRES");
    return url == nullptr ? std::string() : url;
}

void SoloPendientesDeLaMatriz(const std::string& url) {
    auto conexion = qivera::db::AbreBaseDatos(url);
    for (const char* tabla : {"Venta", "Venta_Encabezado"})
        conexion->Execute(std::string("UPDATE ") + tabla +
                          " SET Sc_Cve_Sucursal = '01', Mn_Cve_Moneda = 'MXN' WHERE Es_Cve_Estado = 'AC'");
}

// Named for its schema itself: a database a program with other tables or indexes made is not reused.
std::string NombreDeLaBase(int notas) {
    std::string esquema;
    for (const std::string& sentencia : qivera::db::SentenciasDelEsquema(qivera::db::Dialecto::SQLite))
        esquema += sentencia;
    char huella[17];
    std::snprintf(huella, sizeof huella, "%016zx", std::hash<std::string>{}(esquema));
    return "kx204_bench_" + std::string(huella) + "_" + std::to_string(notas);
}

std::string ArchivoConNotas(int notas) {
    const auto ruta = std::filesystem::temp_directory_path() / (NombreDeLaBase(notas) + ".db");
    const std::string url = "sqlite:" + ruta.string();
    if (!std::filesystem::exists(ruta)) {
        qivera::db::InicializaBaseDatos(url, true, notas);
        SoloPendientesDeLaMatriz(url);
    }
    return url;
}

std::string ServidorConNotas(int notas) {
    if (Servidor().empty()) return {};
    const std::string nombre = NombreDeLaBase(notas);
    auto servidor = qivera::db::AbreBaseDatos(Servidor());
    auto existe = servidor->Execute("SELECT count(*) FROM pg_database WHERE datname = '" + nombre + "'");
    const bool hecha = existe->Field(0).ToLong() > 0;
    existe->Close();
    if (!hecha) {
        servidor->Execute("CREATE DATABASE " + nombre);
        qivera::db::InicializaBaseDatos(qivera::db::UrlDeOtraBase(Servidor(), nombre), true, notas);
        SoloPendientesDeLaMatriz(qivera::db::UrlDeOtraBase(Servidor(), nombre));
        qivera::db::AbreBaseDatos(qivera::db::UrlDeOtraBase(Servidor(), nombre))->Execute("ANALYZE");
    }
    return qivera::db::UrlDeOtraBase(Servidor(), nombre);
}

}  // namespace

std::string BaseConNotas(int notas, Motor motor) {
    return motor == Motor::SQLite ? ArchivoConNotas(notas) : ServidorConNotas(notas);
}

std::string CopiaDe(int notas, Motor motor) {
    namespace fs = std::filesystem;
    const std::string original = BaseConNotas(notas, motor);
    if (original.empty()) return {};
    LiberaPuestos();  // a server copies only a database nobody is connected to
    if (motor == Motor::PostgreSQL) {
        auto servidor = qivera::db::AbreBaseDatos(Servidor());
        servidor->Execute("DROP DATABASE IF EXISTS kx204_bench_trabajo WITH (FORCE)");
        servidor->Execute("CREATE DATABASE kx204_bench_trabajo TEMPLATE " + NombreDeLaBase(notas));
        return qivera::db::UrlDeOtraBase(Servidor(), "kx204_bench_trabajo");
    }
    const fs::path copia = fs::temp_directory_path() / "kx204_bench_trabajo.db";
    for (const char* sufijo : {"", "-wal", "-shm"}) fs::remove(copia.string() + sufijo);
    fs::copy_file(original.substr(std::string("sqlite:").size()), copia);
    return "sqlite:" + copia.string();
}

Puesto::Puesto(const std::string& url)
    : conexion(qivera::db::AbreBaseDatos(url)),
      persona([](const nlohmann::ordered_json&) {}),
      sesion{*conexion, persona, "ADMIN", kx204::host::Date::FromYmd(2026, 3, 15), nullptr, {}},
      fabrica(sesion),
      componente(fabrica),
      ventana(sesion),
      pantalla(*kx204::Pantalla(componente).GetPantalla()) {
    pantalla.SetPadre(&ventana);
    sesion.ventanaActiva = &pantalla;
    pantalla.Form_Activate();
    pantalla.Controles.Pulsa(kx204::host::ComandoBarra::Nuevo);
}

Puesto& PuestoEn(const std::string& url) {
    auto& puesto = Puestos()[url];
    if (!puesto) puesto = std::make_unique<Puesto>(url);
    return *puesto;
}

void LiberaPuestos() { Puestos().clear(); }

}  // namespace banco
