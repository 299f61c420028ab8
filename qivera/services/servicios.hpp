#pragma once
#include <optional>

#include "kx204/host/servicios.hpp"
#include "qivera/sesion/sesion.hpp"

namespace qivera {

// objServicios over the host's tables Variable, Permiso and Usuario.
class ServiciosQivera : public kx204::host::Servicios {
public:
    explicit ServiciosQivera(Sesion& sesion) : sesion_(sesion) {}

    kx204::host::Connection& Conexion() override { return sesion_.conexion; }
    std::string Usuario() override { return sesion_.usuario; }
    std::string SucursalUsuario() override;
    std::string AlmacenUsuario() override;
    kx204::host::Variant LeeVariable(const std::string& nombre, int opcion, const std::string& tipo,
                                     const kx204::host::Variant& omision) override;
    bool TienePermiso(const std::string& modulo, const std::string& clave, const std::string& texto) override;
    int MuestraMensaje(const std::string& prompt, int botones, const std::string& titulo, std::int64_t propietario,
                       const std::string& modulo, const std::string& id) override;
    int MuestraAviso(const std::string& prompt, int botones, const std::string& titulo) override;

private:
    std::string CampoUsuario(const std::string& columna);

    Sesion& sesion_;
};

// The stored text of a configuration variable; nothing when absent.
std::optional<std::string> LeeValorVariable(kx204::host::Connection& conexion, const std::string& nombre);
// The stored text of a configuration variable, empty when absent.
std::string ValorVariable(kx204::host::Connection& conexion, const std::string& nombre);
// A variable's text as the type code asks: "N" number, "T" text, "B" Boolean, "" as stored.
kx204::host::Variant ConvierteVariable(const std::optional<std::string>& valor, const std::string& tipo,
                                       const kx204::host::Variant& omision);

}  // namespace qivera
