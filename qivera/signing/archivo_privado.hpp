#pragma once
#include <string>

namespace qivera {

// Writes `contenido` to `ruta` so that only its owner can ever read it: the text goes to a new file
// beside it, created with mode 0600 whatever the umask, which then takes the place of any older file
// (whose own looser mode goes with it). Answers false when the file could not be written; the older
// file, if any, is then left as it was.
bool EscribeArchivoPrivado(const std::string& ruta, const std::string& contenido);

}  // namespace qivera
