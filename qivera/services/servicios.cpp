#include "qivera/services/servicios.hpp"

#include "kx204/host/texto.hpp"

namespace qivera {

using kx204::host::SqlText;
using kx204::host::Variant;

namespace {

bool TextoVerdadero(const std::string& valor) {
    const std::string upper = kx204::host::Mayusculas(valor);
    for (const char* si : {"1", "-1", "S", "SI", "Y", "YES", "TRUE", "V", "VERDADERO"})
        if (upper == si) return true;
    return false;
}

}  // namespace

std::string ValorVariable(kx204::host::Connection& conexion, const std::string& nombre) {
    auto rs = conexion.Execute("SELECT Vr_Valor FROM Variable WHERE Vr_Nombre = '" + SqlText(nombre) + "'");
    std::string valor = rs->Eof() ? std::string() : rs->Field(0).ToTextOrEmpty();
    rs->Close();
    return valor;
}

Variant ConvierteVariable(const std::string& valor, const std::string& tipo, const Variant& omision) {
    // Absent and empty read as the default; an empty Boolean default reads as false.
    const std::string texto = valor.empty() ? omision.ToTextOrEmpty() : valor;
    if (tipo == "B") return Variant(!texto.empty() && TextoVerdadero(texto));
    if (tipo == "N") {
        if (texto.empty()) return Variant(0);
        return Variant(kx204::host::ParseNumber(texto));
    }
    if (valor.empty()) return omision;
    return Variant(valor);
}

std::string ServiciosQivera::CampoUsuario(const std::string& columna) {
    auto rs = sesion_.conexion.Execute("SELECT " + columna + " FROM Usuario WHERE Us_Cve_Usuario = '" +
                                       SqlText(sesion_.usuario) + "'");
    std::string valor = rs->Eof() ? std::string() : rs->Field(0).ToTextOrEmpty();
    rs->Close();
    return valor;
}

std::string ServiciosQivera::SucursalUsuario() { return CampoUsuario("Sc_Cve_Sucursal"); }

std::string ServiciosQivera::AlmacenUsuario() { return CampoUsuario("Al_Cve_Almacen"); }

Variant ServiciosQivera::LeeVariable(const std::string& nombre, int /*opcion*/, const std::string& tipo,
                                     const Variant& omision) {
    return ConvierteVariable(ValorVariable(sesion_.conexion, nombre), tipo, omision);
}

bool ServiciosQivera::TienePermiso(const std::string& modulo, const std::string& clave, const std::string& /*texto*/) {
    auto rs =
        sesion_.conexion.Execute("SELECT 1 FROM Permiso WHERE Us_Cve_Usuario = '" + SqlText(sesion_.usuario) +
                                 "' AND Pm_Modulo = '" + SqlText(modulo) + "' AND Pm_Clave = '" + SqlText(clave) + "'");
    const bool tiene = !rs->Eof();
    rs->Close();
    return tiene;
}

int ServiciosQivera::MuestraMensaje(const std::string& prompt, int botones, const std::string& titulo,
                                    std::int64_t /*propietario*/, const std::string& /*modulo*/,
                                    const std::string& id) {
    return sesion_.persona.Mensaje(prompt, botones, titulo, id);
}

int ServiciosQivera::MuestraAviso(const std::string& prompt, int botones, const std::string& titulo) {
    return sesion_.persona.Mensaje(prompt, botones, titulo, "");
}

}  // namespace qivera
