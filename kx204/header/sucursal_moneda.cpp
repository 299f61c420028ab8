// Branch and currency fields: the branch binds the series and the warehouse
// lookup; the currency brings its exchange rate. Either change empties the notes.
#include "kx204/host/runtime_error.hpp"
#include "kx204/screen/frm_kx204.hpp"

namespace kx204 {

void frmKX204::txt_Sc_Cve_Sucursal_Enter() {
    const std::string sucursal = txt_Sc_Cve_Sucursal.Text();
    txt_Fc_Factura.SetSucursal(sucursal);
    txt_Al_Cve_Almancen.SetSql("SELECT Al_Descripcion FROM Almacen WHERE Al_Cve_Almacen= '?' and sc_cve_sucursal='" +
                               host::SqlText(sucursal) + "' ");
    txt_Al_Cve_Almancen.SetFiltro("Almacen.Sc_Cve_Sucursal='" + host::SqlText(sucursal) + "' ");
}

void frmKX204::txt_Sc_Cve_Sucursal_Change() {
    lvNotas.Clear();
    txt_Al_Cve_Almancen.SetFiltro("");
}

void frmKX204::txt_Mn_Cve_Moneda_Enter() {
    const std::string moneda = txt_Mn_Cve_Moneda.Text();
    txt_Fc_Tipo_Cambio.SetValue(objInterfaz().TipoCambio(moneda, dpFecha.Value()));
    const std::string local = objServicios().LeeVariable("FIN_MONEDA_LOCAL", 0, "", "").ToTextOrEmpty();
    txt_Fc_Tipo_Cambio.SetEnabled(moneda != local);
}

void frmKX204::txt_Mn_Cve_Moneda_Change() {
    txt_Fc_Tipo_Cambio.SetText("0");
    txt_Fc_Tipo_Cambio.SetEnabled(false);
    LimpiaNotas();
}

}  // namespace kx204
