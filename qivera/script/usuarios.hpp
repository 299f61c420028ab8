#pragma once
#include <iostream>

#include "qivera/script/argumentos.hpp"

namespace qivera {

// "qivera usuario": adds the user when new, then names, activates, grants, revokes and sets the
// password read from `entrada`, all in one transaction; reports the user as left on `salida`.
int AdministraUsuario(const Argumentos& args, std::istream& entrada, std::ostream& salida);

}  // namespace qivera
