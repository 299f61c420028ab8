#include "qivera/services/campos_adicionales.hpp"

#include "qivera/services/consecutivo.hpp"

namespace qivera {

std::string CamposAdicionalesQivera::Documento(const std::string& tabla, const std::string& clave) const {
    return " WHERE Ca_Tabla = " + LiteralTexto(tabla) + " AND Ca_Documento = " + LiteralTexto(clave);
}

bool CamposAdicionalesQivera::Graba(const std::string& tabla, const std::string& clave, std::string& error) {
    return Atrapa(error, [&] {
        if (valores_.empty()) return true;
        sesion_.conexion.Execute("DELETE FROM Campo_Adicional" + Documento(tabla, clave));
        for (const auto& [campo, valor] : valores_)
            InsertaFila(sesion_.conexion, "Campo_Adicional",
                        {{"Ca_Tabla", LiteralTexto(tabla)},
                         {"Ca_Documento", LiteralTexto(clave)},
                         {"Ca_Campo", LiteralTexto(campo)},
                         {"Ca_Valor", LiteralTexto(valor)}});
        return true;
    });
}

void CamposAdicionalesQivera::Carga(const std::string& tabla, const std::string& clave) {
    valores_.clear();
    auto rs = sesion_.conexion.Execute("SELECT Ca_Campo, Ca_Valor FROM Campo_Adicional" + Documento(tabla, clave));
    for (; !rs->Eof(); rs->MoveNext()) valores_[rs->Field(0).ToTextOrEmpty()] = rs->Field(1).ToTextOrEmpty();
    rs->Close();
}

}  // namespace qivera
