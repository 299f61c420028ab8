#pragma once
#include <string>

namespace qivera::db {

// What belongs to the machine a clerk works at, not to the database the clerks share: INI files read
// with QSettings, first the machine's /etc/qivera/qivera.conf, then the user's
// $XDG_CONFIG_HOME/qivera/qivera.conf (~/.config/qivera/qivera.conf), whose keys override the
// machine's. Every key is optional; an empty value counts as absent.
struct ConfiguracionEquipo {
    std::string url;                // [base_datos] url: the database when the command line names none
    std::string comandoTimbrado;    // [timbrado] comando: the stamping provider's command
    std::string carpetaDocumentos;  // [documentos] carpeta: where the XML, PDF and mail files go
};

// Read afresh on every call, so that a change reaches the next stamp of a program already running.
ConfiguracionEquipo LeeConfiguracion();

// The machine's file and the user's, as a message names them.
std::string ArchivoDelEquipo();
std::string ArchivoDelUsuario();

// Writes `valor` under `clave` ("section/key") in the user's file, keeping its other keys; a file it
// creates is readable by its owner alone. Raises RuntimeError when the file cannot be written.
void GuardaEnArchivoDelUsuario(const std::string& clave, const std::string& valor);

}  // namespace qivera::db
