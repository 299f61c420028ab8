#pragma once
#include <string>
#include <utility>
#include <vector>

#include "kx204/host/connection.hpp"
#include "kx204/host/currency.hpp"
#include "kx204/host/date.hpp"
#include "kx204/host/runtime_error.hpp"
#include "qivera/services/sesion.hpp"

namespace qivera {

// What writing a document's rows needs: its folio, its values as SQL literals, its INSERT and its stamps.

// How a kind of document numbers its folios: a prefix and a fixed count of digits.
struct Numeracion {
    const char* tabla;    // the document's table, also the key of its counter in Consecutivo
    const char* columna;  // its folio column
    const char* prefijo;
    int digitos;
};

inline constexpr Numeracion kFolioFactura{"Factura", "Fc_Folio", "F", 6};
inline constexpr Numeracion kFolioCuenta{"Cuenta_x_Cobrar", "Cxc_Folio", "CXC", 7};
inline constexpr Numeracion kFolioPago{"Pago_Cxc", "Pc_Folio", "PC", 8};

// Takes the next folio, one past both the counter in Consecutivo and the largest folio of that form
// already stored, so that rows written without the counter are never reused. The counter's row stays
// locked until the session's transaction ends, so a second clerk never takes the same number; within
// that transaction the next folios follow on from the last one taken, to be stored by the caller.
std::string SiguienteFolio(Sesion& sesion, const Numeracion& numeracion);

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
// The SET list of an UPDATE: "a = 1, b = 'x'".
std::string Asignaciones(const std::vector<Valor>& valores);

// The server's date and time as a statement writes it.
std::string AhoraSQL(Sesion& sesion);
// `valores` followed by the modification stamps: Oper_Ult_Modif the session's user, Fecha_Ult_Modif now.
std::vector<Valor> ConSellos(Sesion& sesion, std::vector<Valor> valores);

// Runs `accion`, which answers whether it succeeded; a failure it raises becomes false with its
// description in `error`, for operations whose caller expects an answer rather than an error.
template <typename Accion>
bool Atrapa(std::string& error, Accion accion) {
    error.clear();
    try {
        return accion();
    } catch (const kx204::host::RuntimeError& falla) {
        error = falla.description;
        return false;
    }
}

}  // namespace qivera
