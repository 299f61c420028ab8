#pragma once
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "apoyo/base_prueba.hpp"
#include "kx204/component/pantalla.hpp"
#include "kx204/screen/frm_kx204.hpp"
#include "qivera/db/conexion_qt.hpp"
#include "qivera/host/fabrica.hpp"
#include "qivera/host/padre_qivera.hpp"
#include "qivera/script/persona_guionada.hpp"

namespace prueba {

// A signed-in clerk on a fresh database of this run's engine with the schema, the query
// templates and a small catalog: branches 01 and 02 with a warehouse each,
// currencies MXN (local) and USD, and clients of both branches.
class Entorno {
public:
    explicit Entorno(const std::string& usuario = "ADMIN",
                     BaseDePrueba::Alcance alcance = BaseDePrueba::Alcance::UnaConexion);
    // Another clerk, on a connection of their own, at the database of `primero` (made shared).
    Entorno(const Entorno& primero, const std::string& usuario);
    ~Entorno();

    void Sql(const std::string& sentencia);
    // Sets a configuration variable, replacing its value when it has one.
    void Variable(const std::string& nombre, const std::string& valor);
    void Permiso(const std::string& clave);
    void Usuario(const std::string& sucursal, const std::string& almacen);
    // Another clerk at a precise moment: `sentencia` runs in the engine right after `columna` of a row
    // of `tabla` where `condicion` (over NEW) holds is updated.
    void AlActualizar(const std::string& tabla, const std::string& columna, const std::string& condicion,
                      const std::string& sentencia);
    // A failing disk, until QuitaFallas: every update, or every new row, of `tabla` fails with `mensaje`.
    void FallaAlActualizar(const std::string& tabla, const std::string& mensaje);
    void FallaAlInsertar(const std::string& tabla, const std::string& mensaje);
    void QuitaFallas();

    // Loads the component and shows the screen as a host does.
    kx204::frmKX204& Abre();
    // The messages and dialogs shown so far.
    std::vector<nlohmann::ordered_json> Eventos(const std::string& tipo) const;

    // The folder where this environment's PDFs, signed XML and mail go; removed with it.
    std::filesystem::path carpeta;
    std::shared_ptr<BaseDePrueba> base;
    std::unique_ptr<qivera::db::ConexionQt> conexion;
    std::vector<nlohmann::ordered_json> eventos;
    qivera::PersonaGuionada persona;
    qivera::Sesion sesion;
    qivera::FabricaQivera fabrica;
    std::unique_ptr<kx204::Componente> componente;
    qivera::PadreQivera ventana;

private:
    Entorno(std::shared_ptr<BaseDePrueba> base, const std::string& usuario);
    void Falla(const std::string& evento, const std::string& tabla, const std::string& mensaje);
    void Disparador(const std::string& evento, const std::string& tabla, const std::string& condicion,
                    const std::string& cuerpoSqlite, const std::string& cuerpoPostgresql);
    int disparadores_ = 0;
    std::vector<std::pair<std::string, std::string>> fallas_;  // trigger, table
};

}  // namespace prueba
