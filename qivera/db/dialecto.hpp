#pragma once
#include <string>

namespace qivera::db {

// The SQL dialect a database engine speaks. The screen writes SQL Server's.
enum class Dialecto { SqlServer, SQLite, PostgreSQL };

// Rewrites a statement written for SQL Server so that the given engine runs it:
// isnull( becomes coalesce(, "SELECT [DISTINCT] top N" loses its top and gains a
// LIMIT N at the end of that SELECT, [identifier] becomes "identifier". String
// literals, quoted identifiers and comments are never touched. SQL Server text
// passes unchanged.
std::string AdaptaSql(const std::string& sql, Dialecto dialecto);

}  // namespace qivera::db
