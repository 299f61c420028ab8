#include "qivera/services/dialogos.hpp"

namespace qivera {

using kx204::host::SqlText;

void VisorQivera::Muestra(const std::string& tabla, const std::string& campo, const std::string& clave,
                          const std::string&, const std::string&, const std::string&, const std::string&) {
    std::vector<std::string> renglon;
    auto rs = sesion_.conexion.Execute("SELECT * FROM " + Identificador(tabla) + " WHERE " + Identificador(campo) +
                                       " = '" + SqlText(clave) + "'");
    if (!rs->Eof())
        for (int i = 0; i < rs->FieldCount(); ++i)
            renglon.push_back(rs->FieldName(i) + ": " + rs->Field(i).ToTextOrEmpty());
    rs->Close();
    sesion_.persona.Muestra("visor", {tabla, campo, clave}, renglon);
}

std::string DireccionEntregaQivera::SeleccionaDireccion(const std::string& catalogo, const std::string& clave,
                                                        const std::string& actual) {
    std::vector<std::string> direcciones;
    auto rs = sesion_.conexion.Execute("SELECT De_Cve_Direccion FROM Direccion_Entrega WHERE Cl_Cve_Cliente = '" +
                                       SqlText(clave) + "' ORDER BY De_Cve_Direccion");
    for (; !rs->Eof(); rs->MoveNext()) direcciones.push_back(rs->Field(0).ToTextOrEmpty());
    rs->Close();
    return sesion_.persona.Elige("direccion", {catalogo, clave, actual}, direcciones);
}

bool DireccionEntregaQivera::GuardaDireccion(const std::string&, const std::string&, const std::string&,
                                             const std::string&, const std::string&) {
    (void)sesion_;
    NoDisponible("GuardaDireccion");
}

bool MetodoPagoQivera::Captura(const std::string&) {
    (void)sesion_;
    NoDisponible("MetodoPago");
}

}  // namespace qivera
