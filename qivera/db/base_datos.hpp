#pragma once
#include <memory>
#include <stdexcept>
#include <string>

#include "qivera/db/conexion_qt.hpp"

namespace qivera::db {

// Opens the database a URL names (see InterpretaUrl).
std::unique_ptr<ConexionQt> AbreBaseDatos(const std::string& url);

// A database a program was pointed at that is not there, or not made for it.
class BaseNoPreparada : public std::runtime_error {
public:
    enum class Motivo { NoExiste, SinEsquema, Antigua, Nueva };
    BaseNoPreparada(Motivo causa, const std::string& mensaje) : std::runtime_error(mensaje), motivo(causa) {}
    Motivo motivo;
};

// Opens a database to work on: a SQLite file must already exist (opening it would create it) and the
// schema must be in it at this program's version. Raises BaseNoPreparada otherwise, saying what to do,
// and RuntimeError when it cannot be opened.
std::unique_ptr<ConexionQt> AbreBaseExistente(const std::string& url);

}  // namespace qivera::db
