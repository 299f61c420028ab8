// "Cargar ventas": the branch's pending notes of the header's currency, by
// condition and dates when asked, into the note list.
#include "kx204/host/runtime_error.hpp"
#include "kx204/host/texto.hpp"
#include "kx204/screen/frm_kx204.hpp"

namespace kx204 {

namespace {

std::string Literal(const std::string& valor) { return "'" + host::SqlText(valor) + "'"; }

}  // namespace

void frmKX204::Controles_B1Click() {
    try {
        objInterfaz().HabilitaControles(*this, grupos::Cliente);
        lvNotas.SetFullRowSelect(true);
        CargaVentas();
    } catch (const host::RuntimeError& error) {
        Mensaje(std::string("Controles_B1Click() - ") + kSaltoLinea + error.description, 16, "ERROR", "ERR-ID:7500025");
    }
}

void frmKX204::CargaVentas() {
    try {
        if (!Controles.NuevoDocumento()) return;
        if (txt_Mn_Cve_Moneda.Text().empty())
            return Rechaza("Debe especificar una moneda", "ERR-ID:7500026", txt_Mn_Cve_Moneda);
        if (txt_Sc_Descripcion.Text().empty())
            return Rechaza("Debe especificar una sucursal correcta para la factura", "ERR-ID:7500027",
                           txt_Sc_Cve_Sucursal);
        if (txtAl_Descripcion.Text().empty())
            return Rechaza("Debe especificar un almacén correcto para la factura", "ERR-ID:7500028",
                           txt_Al_Cve_Almancen);
        auto& interfaz = objInterfaz();
        const std::string filtro = publico_.objAuxiliar->FiltroAdicional(0);
        if (filtro.empty()) return;

        lvNotas.Clear();
        chkMarcarTodos.SetValue(0);
        for (host::CampoTexto* total : {&txtTotal, &txtDescuento_Global, &txtImpuestos, &txtSuma, &txtSubtotal})
            total->SetValue(host::Currency());

        std::string clausula = "WHERE ";
        clausula += "   Venta.Es_Cve_Estado not in ('CA','FA','DE') AND ";
        clausula += "   Venta.Fc_Folio = '' AND ";
        clausula += "   Venta.Mn_Cve_Moneda = " + Literal(txt_Mn_Cve_Moneda.Text()) + " AND ";
        clausula += "   Venta.Sc_Cve_Sucursal = " + Literal(txt_Sc_Cve_Sucursal.Text()) + " AND ";
        if (chkFiltrarCondicion.Value() == 1)
            clausula += "   Venta.Vn_Condicion_Venta = " + Literal(txtCondicionVenta.Text()) + " AND ";
        if (chkFechas.Value() == 1)
            clausula += " Venta.Vn_Fecha BETWEEN " + Literal(interfaz.FechaSQL(dpFecha_Inicio.Value())) + " AND " +
                        Literal(interfaz.FechaSQL(dpFecha_Final.Value())) + " AND ";
        clausula += filtro;

        sSQL =
            host::ReemplazaSinMayusculas(interfaz.ObtenConsulta("FACTURACION_VENTA_CONSOLIDADA"), "{WHERE}", clausula);
        lvNotas.SetOrden(0, host::Orden::Ascendente);
        interfaz.LlenaLista(sSQL, lvNotas, true);
        BuscaColumnas();
        ssTabQvr.SetTab(1);
    } catch (const host::RuntimeError& error) {
        Mensaje(std::string("CargaVentas()") + kSaltoLinea + error.description, 16, "Qivera", "ERR-ID:7500029");
    }
}

void frmKX204::BuscaColumnas() {
    ColSubtotal = ColImpuesto = ColDescuentoGlobal = ColTotal = 0;
    const auto& columnas = lvNotas.Columnas();
    if (lvNotas.Count() < 1 || columnas.size() < 2) return;
    for (std::size_t i = 1; i <= columnas.size(); ++i) {
        const std::string encabezado = host::Mayusculas(columnas[i - 1].caption);
        const auto posicion = static_cast<std::int32_t>(i - 1);
        if (encabezado == "SUBTOTAL") ColSubtotal = posicion;
        if (encabezado == "TOTAL") ColTotal = posicion;
        if (encabezado == "IMPUESTO") ColImpuesto = posicion;
        if (encabezado == "DSCTO GLOBAL") ColDescuentoGlobal = posicion;
    }
    struct Faltante {
        std::int32_t posicion;
        const char* aviso;
        const char* id;
    };
    const Faltante faltantes[] = {
        {ColSubtotal, "No existe la columna subtotal, no será posible totalizar", "ERR-ID:7500046"},
        {ColImpuesto, "No existe la columna impuesto, no será posible totalizar", "ERR-ID:7500047"},
        {ColDescuentoGlobal, "No existe la columna descuento global, no será posible totalizar", "ERR-ID:7500048"},
        {ColTotal, "No existe la columna totla, no será posible totalizar", "ERR-ID:7500049"},
    };
    for (const Faltante& faltante : faltantes) {
        if (faltante.posicion != 0) continue;
        Mensaje(faltante.aviso, 16, "Total", faltante.id);
        return;
    }
}

}  // namespace kx204
