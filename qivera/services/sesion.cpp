#include "qivera/services/sesion.hpp"

#include <algorithm>
#include <cctype>

#include "kx204/host/runtime_error.hpp"

namespace qivera {

const std::string& Identificador(const std::string& nombre) {
    const bool valido = !nombre.empty() && std::all_of(nombre.begin(), nombre.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.';
    });
    if (!valido) throw kx204::host::RuntimeError(5, "Invalid procedure call or argument: " + nombre);
    return nombre;
}

kx204::host::Date Sesion::Ahora() {
    const kx204::host::Date ahora = reloj.Ahora(conexion);
    if (!fechaServidor) return ahora;
    return kx204::host::Date::FromYmd(fechaServidor->Year(), fechaServidor->Month(), fechaServidor->Day(), ahora.Hour(),
                                      ahora.Minute(), ahora.Second());
}

}  // namespace qivera
