#pragma once
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "kx204/host/connection.hpp"
#include "kx204/host/currency.hpp"
#include "kx204/host/date.hpp"

// How the host writes SQL: names checked, values as literals, rows inserted, single values read.
namespace qivera {

// Table and column names come from code, never from a person; refuse anything else.
const std::string& Identificador(const std::string& nombre);

// SQL literals: text between quotes with its quotes doubled, a date as FechaSQL writes it,
// money in fixed point, a plain number.
std::string LiteralTexto(const std::string& texto);
std::string LiteralFecha(const kx204::host::Date& fecha);
std::string LiteralImporte(kx204::host::Currency importe);
std::string LiteralNumero(double numero);

// A column and the SQL literal of its value.
using Valor = std::pair<std::string, std::string>;
void InsertaFila(kx204::host::Connection& conexion, const std::string& tabla, const std::vector<Valor>& valores);
// Rows that name the same columns in the same order, many to a statement.
void InsertaFilas(kx204::host::Connection& conexion, const std::string& tabla,
                  const std::vector<std::vector<Valor>>& filas);
// Rows as InsertaFilas takes them, each updating the row of `tabla` its first `llaves` values name with the
// rest, and with `comunes`, many rows to a statement.
void ActualizaFilas(kx204::host::Connection& conexion, const std::string& tabla, std::size_t llaves,
                    const std::vector<std::vector<Valor>>& filas, const std::vector<Valor>& comunes = {});
// The SET list of an UPDATE: "a = 1, b = 'x'".
std::string Asignaciones(const std::vector<Valor>& valores);

// The first column of every row of `sentencia`, as text (Null reads as "").
std::vector<std::string> PrimeraColumna(kx204::host::Connection& conexion, const std::string& sentencia);
// The first column of the first row of `sentencia`; nothing when it answers no row.
std::optional<kx204::host::Variant> PrimerValor(kx204::host::Connection& conexion, const std::string& sentencia);

}  // namespace qivera
