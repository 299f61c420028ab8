#include "qivera/db/sql.hpp"

#include <algorithm>
#include <cctype>

#include "kx204/host/runtime_error.hpp"
#include "kx204/host/texto.hpp"

namespace qivera {

using kx204::host::Variant;

const std::string& Identificador(const std::string& nombre) {
    const bool valido = !nombre.empty() && std::all_of(nombre.begin(), nombre.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.';
    });
    if (!valido) throw kx204::host::RuntimeError(5, "Invalid procedure call or argument: " + nombre);
    return nombre;
}

std::vector<std::string> PrimeraColumna(kx204::host::Connection& conexion, const std::string& sentencia) {
    auto rs = conexion.Execute(sentencia);
    std::vector<std::string> valores;
    for (; !rs->Eof(); rs->MoveNext()) valores.push_back(rs->Field(0).ToTextOrEmpty());
    rs->Close();
    return valores;
}

std::optional<Variant> PrimerValor(kx204::host::Connection& conexion, const std::string& sentencia) {
    auto rs = conexion.Execute(sentencia);
    std::optional<Variant> valor;
    if (!rs->Eof()) valor = rs->Field(0);
    rs->Close();
    return valor;
}

std::string LiteralTexto(const std::string& texto) {
    std::string literal = "'";
    literal += kx204::host::SqlText(texto);
    return literal += '\'';
}

std::string LiteralFecha(const kx204::host::Date& fecha) { return LiteralTexto(fecha.ToIso()); }

std::string LiteralImporte(kx204::host::Currency importe) { return importe.ToString(); }

std::string LiteralNumero(double numero) { return kx204::host::FormatNumber(numero); }

void InsertaFila(kx204::host::Connection& conexion, const std::string& tabla, const std::vector<Valor>& valores) {
    InsertaFilas(conexion, tabla, {valores});
}

namespace {

// Enough rows per statement to make parsing and the round trip negligible, few enough to keep it small:
// a statement ends at so many rows or once it is this long (SQLite refuses one of a million bytes).
constexpr std::size_t kFilasPorSentencia = 1000;
constexpr std::size_t kLargoPorSentencia = 256 * 1024;

std::string Columnas(const std::vector<Valor>& fila) {
    std::string columnas;
    for (const auto& valor : fila) columnas += (columnas.empty() ? "" : ", ") + Identificador(valor.first);
    return columnas;
}

// Runs `inicio` + the values of the rows, and `fin` after them, in as few statements as keep each small.
void PorLotes(kx204::host::Connection& conexion, const std::vector<std::vector<Valor>>& filas,
              const std::string& inicio, const std::string& fin) {
    for (std::size_t i = 0; i < filas.size();) {
        std::string sentencia = inicio;
        for (const std::size_t primera = i;
             i < filas.size() && i - primera < kFilasPorSentencia && sentencia.size() < kLargoPorSentencia; ++i) {
            sentencia += i == primera ? "(" : ", (";
            for (std::size_t j = 0; j < filas[i].size(); ++j) sentencia += (j == 0 ? "" : ", ") + filas[i][j].second;
            sentencia += ")";
        }
        conexion.Execute(sentencia + fin);
    }
}

}  // namespace

void InsertaFilas(kx204::host::Connection& conexion, const std::string& tabla,
                  const std::vector<std::vector<Valor>>& filas) {
    if (filas.empty()) return;
    PorLotes(conexion, filas, "INSERT INTO " + Identificador(tabla) + " (" + Columnas(filas.front()) + ") VALUES ", "");
}

void ActualizaFilas(kx204::host::Connection& conexion, const std::string& tabla, std::size_t llaves,
                    const std::vector<std::vector<Valor>>& filas, const std::vector<Valor>& comunes) {
    if (filas.empty()) return;
    std::vector<Valor> asignaciones = comunes;
    std::string condicion;
    for (std::size_t i = 0; i < filas.front().size(); ++i) {
        const std::string& columna = Identificador(filas.front()[i].first);
        if (i < llaves)
            condicion += (condicion.empty() ? " WHERE " : " AND ") + tabla + "." + columna + " = v." + columna;
        else
            asignaciones.emplace_back(columna, "v." + columna);
    }
    // The rows' columns are named in a WITH: SQLite names no columns of a subquery in FROM.
    PorLotes(conexion, filas, "WITH v (" + Columnas(filas.front()) + ") AS (VALUES ",
             ") UPDATE " + Identificador(tabla) + " SET " + Asignaciones(asignaciones) + " FROM v" + condicion);
}

std::string Asignaciones(const std::vector<Valor>& valores) {
    std::string texto;
    for (const auto& [columna, literal] : valores)
        texto += (texto.empty() ? "" : ", ") + Identificador(columna) + " = " + literal;
    return texto;
}

}  // namespace qivera
