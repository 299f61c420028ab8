// Deleting the invoice shown: its receivable and payments cancelled, the invoice
// cancelled and its notes released, in one transaction.
#include <vector>

#include "kx204/host/runtime_error.hpp"
#include "kx204/host/transaction.hpp"
#include "kx204/screen/frm_kx204.hpp"

namespace kx204 {

void frmKX204::Controles_Eliminar() {
    const std::string estampa = objInterfaz().FechaHoraSQL(objInterfaz().FechaServidor());
    try {
        const std::string folio = txtFolio.Text();
        if (objInterfaz().EsSerieDigital(txt_Fc_Factura.Serie(), 1) && !DocumentoDigitalCancelable(folio)) return;
        auto cancelacion = publico_.fabrica.CreaCancelacionFactura();
        // A refusal rolls back before the clerk is told; an exception rolls back on its way out.
        host::Transaction transaccion(objServicios().Conexion());
        if (!CancelaSiExiste(transaccion,
                             "SELECT * FROM Cuenta_x_Cobrar WHERE Cxc_Documento = '" + host::SqlText(folio) +
                                 "' and cxc_tabla = 'FACTURA' ",
                             &host::Datos::CancelaCuentaPorCobrar, folio, "ERR-ID:7500035"))
            return;
        if (!CancelaSiExiste(transaccion,
                             "SELECT top 1 * FROM Pago_Cxc WHERE Pc_Tabla = 'FACTURA' AND Pc_Documento = '" +
                                 host::SqlText(folio) + "' AND Es_Cve_Estado = 'AC'",
                             &host::Datos::CancelaPagos, folio, "ERR-ID:7500036"))
            return;
        if (!cancelacion->CancelaFactura(folio, 0)) {
            transaccion.Rollback();
            Mensaje(std::string("Controles_Eliminar()") + kSaltoLinea + cancelacion->MensajeError(), 16, "Qivera",
                    "ERR-ID:7500037");
            return;
        }
        LiberaNotas(folio, estampa);
        transaccion.Commit();
        Controles_Cancelar();
    } catch (const host::RuntimeError& error) {
        Mensaje(error.description, 16, "Controles_Eliminar()", "ERR-ID:7500038");
    }
}

bool frmKX204::DocumentoDigitalCancelable(const std::string& folio) {
    if (Padre_ == nullptr) throw host::ObjectRequiredError();
    const bool valido = Padre_->ValidaDocumento("1|" + folio);
    const std::string error = Padre_->sError(), aviso = Padre_->sMensaje();
    if (!valido && !error.empty()) {
        objServicios().MuestraMensaje(error, 48, "Qivera", Handle(), "KX204", "");
    } else if (!valido && aviso.empty()) {
        Controles_Cancelar();
    } else if (!aviso.empty()) {
        objServicios().MuestraMensaje(aviso, 64, "Qivera", Handle(), "KX204", "");
    }
    return valido && aviso.empty();
}

bool frmKX204::CancelaSiExiste(host::Transaction& transaccion, const std::string& consulta,
                               bool (host::Datos::*cancela)(const std::string&, const std::string&),
                               const std::string& folio, const std::string& id) {
    sSQL = consulta;
    auto rs = objServicios().Conexion().Execute(sSQL);
    const bool existe = !rs->Eof();
    rs->Close();
    if (!existe) return true;
    auto datos = publico_.fabrica.CreaDatos();
    if ((*datos.*cancela)("Factura", folio)) return true;
    transaccion.Rollback();
    Mensaje(std::string("Controles_Eliminar()") + kSaltoLinea + datos->MensajeError(), 16, "Operación cancelada", id);
    return false;
}

void frmKX204::LiberaNotas(const std::string& folio, const std::string& estampa) {
    auto& conexion = objServicios().Conexion();
    sSQL = "SELECT DISTINCT Vn_Folio FROM Venta WHERE Fc_Folio = '" + host::SqlText(folio) + "' ";
    std::vector<std::string> notas;
    auto rs = conexion.Execute(sSQL);
    for (; !rs->Eof(); rs->MoveNext()) notas.push_back(rs->Field("Vn_Folio").ToText());
    rs->Close();
    for (const std::string& nota : notas) {
        for (const char* tabla : {"Venta", "Venta_Encabezado"}) {
            // A note cancelled meanwhile is released from the invoice but stays cancelled.
            sSQL = std::string("UPDATE ") + tabla +
                   " SET "
                   "   Fc_Folio = '', "
                   "   Fc_Factura = '', "
                   "   Oper_Ult_Modif = '" +
                   host::SqlText(objServicios().Usuario()) +
                   "', "
                   "   Fecha_Ult_Modif = '" +
                   estampa +
                   "', "
                   "   Es_Cve_Estado  = CASE WHEN Es_Cve_Estado = 'CA' THEN 'CA' ELSE 'AC' END "
                   "WHERE Vn_Folio = '" +
                   host::SqlText(nota) + "' ";
            conexion.Execute(sSQL);
        }
    }
}

}  // namespace kx204
