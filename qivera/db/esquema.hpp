#pragma once
#include "kx204/host/connection.hpp"
#include "qivera/db/dialecto.hpp"

namespace qivera::db {

// Creates every table the screen and its reference host use, with the indexes
// the screen's statements need, on a database that has none of them yet. Text
// compares without regard to case, as on SQL Server; every column has a default,
// so that a row can be inserted naming only the columns a case cares about.
// SQLite and PostgreSQL only: on SQL Server the schema is the ERP's own.
void CreaEsquema(kx204::host::Connection& conexion, Dialecto dialecto = Dialecto::SQLite);

}  // namespace qivera::db
