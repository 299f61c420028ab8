#pragma once
#include <iostream>

#include "qivera/script/argumentos.hpp"

namespace qivera {

// "qivera pac-prueba [--libro FILE] [--cancelacion ANSWER]": the test stamping provider behind the
// stamping seam. "timbrar" reads a sealed CFDI and writes it stamped, the same stamp for the same XML;
// "cancelar UUID RFC MOTIVO" answers a well-formed cancellation with ANSWER ("cancelado" by default,
// "en_proceso"), and refuses it with "rechazado". --libro names its ledger. A refusal is one line on
// `errores` and exit status 1.
int EjecutaPacPrueba(const Argumentos& args, std::istream& entrada, std::ostream& salida, std::ostream& errores);

}  // namespace qivera
