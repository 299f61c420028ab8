#pragma once
#include <iostream>

#include "qivera/script/argumentos.hpp"

namespace qivera {

// "qivera pac-prueba": the test stamping provider behind the stamping seam. "timbrar" reads a sealed
// CFDI and writes it stamped; "cancelar UUID RFC MOTIVO" accepts a well-formed cancellation. A refusal
// is one line on `errores` and exit status 1.
int EjecutaPacPrueba(const Argumentos& args, std::istream& entrada, std::ostream& salida, std::ostream& errores);

}  // namespace qivera
