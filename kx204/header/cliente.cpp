// The invoice's client: its data, credit, sale condition, delivery address and salesman.
#include "kx204/host/recordset_leido.hpp"
#include "kx204/screen/frm_kx204.hpp"

namespace kx204 {

namespace {

constexpr const char* kCondicionContado =
    "SELECT Cv_Descripcion FROM Condicion_Venta WHERE Cv_Cve_Condicion_Venta = '?' AND Cv_Tipo_Condicion = '01'";
constexpr const char* kCondicionCualquiera =
    "SELECT Cv_Descripcion FROM Condicion_Venta WHERE Cv_Cve_Condicion_Venta = '?' ";

}  // namespace

void frmKX204::txt_Cl_Cve_Cliente_Enter() {
    const std::string cliente = txt_Cl_Cve_Cliente.Value().ToText();
    sSQL = "SELECT * FROM Cliente WHERE Cl_Cve_Cliente = '" + host::SqlText(cliente) + "'";
    // Read whole: the lookups below run statements of their own.
    auto rs = host::LeeCompleto(objServicios().Conexion().Execute(sSQL));
    if (rs->Eof()) return;

    txt_Clt_Descripcion.SetText(rs->Field("Cl_Descripcion").ToTextOrEmpty());
    txt_Cl_Razon_Social_1.SetText(rs->Field("Cl_Razon_Social_1").ToTextOrEmpty());
    txt_Cl_Direccion_1.SetText(rs->Field("Cl_Direccion_1").ToTextOrEmpty());
    txt_Cl_R_F_C.SetText(rs->Field("Cl_R_F_C").ToTextOrEmpty());
    auto& interfaz = objInterfaz();
    txt_Sg_Descripcion.SetText(interfaz.BuscaCatalogo("Segmento", "Sg_Cve_Segmento",
                                                      rs->Field("Sg_Cve_Segmento").ToTextOrEmpty(), "Sg_Descripcion",
                                                      nullptr, "", "", "BA"));
    txt_Rt_Descripcion.SetText(interfaz.BuscaCatalogo("Ruta", "Rt_Cve_Ruta", rs->Field("Rt_Cve_Ruta").ToTextOrEmpty(),
                                                      "Rt_Descripcion", nullptr, "", "", "BA"));
    txt_Cl_Dias_Credito.SetValue(rs->Field("Cl_Dias_Credito"));
    txt_Credito_Disponible.SetValue(publico_.objDatos->CreditoDisponible(cliente, 0));

    if (Controles.NuevoDocumento()) txtCondicionVenta.SetEnabled(true);
    const bool sinCredito = rs->Field("Cl_Limite_Credito").ToDouble() <= 0;
    txtCondicionVenta.SetFiltro(sinCredito ? "Condicion_Venta.Cv_Tipo_Condicion=01" : "");
    txtCondicionVenta.SetSql(sinCredito ? kCondicionContado : kCondicionCualquiera);
    txtCondicionVenta.SetText(interfaz.CondicionVentaCliente(cliente, txt_Sc_Cve_Sucursal.Text(), 0));
    const std::string error = interfaz.UltimoError();
    if (!error.empty()) Mensaje(error, 16, "ERROR", "ERR-ID:7500042");

    if (Controles.NuevoDocumento()) {
        DireccionEntrega = objDireccionEntrega->SeleccionaDireccion("Cliente", cliente, DireccionEntrega);
        if (!DireccionEntrega.empty()) {
            interfaz.EnviaTecla("{TAB}", 0, "");
        } else {
            txt_Cl_Cve_Cliente.SetText("");  // no client without a delivery address
        }
    }

    if (!txtFolio.Enabled()) {
        const std::string vendedor = rs->Field("Vn_Cve_Vendedor").ToTextOrEmpty();
        if (SugerirVendedor == 1) {
            txt_Vn_Cve_Vendedor.SetText(vendedor);
        } else if (SugerirVendedor == 2) {
            txt_Vn_Cve_Vendedor.SetEnabled(false);
            txt_Vn_Cve_Vendedor.SetText(vendedor);
        }
    }
    rs->Close();
}

void frmKX204::txt_Cl_Cve_Cliente_Change() {
    objInterfaz().LimpiaControles(*this, grupos::Cliente);
    txtCondicionVenta.SetEnabled(false);
    txtCondicionVenta.SetText("");
    txtCondicionVenta.SetSql("");
    txtCondicionVenta.SetFiltro("");
    DireccionEntrega.clear();
}

}  // namespace kx204
