#pragma once
#include <memory>

#include "kx204/host/servicios.hpp"

namespace kx204 {

// The component's shared service objects, created once by its start-up routine
// and kept for as long as the component is loaded.
class Publico {
public:
    // The start-up routine: creates objServicios, objInterfaz, objDatos and objAuxiliar, in that order.
    explicit Publico(host::Fabrica& fabrica);

    host::Fabrica& fabrica;
    std::unique_ptr<host::Servicios> objServicios;
    std::unique_ptr<host::Interfaz> objInterfaz;
    std::unique_ptr<host::Datos> objDatos;
    std::unique_ptr<host::Auxiliar> objAuxiliar;
};

}  // namespace kx204
