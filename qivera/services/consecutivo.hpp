#pragma once
#include <string>
#include <utility>
#include <vector>

#include "kx204/host/runtime_error.hpp"
#include "qivera/db/sql.hpp"
#include "qivera/sesion/sesion.hpp"

namespace qivera {

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
