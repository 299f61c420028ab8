#pragma once
#include <string>

#include "qivera/services/sesion.hpp"

namespace qivera {

// The folder where the host writes documents of one kind, created when missing: the text of
// the configuration variable `variable` when set; otherwise `subcarpeta` beside the SQLite
// file, or under the system's temporary folder for a database that is no file (:memory:, a
// server). Raises RuntimeError when the folder cannot be created.
std::string CarpetaDocumentos(Sesion& sesion, const std::string& variable, const std::string& subcarpeta);

// `folio`.`extension`, the folio reduced to letters, digits, '-' and '_' so that the name
// can never leave a folder.
std::string NombreDocumento(const std::string& folio, const std::string& extension);
// `carpeta`/NombreDocumento.
std::string RutaDocumento(const std::string& carpeta, const std::string& folio, const std::string& extension);

}  // namespace qivera
