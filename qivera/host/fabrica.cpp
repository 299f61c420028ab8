#include "qivera/host/fabrica.hpp"

#include "qivera/mail/correo.hpp"
#include "qivera/printing/impresor.hpp"
#include "qivera/services/campos_adicionales.hpp"
#include "qivera/services/cancelacion_factura.hpp"
#include "qivera/services/datos.hpp"
#include "qivera/services/dialogos.hpp"
#include "qivera/services/documento_factura.hpp"
#include "qivera/services/interfaz.hpp"
#include "qivera/services/series.hpp"
#include "qivera/services/servicios.hpp"
#include "qivera/signing/timbrado.hpp"

namespace qivera {

namespace host = kx204::host;

std::unique_ptr<host::Servicios> FabricaQivera::CreaServicios() { return std::make_unique<ServiciosQivera>(sesion_); }
std::unique_ptr<host::Interfaz> FabricaQivera::CreaInterfaz() { return std::make_unique<InterfazQivera>(sesion_); }
std::unique_ptr<host::Datos> FabricaQivera::CreaDatos() { return std::make_unique<DatosQivera>(sesion_); }
std::unique_ptr<host::Auxiliar> FabricaQivera::CreaAuxiliar() { return std::make_unique<AuxiliarQivera>(sesion_); }
std::unique_ptr<host::VisorRegistros> FabricaQivera::CreaVisorRegistros() {
    return std::make_unique<VisorQivera>(sesion_);
}
std::unique_ptr<host::DireccionEntrega> FabricaQivera::CreaDireccionEntrega() {
    return std::make_unique<DireccionEntregaQivera>(sesion_);
}
std::unique_ptr<host::ServicioSeries> FabricaQivera::CreaServicioSeries() {
    return std::make_unique<SeriesQivera>(sesion_);
}
std::unique_ptr<host::ImpresorDocumentos> FabricaQivera::CreaImpresor() {
    return std::make_unique<ImpresorQivera>(sesion_);
}
std::unique_ptr<host::DocumentoFactura> FabricaQivera::CreaDocumentoFactura() {
    return std::make_unique<DocumentoFacturaQivera>(sesion_);
}
std::unique_ptr<host::CancelacionFactura> FabricaQivera::CreaCancelacionFactura() {
    return std::make_unique<CancelacionFacturaQivera>(sesion_);
}
std::unique_ptr<host::Correo> FabricaQivera::CreaCorreo() { return std::make_unique<CorreoQivera>(sesion_); }
std::unique_ptr<host::CamposAdicionales> FabricaQivera::CreaCamposAdicionales() {
    return std::make_unique<CamposAdicionalesQivera>(sesion_);
}
std::unique_ptr<host::MetodoPago> FabricaQivera::CreaMetodoPago() {
    return std::make_unique<MetodoPagoQivera>(sesion_);
}

}  // namespace qivera
