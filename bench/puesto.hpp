#pragma once
#include <memory>
#include <string>

#include "kx204/component/pantalla.hpp"
#include "kx204/screen/frm_kx204.hpp"
#include "qivera/db/conexion_qt.hpp"
#include "qivera/host/fabrica.hpp"
#include "qivera/host/padre_qivera.hpp"
#include "qivera/script/persona_guionada.hpp"

namespace banco {

// The engine a benchmark runs on (its last argument): 0 SQLite, 1 PostgreSQL on the server
// KX204_POSTGRES names (tools/banco.sh starts a private one).
enum class Motor { SQLite = 0, PostgreSQL = 1 };

// A demo database whose pending notes all belong to branch 01 in pesos, so that one load takes
// them all; made once per size and engine and reused. Empty when the engine has no server.
std::string BaseConNotas(int notas, Motor motor);
// A fresh copy of it, so that every Accept invoices the same pending notes.
std::string CopiaDe(int notas, Motor motor);

// One clerk with the screen in New on a database.
struct Puesto {
    explicit Puesto(const std::string& url);

    std::unique_ptr<qivera::db::ConexionQt> conexion;
    qivera::PersonaGuionada persona;
    qivera::Sesion sesion;
    qivera::FabricaQivera fabrica;
    kx204::Componente componente;
    qivera::PadreQivera ventana;
    kx204::frmKX204& pantalla;
};

// The clerk kept on a database from one benchmark to the next.
Puesto& PuestoEn(const std::string& url);
// Lets every kept clerk go: before a database is copied, and before the application ends (a
// connection must not outlive Qt's registry of them).
void LiberaPuestos();

}  // namespace banco
