#pragma once
#include "kx204/host/servicios.hpp"
#include "qivera/sesion/sesion.hpp"

namespace qivera {

// The record viewer: shows the stored row to the person.
class VisorQivera : public kx204::host::VisorRegistros {
public:
    explicit VisorQivera(Sesion& sesion) : sesion_(sesion) {}
    void Muestra(const std::string& tabla, const std::string& campo, const std::string& clave, const std::string& a,
                 const std::string& b, const std::string& c, const std::string& d) override;

private:
    Sesion& sesion_;
};

// The delivery-address chooser over Direccion_Entrega.
class DireccionEntregaQivera : public kx204::host::DireccionEntrega {
public:
    explicit DireccionEntregaQivera(Sesion& sesion) : sesion_(sesion) {}
    std::string SeleccionaDireccion(const std::string& catalogo, const std::string& clave,
                                    const std::string& actual) override;
    bool GuardaDireccion(const std::string& tipoDocumento, const std::string& folio, const std::string& catalogo,
                         const std::string& clave, const std::string& direccion) override;
    std::string MensajeError() override { return error_; }

private:
    Sesion& sesion_;
    std::string error_;
};

// The client's payment method.
class MetodoPagoQivera : public kx204::host::MetodoPago {
public:
    explicit MetodoPagoQivera(Sesion& sesion) : sesion_(sesion) {}
    bool Captura(const std::string& cliente) override;
    std::string MensajeError() override { return error_; }

private:
    Sesion& sesion_;
    std::string error_;
};

}  // namespace qivera
