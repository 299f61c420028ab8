#pragma once
#include <string>

#include "kx204/host/connection.hpp"

namespace prueba {

// The first row of `sql`, its columns as text joined by "|"; empty when there is none.
inline std::string Fila(kx204::host::Connection& conexion, const std::string& sql) {
    auto rs = conexion.Execute(sql);
    std::string texto;
    if (!rs->Eof())
        for (int i = 0; i < rs->FieldCount(); ++i) texto += (i ? "|" : "") + rs->Field(i).ToTextOrEmpty();
    rs->Close();
    return texto;
}

}  // namespace prueba
