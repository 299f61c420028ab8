#pragma once
#include <functional>
#include <string>

#include "kx204/host/runtime_error.hpp"

namespace prueba {

// The number and the text of the RuntimeError `accion` raises; 0 and empty when it raises none.
inline long NumeroDeError(const std::function<void()>& accion) {
    try {
        accion();
    } catch (const kx204::host::RuntimeError& error) {
        return error.number;
    }
    return 0;
}

inline std::string TextoDeError(const std::function<void()>& accion) {
    try {
        accion();
    } catch (const kx204::host::RuntimeError& error) {
        return error.description;
    }
    return {};
}

}  // namespace prueba
