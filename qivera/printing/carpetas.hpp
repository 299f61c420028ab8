#pragma once
#include <string>

#include "qivera/sesion/sesion.hpp"

namespace qivera {

// The folder where the host writes documents of one kind, created when missing: the text of
// the configuration variable `variable` when set; otherwise `subcarpeta` of RaizDeDocumentos.
// Raises RuntimeError when the folder cannot be created.
std::string CarpetaDocumentos(db::ConexionQt& conexion, const std::string& variable, const std::string& subcarpeta);

// Where a database's documents go when no variable names their folder, not created: the machine's
// configured folder ([documentos] carpeta); otherwise beside the SQLite file, in a temporary folder of the
// process for an in-memory database, or in the user's data folder (qivera/<database>) for a server's.
std::string RaizDeDocumentos(db::ConexionQt& conexion);

// `folio`.`extension`, the folio reduced to letters, digits, '-' and '_' so that the name
// can never leave a folder.
std::string NombreDocumento(const std::string& folio, const std::string& extension);
// `carpeta`/NombreDocumento.
std::string RutaDocumento(const std::string& carpeta, const std::string& folio, const std::string& extension);

}  // namespace qivera
