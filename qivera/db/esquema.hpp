#pragma once
#include <string>
#include <vector>

#include "kx204/host/connection.hpp"
#include "qivera/db/dialecto.hpp"

namespace qivera::db {

// Creates every table the screen and its reference host use, with the indexes
// the screen's statements need, on a database that has none of them yet. Text
// compares without regard to case, as on SQL Server; every column has a default,
// so that a row can be inserted naming only the columns a case cares about.
// SQLite and PostgreSQL only: on SQL Server the schema is the ERP's own.
// The schema is made at version kVersionEsquema, recorded in Version_Esquema.
void CreaEsquema(kx204::host::Connection& conexion, Dialecto dialecto = Dialecto::SQLite);

// The schema version this program makes and works on; a database made before versions were recorded is 1.
inline constexpr int kVersionEsquema = 9;

// Gathers the planner's statistics of the schema's own tables: a database filled at once would otherwise
// be planned blind until the server gathers them later. Only the tables the schema made, so an owner
// who is no superuser is not warned about the system's.
void AnalizaTablas(kx204::host::Connection& conexion, Dialecto dialecto);

// The version of a database's schema; 0 when it has none.
int VersionEsquema(kx204::host::Connection& conexion, Dialecto dialecto);

// Brings a database made by an older program up to kVersionEsquema: the tables, columns and indexes
// it lacks, the permissions its users already had by default, the rows a new schema starts with (the
// folio counters), then the version. Run it in one transaction. Refuses a
// database without the schema, or a newer one.
void ActualizaEsquema(kx204::host::Connection& conexion, Dialecto dialecto);

// The statements that make the schema on `dialecto`, PostgreSQL's collation apart.
std::vector<std::string> SentenciasDelEsquema(Dialecto dialecto);

}  // namespace qivera::db
