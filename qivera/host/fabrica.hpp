#pragma once
#include "kx204/host/servicios.hpp"
#include "qivera/sesion/sesion.hpp"

namespace qivera {

// What the component asks the reference host to create, all bound to one session.
class FabricaQivera : public kx204::host::Fabrica {
public:
    explicit FabricaQivera(Sesion& sesion) : sesion_(sesion) {}
    std::unique_ptr<kx204::host::Servicios> CreaServicios() override;
    std::unique_ptr<kx204::host::Interfaz> CreaInterfaz() override;
    std::unique_ptr<kx204::host::Datos> CreaDatos() override;
    std::unique_ptr<kx204::host::Auxiliar> CreaAuxiliar() override;
    std::unique_ptr<kx204::host::VisorRegistros> CreaVisorRegistros() override;
    std::unique_ptr<kx204::host::DireccionEntrega> CreaDireccionEntrega() override;
    std::unique_ptr<kx204::host::MetodoPago> CreaMetodoPago() override;
    std::unique_ptr<kx204::host::ServicioSeries> CreaServicioSeries() override;
    std::unique_ptr<kx204::host::ImpresorDocumentos> CreaImpresor() override;
    std::unique_ptr<kx204::host::DocumentoFactura> CreaDocumentoFactura() override;
    std::unique_ptr<kx204::host::Correo> CreaCorreo() override;
    std::unique_ptr<kx204::host::CancelacionFactura> CreaCancelacionFactura() override;
    std::unique_ptr<kx204::host::CamposAdicionales> CreaCamposAdicionales() override;

private:
    Sesion& sesion_;
};

}  // namespace qivera
