#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "kx204/host/connection.hpp"
#include "kx204/host/controls/barra_herramientas.hpp"
#include "kx204/host/controls/campo_serie.hpp"
#include "kx204/host/controls/formulario.hpp"
#include "kx204/host/controls/lista.hpp"
#include "kx204/host/date.hpp"
#include "kx204/host/documentos.hpp"
#include "kx204/host/variant.hpp"

namespace kx204::host {

// Message box buttons and answers, as the host's message service numbers them.
namespace botones {
constexpr int Ok = 0;
constexpr int OkCancel = 1;
constexpr int YesNo = 4;
constexpr int Critico = 16;
constexpr int Advertencia = 48;
constexpr int Informacion = 64;
}  // namespace botones
namespace respuestas {
constexpr int Ok = 1;
constexpr int Cancel = 2;
constexpr int Yes = 6;
constexpr int No = 7;
}  // namespace respuestas

// The session's services: connection, user, configuration, permissions, messages.
class Servicios {
public:
    virtual ~Servicios() = default;
    virtual Connection& Conexion() = 0;
    virtual std::string Usuario() = 0;
    virtual std::string SucursalUsuario() = 0;
    virtual std::string AlmacenUsuario() = 0;
    // tipo: "N" number, "T" text, "B" Boolean, "" as stored. Absent or empty → the default.
    virtual Variant LeeVariable(const std::string& nombre, int opcion, const std::string& tipo,
                                const Variant& omision) = 0;
    [[nodiscard]] virtual bool TienePermiso(const std::string& modulo, const std::string& clave, const std::string& texto) = 0;
    virtual int MuestraMensaje(const std::string& prompt, int botones, const std::string& titulo,
                               std::int64_t propietario, const std::string& modulo, const std::string& id) = 0;
    virtual int MuestraAviso(const std::string& prompt, int botones, const std::string& titulo) = 0;
};

// The user-interface services: catalogs, dates, templates, lists and the form's groups.
class Interfaz {
public:
    virtual ~Interfaz() = default;
    // Description of `clave` in `tabla`, or empty. A second key column narrows the
    // row; a state to exclude drops rows in that Es_Cve_Estado. `encontrado` tells.
    virtual std::string BuscaCatalogo(const std::string& tabla, const std::string& campoClave, const std::string& clave,
                                      const std::string& campoDescripcion, bool* encontrado = nullptr,
                                      const std::string& campoClave2 = "", const std::string& clave2 = "",
                                      const std::string& estadoExcluido = "") = 0;
    virtual std::string CondicionVentaCliente(const std::string& cliente, const std::string& sucursal, int opcion) = 0;
    virtual std::string UltimoError() = 0;
    virtual std::string ObtenConsulta(const std::string& nombre) = 0;
    virtual std::string ObtenTransaccion(const std::string& transaccion, const std::string& producto) = 0;
    virtual Date FechaServidor() = 0;
    virtual std::string FechaSQL(const Date& fecha) = 0;
    virtual std::string FechaHoraSQL(const Date& fecha) = 0;
    virtual double TipoCambio(const std::string& moneda, const Date& fecha) = 0;
    virtual void LimpiaControles(Formulario& forma, int grupo) = 0;
    virtual void HabilitaControles(Formulario& forma, int grupo) = 0;
    virtual void EnviaTecla(const std::string& teclas, int opcion, const std::string& argumento) = 0;
    [[nodiscard]] virtual bool EsSerieDigital(const std::string& serie, int opcion) = 0;
    virtual std::string FormatoImpresion(const std::string& cliente, const std::string& sucursal) = 0;
    [[nodiscard]] virtual bool ValidaPeriodoOperativo(const Date& fecha, const std::string& modulo, int opcion) = 0;
    [[nodiscard]] virtual bool LlenaLista(const std::string& sentencia, Lista& lista, bool encabezados) = 0;
    [[nodiscard]] virtual bool AgregaALista(const std::string& sentencia, Lista& lista, const std::string& clave,
                              bool encabezados) = 0;
    virtual std::string SeleccionaRegistro(const std::string& consulta, int opcion, const std::string& condicion) = 0;
    [[nodiscard]] virtual bool AccionLista(Lista& lista) = 0;
    [[nodiscard]] virtual bool AccionListaAlterna(Lista& lista) = 0;
    virtual std::string ReferenciaRenglon(const std::string& tabla, const std::string& folio,
                                          const std::string& id) = 0;
    [[nodiscard]] virtual bool RelacionaRenglon(const std::string& tabla, const std::string& folio, const std::string& renglon,
                                  const std::string& referencia) = 0;
    virtual std::string NormalizaFolio(const std::string& folio) = 0;
};

// The data services: credit of clients and receivables. A fresh instance serves one operation.
class Datos {
public:
    virtual ~Datos() = default;
    virtual double CreditoDisponible(const std::string& cliente, int opcion) = 0;
    virtual std::string MensajeError() = 0;
    // The receivable last created.
    [[nodiscard]] virtual bool ObtenCuenta(CuentaCxc& cuenta) = 0;
    // Pays a receivable: lowers its balances and records the payment.
    [[nodiscard]] virtual bool RegistraAbono(const AbonoCxc& abono, bool a, bool b, bool c) = 0;
    [[nodiscard]] virtual bool RegistraCuenta(const CuentaCxc& cuenta, bool a, bool b) = 0;
    [[nodiscard]] virtual bool AgregaImpuesto(const ImpuestoCxc& impuesto) = 0;
    // Cancels a document's receivable / its active payments, restoring what they had paid off.
    [[nodiscard]] virtual bool CancelaCuentaPorCobrar(const std::string& tabla, const std::string& folio) = 0;
    [[nodiscard]] virtual bool CancelaPagos(const std::string& tabla, const std::string& folio) = 0;
};

// The host's invoice-cancellation service, created for one deletion.
class CancelacionFactura {
public:
    virtual ~CancelacionFactura() = default;
    [[nodiscard]] virtual bool CancelaFactura(const std::string& folio, int opcion) = 0;
    virtual std::string MensajeError() = 0;
};

// Auxiliary services: the per-user condition on what may be loaded.
class Auxiliar {
public:
    virtual ~Auxiliar() = default;
    virtual std::string FiltroAdicional(int opcion) = 0;
};

// The record viewer: shows a stored row.
class VisorRegistros {
public:
    virtual ~VisorRegistros() = default;
    virtual void Muestra(const std::string& tabla, const std::string& campo, const std::string& clave,
                         const std::string& a, const std::string& b, const std::string& c, const std::string& d) = 0;
};

// The delivery-address chooser of a client.
class DireccionEntrega {
public:
    virtual ~DireccionEntrega() = default;
    virtual std::string SeleccionaDireccion(const std::string& catalogo, const std::string& clave,
                                            const std::string& actual) = 0;
    [[nodiscard]] virtual bool GuardaDireccion(const std::string& tipoDocumento, const std::string& folio,
                                 const std::string& catalogo, const std::string& clave,
                                 const std::string& direccion) = 0;
    virtual std::string MensajeError() = 0;
};

// The client's payment method, handled per click.
class MetodoPago {
public:
    virtual ~MetodoPago() = default;
    [[nodiscard]] virtual bool Captura(const std::string& cliente) = 0;
    virtual std::string MensajeError() = 0;
};

// The host's document printer, created for one print.
class ImpresorDocumentos {
public:
    virtual ~ImpresorDocumentos() = default;
    virtual void ImprimeDocumento(const std::string& formato, const std::string& folio, const std::string& texto,
                                  double numero1, double numero2, const std::string& texto2) = 0;
};

// How the component reaches the host: the four shared services, created once,
// and the objects it creates for one operation.
class Fabrica {
public:
    virtual ~Fabrica() = default;
    virtual std::unique_ptr<Servicios> CreaServicios() = 0;
    virtual std::unique_ptr<Interfaz> CreaInterfaz() = 0;
    virtual std::unique_ptr<Datos> CreaDatos() = 0;
    virtual std::unique_ptr<Auxiliar> CreaAuxiliar() = 0;
    virtual std::unique_ptr<VisorRegistros> CreaVisorRegistros() = 0;
    virtual std::unique_ptr<DireccionEntrega> CreaDireccionEntrega() = 0;
    virtual std::unique_ptr<MetodoPago> CreaMetodoPago() = 0;
    // What the series-and-number field asks about a branch's invoice series.
    virtual std::unique_ptr<ServicioSeries> CreaServicioSeries() = 0;
    virtual std::unique_ptr<ImpresorDocumentos> CreaImpresor() = 0;
    virtual std::unique_ptr<DocumentoFactura> CreaDocumentoFactura() = 0;
    virtual std::unique_ptr<Correo> CreaCorreo() = 0;
    virtual std::unique_ptr<CancelacionFactura> CreaCancelacionFactura() = 0;
    // Where the toolbar keeps its additional fields.
    virtual std::unique_ptr<CamposAdicionales> CreaCamposAdicionales() = 0;
};

}  // namespace kx204::host
