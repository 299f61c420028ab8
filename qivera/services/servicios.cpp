#include "qivera/services/servicios.hpp"

#include "kx204/host/texto.hpp"
#include "qivera/sesion/acceso.hpp"

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

std::optional<std::string> LeeValorVariable(kx204::host::Connection& conexion, const std::string& nombre) {
    auto rs = conexion.Execute("SELECT Vr_Valor FROM Variable WHERE Vr_Nombre = '" + SqlText(nombre) + "'");
    std::optional<std::string> valor;
    if (!rs->Eof()) valor = rs->Field(0).ToTextOrEmpty();
    rs->Close();
    return valor;
}

std::string ValorVariable(kx204::host::Connection& conexion, const std::string& nombre) {
    return LeeValorVariable(conexion, nombre).value_or("");
}

Variant ConvierteVariable(const std::optional<std::string>& valor, const std::string& tipo, const Variant& omision) {
    // Absent reads as the default. Empty reads as the default for numbers and Booleans, and an
    // empty Boolean default as false; a text stored empty is empty.
    const bool vacio = !valor || valor->empty();
    if (tipo == "B" || tipo == "N") {
        const std::string texto = vacio ? omision.ToTextOrEmpty() : *valor;
        if (tipo == "B") return Variant(!texto.empty() && TextoVerdadero(texto));
        return texto.empty() ? Variant(0) : Variant(kx204::host::ParseNumber(texto));
    }
    return valor ? Variant(*valor) : omision;
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
    return ConvierteVariable(LeeValorVariable(sesion_.conexion, nombre), tipo, omision);
}

bool ServiciosQivera::TienePermiso(const std::string& modulo, const std::string& clave, const std::string& /*texto*/) {
    return qivera::TienePermiso(sesion_.conexion, sesion_.usuario, modulo, clave);
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
