#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "kx204/component/publico.hpp"
#include "kx204/host/controls/barra_herramientas.hpp"
#include "kx204/host/controls/campo_serie.hpp"
#include "kx204/host/controls/campo_texto.hpp"
#include "kx204/host/controls/controles_simples.hpp"
#include "kx204/host/controls/formulario.hpp"
#include "kx204/host/controls/lista.hpp"
#include "kx204/host/transaction.hpp"
#include "kx204/host/ventana_host.hpp"

namespace kx204 {

// Groups of fields the host's LimpiaControles and HabilitaControles act on.
namespace grupos {
constexpr int Totales = 0;
constexpr int Documento = 1;
constexpr int Encabezado = 2;
constexpr int Cliente = 5;
}  // namespace grupos

// A line break in messages.
constexpr const char* kSaltoLinea = "\r\n";

namespace teclas = host::teclas;

// The consolidated-invoicing screen: one object, its fields and its handlers.
// Member functions are defined in the folder of the subsystem they belong to.
class frmKX204 : public host::Formulario {
public:
    explicit frmKX204(Publico& publico);
    ~frmKX204() override;

    // Host contract.
    void SetPadre(host::VentanaHost* padre) { Padre_ = padre; }
    host::VentanaHost* Padre() const { return Padre_; }
    std::string Transaccion();

    // Lifecycle, raised by the host.
    void Form_Load();
    void Form_Activate();
    void Form_Unload();
    void Form_KeyUp(int tecla, int shift);
    void Form_Resize();

    // Toolbar commands.
    void Controles_Nuevo();
    void Controles_Cancelar();
    void Controles_Salir();
    void Controles_Visor();

    // Header fields.
    void txt_Cl_Cve_Cliente_Enter();
    void txt_Cl_Cve_Cliente_Change();
    void txt_Sc_Cve_Sucursal_Enter();
    void txt_Sc_Cve_Sucursal_Change();
    void txt_Mn_Cve_Moneda_Enter();
    void txt_Mn_Cve_Moneda_Change();
    void chkFechas_Click();
    void dpFecha_Rango_Change();
    void cmdCuentaBancaria_Click();

    // Sale notes: loading, adding, selection and totals.
    void Controles_B1Click();
    void CargaVentas();
    void BuscaColumnas();
    void Controles_B3Click();
    void Totalizar();
    std::string FoliosSeleccionados() const;
    void LimpiaNotas();
    void chkMarcarTodos_Click();
    void lvNotas_ItemCheck(int indice);
    void lvNotas_KeyPress(int& caracter);
    void lvNotas_ColumnClick(int columna);
    void lvNotas_KeyUp(int tecla, int shift);
    std::string ExistenVentasCanceladas(const std::string& folios);

    // Invoice generation.
    void Controles_Aceptar();
    std::string Facturar_Venta(const std::string& folios, const std::string& serie, std::int32_t numero);
    std::string Traer_Lotes_Ventas(const std::string& Tabla, const std::string& Documentos,
                                   const std::string& Producto);
    std::string ObtenSeriesVenta(const std::string& folios, const std::string& producto, const std::string& talla,
                                 const std::string& color);
    void chkConsolidar_Click();
    std::unique_ptr<host::Recordset> TotalesCuentasNotas(const std::string& folios);
    std::unique_ptr<host::Recordset> ImpuestosCuentasNotas(const std::string& folios);
    bool RegistraPagosNotas(const std::string& folios, const std::string& folioFactura);
    bool GeneraCuentaFactura(const std::string& folios, const std::string& folioFactura, host::Recordset& totales,
                             host::Recordset& impuestos);
    void Controles_B2Click();
    void EnviaDocumentoCorreo(const std::string& folio, const std::string& tabla, bool envia);

    // Stored invoices: shown by folio, printed, deleted.
    void txtFolio_Enter();
    void txtFolio_Change();
    void CargaNotasFactura();
    void Controles_Eliminar();
    void Controles_Imprimir();

    void ssTabQvr_Click(int anterior);
    // Enter moves on from the check boxes and the tab control as it does from a text field.
    void ssTabQvr_KeyPress(int& caracter);
    void chkConsolidar_KeyPress(int& caracter);
    void chkFiltrarCondicion_KeyPress(int& caracter);
    void chkFechas_KeyDown(int tecla, int shift);

    // The controls, named as on the screen.
    host::BarraHerramientas& Controles;
    host::CampoTexto& txtFolio;
    host::ControlPestanas& ssTabQvr;
    host::Marco& fr0;
    host::Marco& sh0;
    host::Marco& frDetalle;
    host::Marco& sh2;
    host::Marco& frTotal;
    host::CampoTexto& txt_Sc_Cve_Sucursal;
    host::CampoTexto& txt_Sc_Descripcion;
    host::CampoTexto& txt_Al_Cve_Almancen;
    host::CampoTexto& txtAl_Descripcion;
    host::CampoTexto& txt_Cl_Cve_Cliente;
    host::CampoTexto& txt_Clt_Descripcion;
    host::CampoTexto& txt_Mn_Cve_Moneda;
    host::CampoTexto& txt_Mn_Descripcion;
    host::CampoTexto& txt_Vn_Cve_Vendedor;
    host::CampoTexto& txt_Vn_Descripcion;
    host::CampoTexto& txtCondicionVenta;
    host::CampoTexto& txtNCondicionVenta;
    host::CampoSerie& txt_Fc_Factura;
    host::SelectorFecha& dpFecha;
    host::SelectorFecha& dpFecha_Inicio;
    host::SelectorFecha& dpFecha_Final;
    host::CasillaVerificacion& chkFechas;
    host::CasillaVerificacion& chkFiltrarCondicion;
    host::CampoTexto& txt_Fc_Tipo_Cambio;
    host::CampoTexto& txt_Comentario;
    host::CampoTexto& txt_Referencia;
    host::CampoTexto& txt_Cl_Razon_Social_1;
    host::CampoTexto& txt_Cl_Direccion_1;
    host::CampoTexto& txt_Cl_R_F_C;
    host::CampoTexto& txt_Sg_Descripcion;
    host::CampoTexto& txt_Rt_Descripcion;
    host::CampoTexto& txt_Cl_Dias_Credito;
    host::CampoTexto& txt_Credito_Disponible;
    host::BotonPlano& cmdCuentaBancaria;
    host::Lista& lvNotas;
    host::CasillaVerificacion& chkMarcarTodos;
    host::CasillaVerificacion& chkConsolidar;
    host::CampoTexto& txtSuma;
    host::CampoTexto& txtDescuento_Global;
    host::CampoTexto& txtSubtotal;
    host::CampoTexto& txtImpuestos;
    host::CampoTexto& txtTotal;

    // Screen fields set at load.
    std::int16_t SugerirVendedor = 0;
    std::string AlmacenDefault;
    std::string SucursalDefault;
    bool EnviarDocumentoEmail = false;
    bool PermitirCapturarNotaVenta = false;
    std::string MonedaLocal;
    bool CambiarFecha = false;
    std::string DireccionEntrega;
    std::unique_ptr<host::DireccionEntrega> objDireccionEntrega;

    // The statement last composed by any procedure.
    std::string sSQL;
    // Why the invoice could not be written, left by the routines Accept calls.
    std::string sErrorFactura;

    // Positions (sub-item indexes) of the totals columns of the note list; 0 when absent.
    std::int32_t ColSubtotal = 0;
    std::int32_t ColImpuesto = 0;
    std::int32_t ColDescuentoGlobal = 0;
    std::int32_t ColTotal = 0;

private:
    host::Servicios& objServicios() { return *publico_.objServicios; }
    host::Interfaz& objInterfaz() { return *publico_.objInterfaz; }
    void Conecta();
    void EnfocaSiHabilitado(host::Control& control);
    // A refusal of the header's validations: message on the first tab, then the field's focus.
    void Rechaza(const std::string& prompt, const std::string& id, host::Control& campo);
    int Mensaje(const std::string& prompt, int botones, const std::string& titulo, const std::string& id);
    void MuestraEncabezadoFactura(const host::Recordset& factura);
    void HabilitaEliminar(const std::string& estado);
    // Delete's check of a digital invoice with the host; false when the deletion stops there.
    bool DocumentoDigitalCancelable(const std::string& folio);
    // Runs a check and, when it finds rows, asks a data service to cancel; false with its reason.
    bool CancelaSiExiste(host::Transaction& transaccion, const std::string& consulta,
                         bool (host::Datos::*cancela)(const std::string&, const std::string&), const std::string& folio,
                         const std::string& id);
    void LiberaNotas(const std::string& folio, const std::string& estampa);
    // Accept's validation of the header; false when it refused (and said why).
    bool ValidaEncabezado();
    // Accept's transaction; answers the new invoice's folio and print format, or nothing.
    bool GrabaFactura(const std::string& folios, std::string& serie, std::string& folio, std::string& formato);
    // Rolls back, tells why and abandons the save.
    void CancelaFactura(const std::string& prompt, int botones, const std::string& titulo, const std::string& id);
    void FirmaImprimeYEnvia(const std::string& serie, const std::string& folio, const std::string& formato);
    std::string MarcaVentas(const std::string& tabla, const std::string& folios,
                            const host::EncabezadoFactura& encabezado);
    std::string VentasFacturadasEnOtra(const std::string& folios, const std::string& folio);
    host::EncabezadoFactura EncabezadoDeFactura(const std::string& serie, std::int32_t numero);
    // Checks or unchecks items as one change: the totals follow once, at the end.
    template <class Marca>
    void CambiaMarcas(Marca marca);
    // Whether Accept and the invoice query check the operative period; absent, null or empty is no.
    bool ValidaPeriodo();
    void CreaEtiquetas();
    // Design places and sizes of every element.
    void Disposicion();
    void EnterComoTab(int tecla);

    Publico& publico_;
    std::unique_ptr<host::ServicioSeries> servicioSeries_;
    std::unique_ptr<host::CamposAdicionales> camposAdicionales_;
    bool totalesSuspendidos_ = false;
    host::VentanaHost* Padre_ = nullptr;
};

template <class Marca>
inline void frmKX204::CambiaMarcas(Marca marca) {
    // One change, one recount: the item-check notifications of the block do not recount each.
    totalesSuspendidos_ = true;
    try {
        for (int i = 0; i < lvNotas.Count(); ++i) marca(i);
    } catch (...) {
        totalesSuspendidos_ = false;
        throw;
    }
    totalesSuspendidos_ = false;
    Totalizar();
}

}  // namespace kx204
