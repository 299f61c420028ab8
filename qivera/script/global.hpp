#pragma once
#include <iostream>

#include "qivera/script/argumentos.hpp"

namespace qivera {

// "qivera global": the invoice of a day's or a month's sales to the general public, one per warehouse of
// the branch, made on the screen as a clerk makes it. Writes one JSON line per invoice, or per failed
// one with its error, on `salida`; 1 when any failed, 0 otherwise.
// With --password-stdin the user's password is the first line of `entrada`.
int FacturaGlobal(const Argumentos& args, std::istream& entrada, std::ostream& salida);

}  // namespace qivera
