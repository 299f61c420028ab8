#pragma once
#include <string>
#include <unordered_map>

namespace qivera::db {

// The SQL dialect a database engine speaks. The screen writes SQL Server's.
enum class Dialecto { SqlServer, SQLite, PostgreSQL };

// Rewrites a statement written for SQL Server so that the given engine runs it:
// isnull( becomes coalesce(, getdate() the engine's local date and time, "SELECT [DISTINCT] top N" loses its top and
// gains a LIMIT N at the end of that SELECT, [identifier] becomes "identifier". String literals, quoted identifiers and
// comments are never touched. SQL Server text passes unchanged.
std::string AdaptaSql(const std::string& sql, Dialecto dialecto);

}  // namespace qivera::db

namespace qivera::db {

// How a statement spells its names, by their lower-case form. PostgreSQL folds unquoted names to
// lower case; the columns it answers are given back the spelling the statement wrote, a name
// written after AS first.
using Escrituras = std::unordered_map<std::string, std::string>;
Escrituras EscriturasDeNombres(const std::string& sql);

}  // namespace qivera::db
