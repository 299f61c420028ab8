#include "kx204/component/publico.hpp"

namespace kx204 {

Publico::Publico(host::Fabrica& fabrica_)
    : fabrica(fabrica_),
      objServicios(fabrica_.CreaServicios()),
      objInterfaz(fabrica_.CreaInterfaz()),
      objDatos(fabrica_.CreaDatos()),
      objAuxiliar(fabrica_.CreaAuxiliar()) {}

}  // namespace kx204
