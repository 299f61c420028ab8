#pragma once
#include <iostream>

#include "qivera/script/argumentos.hpp"

namespace qivera {

// A password typed at the terminal without echo, or the first line of `entrada`, without its line end.
// Raises ErrorDeUso when `entrada` ends before any line.
std::string LeeClave(std::istream& entrada);

// "qivera usuario": adds the user when new, then names, activates, grants, revokes and sets the
// password read from `entrada`, all in one transaction; reports the user as left on `salida`.
int AdministraUsuario(const Argumentos& args, std::istream& entrada, std::ostream& salida);

}  // namespace qivera
