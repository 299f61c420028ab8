#pragma once
#include <memory>
#include <string>

#include "kx204/component/pantalla.hpp"
#include "kx204/screen/frm_kx204.hpp"
#include "qivera/db/conexion_qt.hpp"
#include "qivera/script/persona_guionada.hpp"
#include "qivera/services/padre_qivera.hpp"
#include "qivera/services/fabrica.hpp"

namespace banco {

// A demo database whose pending notes all belong to branch 01 in pesos, so that one load takes
// them all; made once per size in the temporary folder and reused.
std::string BaseConNotas(int notas);

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

}  // namespace banco
