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

// Every row of `sql`, its columns as text run together, the rows joined by `entreFilas`: a list whose
// numbers read alike on every engine (separators go in the statement as literal columns).
inline std::string Concatena(kx204::host::Connection& conexion, const std::string& sql,
                             const std::string& entreFilas = " ") {
    auto rs = conexion.Execute(sql);
    std::string texto;
    for (bool primera = true; !rs->Eof(); rs->MoveNext(), primera = false) {
        if (!primera) texto += entreFilas;
        for (int i = 0; i < rs->FieldCount(); ++i) texto += rs->Field(i).ToTextOrEmpty();
    }
    rs->Close();
    return texto;
}

}  // namespace prueba
