// The screen's fields with their design settings.
#include "kx204/screen/frm_kx204.hpp"

namespace kx204 {

namespace {

using host::AjustesCampo;
using host::TipoDato;
namespace formatos = host::formatos;

AjustesCampo Clave(std::string idconsulta, std::string transaccion, int maxLength = 0) {
    AjustesCampo a;
    a.esclave = a.mayusculas = a.tabonenter = a.tabonentercancel = true;
    a.maxLength = maxLength;
    a.idconsulta = std::move(idconsulta);
    a.transaccion = std::move(transaccion);
    return a;
}

AjustesCampo Texto(int maxLength, bool tabonentervacio = false) {
    AjustesCampo a;
    a.tabonenter = true;
    a.tabonentervacio = tabonentervacio;
    a.maxLength = maxLength;
    return a;
}

AjustesCampo SoloLectura() { return AjustesCampo{}; }

AjustesCampo Numero(int formato, TipoDato tipodato, std::string textoInicial, bool tabonenter = false) {
    AjustesCampo a;
    a.formato = formato;
    a.tipodato = tipodato;
    a.textoInicial = std::move(textoInicial);
    a.tabonenter = tabonenter;
    return a;
}

AjustesCampo Importe() { return Numero(formatos::Importe, TipoDato::Moneda, "$0.0000"); }

AjustesCampo Folio() {
    AjustesCampo a = Clave("FACTURA", "", 10);
    a.tabonenter = a.tabonentercancel = false;
    return a;
}

host::AjustesBarra Barra() {
    host::AjustesBarra a;
    a.caption = "Facturación consolidada de notas de venta";
    a.opc_table = "Factura";
    a.opc_key = "Fc_Folio";
    a.showexitbutton = a.showwindowslist = true;
    a.showmenupopup = a.easyaccessenabled = false;
    return a;
}

// The note list's layout before any load (widths in twips; 0 hides a column).
std::vector<host::ColumnaLista> ColumnasIniciales() {
    using host::Alineacion;
    constexpr int kAncho = 2540;
    std::vector<host::ColumnaLista> columnas;
    for (const char* caption : {"Folio", "Cliente", "Fecha", "Tipo", "Referencia"})
        columnas.push_back({caption, Alineacion::Izquierda, kAncho});
    for (const char* caption : {"Impuesto", "Importe"}) columnas.push_back({caption, Alineacion::Derecha, kAncho});
    for (const char* caption : {"Descuento global", "Descuento importe", "Suma importe"})
        columnas.push_back({caption, Alineacion::Izquierda, 0});
    for (const char* caption : {"Cond. Venta", "Forma pago", "Operador", "Vendedor", "Origen", "Documento"})
        columnas.push_back({caption, Alineacion::Izquierda, kAncho});
    return columnas;
}

}  // namespace

frmKX204::frmKX204(Publico& publico)
    : host::Formulario("frmKX204", "Facturación consolidada de notas de venta"),
      Controles(Crea<host::BarraHerramientas>("Controles", Barra())),
      txtFolio(Crea<host::CampoTexto>("txtFolio", host::Control::kSinGrupo, Folio())),
      ssTabQvr(Crea<host::ControlPestanas>("ssTabQvr", std::vector<std::string>{"Encabezado", "Notas de venta"})),
      fr0(Crea<host::Marco>("fr0")),
      sh0(Crea<host::Marco>("sh0")),
      frDetalle(Crea<host::Marco>("frDetalle")),
      sh2(Crea<host::Marco>("sh2")),
      frTotal(Crea<host::Marco>("frTotal")),
      txt_Sc_Cve_Sucursal(
          Crea<host::CampoTexto>("txt_Sc_Cve_Sucursal", grupos::Encabezado, Clave("SUCURSAL", "CA001"))),
      txt_Sc_Descripcion(Crea<host::CampoTexto>("txt_Sc_Descripcion", grupos::Encabezado, SoloLectura())),
      txt_Al_Cve_Almancen(Crea<host::CampoTexto>("txt_Al_Cve_Almancen", grupos::Encabezado, Clave("ALMACEN", "CA002"))),
      txtAl_Descripcion(Crea<host::CampoTexto>("txtAl_Descripcion", grupos::Encabezado, SoloLectura())),
      txt_Cl_Cve_Cliente(
          Crea<host::CampoTexto>("txt_Cl_Cve_Cliente", grupos::Encabezado, Clave("CLIENTE", "CA014", 10))),
      txt_Clt_Descripcion(Crea<host::CampoTexto>("txt_Clt_Descripcion", grupos::Cliente, SoloLectura())),
      txt_Mn_Cve_Moneda(Crea<host::CampoTexto>("txt_Mn_Cve_Moneda", grupos::Encabezado, Clave("MONEDA", "CA039", 6))),
      txt_Mn_Descripcion(Crea<host::CampoTexto>("txt_Mn_Descripcion", grupos::Encabezado, SoloLectura())),
      txt_Vn_Cve_Vendedor(
          Crea<host::CampoTexto>("txt_Vn_Cve_Vendedor", grupos::Encabezado, Clave("VENDEDOR", "CA015", 10))),
      txt_Vn_Descripcion(Crea<host::CampoTexto>("txt_Vn_Descripcion", grupos::Encabezado, SoloLectura())),
      txtCondicionVenta(
          Crea<host::CampoTexto>("txtCondicionVenta", grupos::Documento, Clave("CONDICION_VENTA", "CA128"))),
      txtNCondicionVenta(Crea<host::CampoTexto>("txtNCondicionVenta", grupos::Cliente, SoloLectura())),
      txt_Fc_Factura(Crea<host::CampoSerie>("txt_Fc_Factura", grupos::Documento)),
      dpFecha(Crea<host::SelectorFecha>("dpFecha", grupos::Documento)),
      dpFecha_Inicio(Crea<host::SelectorFecha>("dpFecha_Inicio", grupos::Encabezado)),
      dpFecha_Final(Crea<host::SelectorFecha>("dpFecha_Final", grupos::Encabezado)),
      chkFechas(Crea<host::CasillaVerificacion>("chkFechas", grupos::Encabezado, "Considerar fechas")),
      chkFiltrarCondicion(
          Crea<host::CasillaVerificacion>("chkFiltrarCondicion", grupos::Encabezado, "Filtrar condición de venta")),
      txt_Fc_Tipo_Cambio(Crea<host::CampoTexto>("txt_Fc_Tipo_Cambio", grupos::Documento,
                                                Numero(formatos::TipoCambio, TipoDato::Moneda, "$0.0000", true))),
      txt_Comentario(Crea<host::CampoTexto>("txt_Comentario", grupos::Encabezado, Texto(50))),
      txt_Referencia(Crea<host::CampoTexto>("txt_Referencia", grupos::Encabezado, Texto(15, true))),
      txt_Cl_Razon_Social_1(Crea<host::CampoTexto>("txt_Cl_Razon_Social_1", grupos::Cliente, SoloLectura())),
      txt_Cl_Direccion_1(Crea<host::CampoTexto>("txt_Cl_Direccion_1", grupos::Cliente, SoloLectura())),
      txt_Cl_R_F_C(Crea<host::CampoTexto>("txt_Cl_R_F_C", grupos::Cliente, SoloLectura())),
      txt_Sg_Descripcion(Crea<host::CampoTexto>("txt_Sg_Descripcion", grupos::Cliente, SoloLectura())),
      txt_Rt_Descripcion(Crea<host::CampoTexto>("txt_Rt_Descripcion", grupos::Cliente, SoloLectura())),
      txt_Cl_Dias_Credito(Crea<host::CampoTexto>("txt_Cl_Dias_Credito", grupos::Cliente,
                                                 Numero(formatos::Entero, TipoDato::Entero, "0"))),
      txt_Credito_Disponible(Crea<host::CampoTexto>("txt_Credito_Disponible", grupos::Cliente, Importe())),
      cmdCuentaBancaria(Crea<host::BotonPlano>("cmdCuentaBancaria", grupos::Encabezado, "Método pago")),
      lvNotas(Crea<host::Lista>("lvNotas", host::Control::kSinGrupo)),
      chkMarcarTodos(Crea<host::CasillaVerificacion>("chkMarcarTodos", host::Control::kSinGrupo, "Marcar todos")),
      chkConsolidar(
          Crea<host::CasillaVerificacion>("chkConsolidar", grupos::Encabezado, "Consolidar cuentas por cobrar")),
      txtSuma(Crea<host::CampoTexto>("txtSuma", grupos::Totales, Importe())),
      txtDescuento_Global(Crea<host::CampoTexto>("txtDescuento_Global", grupos::Totales, Importe())),
      txtSubtotal(Crea<host::CampoTexto>("txtSubtotal", grupos::Totales, Importe())),
      txtImpuestos(Crea<host::CampoTexto>("txtImpuestos", grupos::Totales, Importe())),
      txtTotal(Crea<host::CampoTexto>("txtTotal", grupos::Totales, Importe())),
      publico_(publico) {
    for (host::CampoTexto* clave : {&txt_Sc_Cve_Sucursal, &txt_Al_Cve_Almancen, &txt_Cl_Cve_Cliente, &txt_Mn_Cve_Moneda,
                                    &txt_Vn_Cve_Vendedor, &txtCondicionVenta, &txt_Comentario, &txt_Referencia})
        clave->SetEnabled(false);
    for (host::Control* inactivo :
         {static_cast<host::Control*>(&txt_Fc_Factura), static_cast<host::Control*>(&dpFecha),
          static_cast<host::Control*>(&dpFecha_Inicio), static_cast<host::Control*>(&dpFecha_Final),
          static_cast<host::Control*>(&cmdCuentaBancaria)})
        inactivo->SetEnabled(false);
    txt_Fc_Factura.SetLocked(true);

    txt_Sc_Cve_Sucursal.SetSql("SELECT Sc_Descripcion FROM Sucursal WHERE Sc_Cve_Sucursal = '?'");
    txt_Sc_Cve_Sucursal.SetControlResultado(&txt_Sc_Descripcion);
    txt_Al_Cve_Almancen.SetSql("SELECT Al_Descripcion FROM Almacen WHERE Al_Cve_Almacen= '?'");
    txt_Al_Cve_Almancen.SetControlResultado(&txtAl_Descripcion);
    txt_Cl_Cve_Cliente.SetSql("SELECT Cl_Descripcion FROM Cliente WHERE Cl_Cve_Cliente = '?'");
    txt_Cl_Cve_Cliente.SetControlResultado(&txt_Clt_Descripcion);
    txt_Mn_Cve_Moneda.SetSql("SELECT Mn_Descripcion FROM Moneda WHERE Mn_Cve_Moneda = '?'");
    txt_Mn_Cve_Moneda.SetControlResultado(&txt_Mn_Descripcion);
    txt_Vn_Cve_Vendedor.SetSql("SELECT Vn_Descripcion FROM Vendedor WHERE Vn_Cve_Vendedor = '?'");
    txt_Vn_Cve_Vendedor.SetControlResultado(&txt_Vn_Descripcion);
    txtCondicionVenta.SetSql("SELECT Cv_Descripcion FROM Condicion_Venta WHERE Cv_Cve_Condicion_Venta = '?'");
    txtCondicionVenta.SetControlResultado(&txtNCondicionVenta);

    for (host::CampoTexto* soloLectura :
         {&txt_Sc_Descripcion, &txtAl_Descripcion, &txt_Clt_Descripcion, &txt_Mn_Descripcion, &txt_Vn_Descripcion,
          &txtNCondicionVenta, &txt_Cl_Razon_Social_1, &txt_Cl_Direccion_1, &txt_Cl_R_F_C, &txt_Sg_Descripcion,
          &txt_Rt_Descripcion, &txt_Fc_Tipo_Cambio, &txt_Cl_Dias_Credito, &txt_Credito_Disponible, &txtSuma,
          &txtDescuento_Global, &txtSubtotal, &txtImpuestos, &txtTotal})
        soloLectura->SetLocked(true);

    for (host::Control* encabezado :
         std::initializer_list<host::Control*>{&txt_Sc_Cve_Sucursal, &txt_Sc_Descripcion,
                                               &txt_Al_Cve_Almancen, &txtAl_Descripcion,
                                               &txt_Cl_Cve_Cliente,  &txt_Clt_Descripcion,
                                               &txt_Mn_Cve_Moneda,   &txt_Mn_Descripcion,
                                               &txt_Vn_Cve_Vendedor, &txt_Vn_Descripcion,
                                               &txtCondicionVenta,   &txtNCondicionVenta,
                                               &txt_Fc_Factura,      &dpFecha,
                                               &dpFecha_Inicio,      &dpFecha_Final,
                                               &chkFechas,           &chkFiltrarCondicion,
                                               &txt_Fc_Tipo_Cambio,  &txt_Comentario,
                                               &txt_Referencia,      &txt_Cl_Razon_Social_1,
                                               &txt_Cl_Direccion_1,  &txt_Cl_R_F_C,
                                               &txt_Sg_Descripcion,  &txt_Rt_Descripcion,
                                               &txt_Cl_Dias_Credito, &txt_Credito_Disponible,
                                               &cmdCuentaBancaria,   &sh0})
        encabezado->SetContenedor(&fr0);
    for (host::Control* detalle :
         std::initializer_list<host::Control*>{&lvNotas, &chkMarcarTodos, &chkConsolidar, &frTotal, &sh2})
        detalle->SetContenedor(&frDetalle);
    fr0.SetContenedor(&ssTabQvr);
    fr0.SetPagina(0);
    frDetalle.SetContenedor(&ssTabQvr);
    frDetalle.SetPagina(1);
    for (host::CampoTexto* total : {&txtSuma, &txtDescuento_Global, &txtSubtotal, &txtImpuestos, &txtTotal})
        total->SetContenedor(&frTotal);
    frDetalle.SetEnabled(false);  // only the frame of the visible tab takes input

    lvNotas.SetColumnas(ColumnasIniciales());
    CreaEtiquetas();
    Disposicion();
    Conecta();
}

frmKX204::~frmKX204() = default;

void frmKX204::CreaEtiquetas() {
    const std::pair<const char*, const char*> etiquetas[] = {
        {"txtFolio", "Folio:"},
        {"txt_Sc_Cve_Sucursal", "Sucursal:"},
        {"txt_Al_Cve_Almancen", "Almacén:"},
        {"txt_Cl_Cve_Cliente", "Cliente:"},
        {"txt_Mn_Cve_Moneda", "Moneda:"},
        {"txt_Vn_Cve_Vendedor", "Vendedor:"},
        {"txtCondicionVenta", "Condición venta:"},
        {"txt_Fc_Factura", "Factura:"},
        {"dpFecha", "Fecha:"},
        {"dpFecha_Inicio", "Ventas del: "},
        {"dpFecha_Final", "Al:"},
        {"txt_Fc_Tipo_Cambio", "Tipo cambio:"},
        {"txt_Comentario", "Comentario:"},
        {"txt_Referencia", "Referencia:"},
        {"txt_Cl_Razon_Social_1", "Razón social:"},
        {"txt_Cl_Direccion_1", "Domicilio:"},
        {"txt_Cl_R_F_C", "RFC:"},
        {"txt_Sg_Descripcion", "Segmento:"},
        {"txt_Rt_Descripcion", "Ruta:"},
        {"txt_Cl_Dias_Credito", "Días crédito:"},
        {"txt_Credito_Disponible", "Crédito disponible:"},
        {"txtSuma", "Suma:"},
        {"txtDescuento_Global", "Desc. global:"},
        {"txtSubtotal", "Sub-Total:"},
        {"txtImpuestos", "Impuestos:"},
        {"txtTotal", "Total:"},
    };
    for (const auto& [campo, caption] : etiquetas) {
        auto& etiqueta = Crea<host::Etiqueta>(std::string("lbl_") + campo, caption);
        etiqueta.SetContenedor(Busca(campo)->Contenedor());
    }
}

}  // namespace kx204
