// Where each element sits (twips) and how the tab control, its frames, the note list and the
// totals follow the window's size.
#include "kx204/screen/frm_kx204.hpp"

namespace kx204 {

namespace {

constexpr int kAltoCampo = 315;
constexpr int kAltoEtiqueta = 255;
constexpr int kRenglon = 405;        // from one row of fields to the next
constexpr int kPrimerRenglon = 240;  // first row inside a frame
constexpr int kAltoPestanas = 360;   // the tab captions above each tab's frame
constexpr int kColumnaIzquierda = 240, kCamposIzquierda = 1860;
constexpr int kColumnaDerecha = 7560, kCamposDerecha = 9240;

struct Lugar {
    const char* control;
    int left, top, width, height;
};

int Renglon(int n) { return kPrimerRenglon + n * kRenglon; }

// A field's label sits in the label column of the field's row, aligned to its text.
Lugar Etiqueta(const char* control, int columna, int renglon, int width = 1560) {
    return {control, columna, Renglon(renglon) + (kAltoCampo - kAltoEtiqueta) / 2, width, kAltoEtiqueta};
}

Lugar Campo(const char* control, int left, int renglon, int width) {
    return {control, left, Renglon(renglon), width, kAltoCampo};
}

}  // namespace

void frmKX204::Disposicion() {
    constexpr int izq = kColumnaIzquierda, der = kColumnaDerecha;
    constexpr int ci = kCamposIzquierda, cd = kCamposDerecha;
    const Lugar lugares[] = {
        // On the form.
        {"lbl_txtFolio", 240, 150, 600, kAltoEtiqueta},
        {"txtFolio", 900, 120, 1800, kAltoCampo},
        {"ssTabQvr", 120, 555, 0, 0},
        // Tab control: each tab's frame under the captions; the shapes are the frames' top rules.
        {"fr0", 0, kAltoPestanas, 0, 0},
        {"frDetalle", 0, kAltoPestanas, 0, 0},
        {"sh0", 0, 0, 0, 45},
        {"sh2", 0, 0, 0, 45},
        // Header tab, left column: where the notes come from.
        Etiqueta("lbl_txt_Sc_Cve_Sucursal", izq, 0),
        Campo("txt_Sc_Cve_Sucursal", ci, 0, 1080),
        Campo("txt_Sc_Descripcion", ci + 1140, 0, 3900),
        Etiqueta("lbl_txt_Al_Cve_Almancen", izq, 1),
        Campo("txt_Al_Cve_Almancen", ci, 1, 1080),
        Campo("txtAl_Descripcion", ci + 1140, 1, 3900),
        Etiqueta("lbl_txt_Mn_Cve_Moneda", izq, 2),
        Campo("txt_Mn_Cve_Moneda", ci, 2, 1080),
        Campo("txt_Mn_Descripcion", ci + 1140, 2, 3900),
        Etiqueta("lbl_txt_Fc_Tipo_Cambio", izq, 3),
        Campo("txt_Fc_Tipo_Cambio", ci, 3, 1500),
        Etiqueta("lbl_dpFecha_Inicio", izq, 4),
        Campo("dpFecha_Inicio", ci, 4, 1500),
        Etiqueta("lbl_dpFecha_Final", ci + 1620, 4, 360),
        Campo("dpFecha_Final", ci + 2040, 4, 1500),
        Campo("chkFechas", ci + 3660, 4, 1980),
        Campo("chkFiltrarCondicion", ci, 5, 3300),
        Etiqueta("lbl_txt_Comentario", izq, 6),
        Campo("txt_Comentario", ci, 6, 5040),
        Etiqueta("lbl_txt_Referencia", izq, 7),
        Campo("txt_Referencia", ci, 7, 2040),
        // Header tab, right column: the invoice and its client.
        Etiqueta("lbl_txt_Fc_Factura", der, 0),
        Campo("txt_Fc_Factura", cd, 0, 2400),
        Etiqueta("lbl_dpFecha", der, 1),
        Campo("dpFecha", cd, 1, 1500),
        Etiqueta("lbl_txt_Cl_Cve_Cliente", der, 2),
        Campo("txt_Cl_Cve_Cliente", cd, 2, 1200),
        Campo("txt_Clt_Descripcion", cd + 1260, 2, 3900),
        Etiqueta("lbl_txt_Cl_Razon_Social_1", der, 3),
        Campo("txt_Cl_Razon_Social_1", cd, 3, 5160),
        Etiqueta("lbl_txt_Cl_Direccion_1", der, 4),
        Campo("txt_Cl_Direccion_1", cd, 4, 5160),
        Etiqueta("lbl_txt_Cl_R_F_C", der, 5),
        Campo("txt_Cl_R_F_C", cd, 5, 2040),
        Etiqueta("lbl_txt_Sg_Descripcion", der, 6),
        Campo("txt_Sg_Descripcion", cd, 6, 2040),
        Etiqueta("lbl_txt_Rt_Descripcion", cd + 2160, 6, 600),
        Campo("txt_Rt_Descripcion", cd + 2820, 6, 2340),
        Etiqueta("lbl_txt_Cl_Dias_Credito", der, 7),
        Campo("txt_Cl_Dias_Credito", cd, 7, 900),
        Etiqueta("lbl_txt_Credito_Disponible", cd + 960, 7, 1800),
        Campo("txt_Credito_Disponible", cd + 2820, 7, 2340),
        Etiqueta("lbl_txt_Vn_Cve_Vendedor", der, 8),
        Campo("txt_Vn_Cve_Vendedor", cd, 8, 1200),
        Campo("txt_Vn_Descripcion", cd + 1260, 8, 3900),
        Etiqueta("lbl_txtCondicionVenta", der, 9),
        Campo("txtCondicionVenta", cd, 9, 1200),
        Campo("txtNCondicionVenta", cd + 1260, 9, 3900),
        Campo("cmdCuentaBancaria", cd, 10, 1500),
        // Notes tab: the check boxes above the list, the totals frame under it.
        {"chkMarcarTodos", 120, 180, 2160, kAltoCampo},
        {"chkConsolidar", 2400, 180, 3300, kAltoCampo},
        {"lvNotas", 120, 600, 0, 0},
        {"frTotal", 0, 0, 9600, 720},
    };
    for (const Lugar& lugar : lugares) Busca(lugar.control)->Coloca(lugar.left, lugar.top, lugar.width, lugar.height);

    // The totals: five labelled amounts in a row, labels above their fields.
    const char* totales[] = {"txtSuma", "txtDescuento_Global", "txtSubtotal", "txtImpuestos", "txtTotal"};
    constexpr int kAnchoTotal = 1920;
    for (int i = 0; i < 5; ++i) {
        const std::string total = totales[i];
        Busca("lbl_" + total)->Coloca(i * kAnchoTotal + 60, 60, kAnchoTotal - 120, kAltoEtiqueta);
        Busca(total)->Coloca(i * kAnchoTotal + 60, 330, kAnchoTotal - 120, kAltoCampo);
    }
}

void frmKX204::Form_Resize() {
    // An assignment the control refuses (a negative size in a very small window) leaves that
    // element as it was; the following ones still run.
    const auto intenta = [](auto&& asigna) {
        try {
            asigna();
        } catch (const host::RuntimeError&) {
        }
    };
    const host::Geometria& tab = ssTabQvr.Posicion();
    intenta([&] { ssTabQvr.SetWidth(Width() - 2 * tab.left); });
    intenta([&] { ssTabQvr.SetHeight(Height() - tab.top - 100); });
    intenta([&] { sh0.SetWidth(tab.width); });
    intenta([&] { fr0.SetWidth(tab.width); });
    intenta([&] { fr0.SetHeight(tab.height - fr0.Posicion().top); });
    intenta([&] { sh2.SetWidth(tab.width); });
    intenta([&] { frDetalle.SetWidth(tab.width); });
    intenta([&] { frDetalle.SetHeight(tab.height - frDetalle.Posicion().top); });
    const host::Geometria& lista = lvNotas.Posicion();
    intenta([&] { lvNotas.SetWidth(frDetalle.Posicion().width - 2 * lista.left); });
    intenta([&] { lvNotas.SetHeight(frDetalle.Posicion().height - lista.top - frTotal.Posicion().height - 150); });
    intenta([&] { frTotal.SetTop(lista.top + lista.height + 60); });
    intenta([&] { frTotal.SetLeft(lista.left + lista.width - frTotal.Posicion().width); });
}

}  // namespace kx204
