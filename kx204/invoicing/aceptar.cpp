// Accept: validate the header, write the invoice in one transaction, then sign,
// print and mail it.
#include "kx204/host/recordset_leido.hpp"
#include "kx204/host/runtime_error.hpp"
#include "kx204/host/transaction.hpp"
#include "kx204/screen/frm_kx204.hpp"

namespace kx204 {

void frmKX204::Controles_Aceptar() {
    if (!ValidaEncabezado()) return;
    sErrorFactura.clear();
    const std::string folios = FoliosSeleccionados();
    if (folios.empty()) {
        Mensaje("No hay notas seleccionadas para facturar", 48, "Qivera", "ERR-ID:7500014");
        Controles.CancelaOperacion();
        return;
    }
    const std::string canceladas = ExistenVentasCanceladas(folios);
    if (!canceladas.empty()) {
        Mensaje(canceladas, 48, "Qivera", "ERR-ID:7500015");
        Controles.CancelaOperacion();
        return;
    }
    std::string serie, folio, formato;
    if (GrabaFactura(folios, serie, folio, formato)) FirmaImprimeYEnvia(serie, folio, formato);
}

bool frmKX204::ValidaEncabezado() {
    const auto rechaza = [&](const std::string& prompt, const std::string& titulo, const std::string& id,
                             host::Control* foco) {
        ssTabQvr.SetTab(0);
        Mensaje(prompt, 48, titulo, id);
        Controles.CancelaOperacion();
        if (foco != nullptr) EnfocaSiHabilitado(*foco);
        return false;
    };
    if (ValidaPeriodo()) {
        if (Padre_ == nullptr) throw host::ObjectRequiredError();
        if (!objInterfaz().ValidaPeriodoOperativo(dpFecha.Value(), Padre_->Modulo(), 0)) {
            Mensaje("El período operativo correspondiente a la fecha: " + dpFecha.Value().ToDdMmYyyy() +
                        ", está cerrado o no existe",
                    48, "Qivera", "ERR-ID:7500005");
            Controles.CancelaOperacion();
            return false;
        }
    }
    if (txt_Sc_Descripcion.Text().empty())
        return rechaza("La sucursal especificada es incorrecta", "Qivera", "ERR-ID:7500006", &txt_Sc_Cve_Sucursal);
    if (txtAl_Descripcion.Text().empty())
        return rechaza("El almacén especificado es incorrecto", "Qivera", "ERR-ID:7500007", &txt_Al_Cve_Almancen);
    if (txt_Clt_Descripcion.Text().empty())
        return rechaza("Ciente incorrecto", "Qivera", "ERR-ID:7500008", &txt_Cl_Cve_Cliente);
    if (DireccionEntrega.empty())
        return rechaza("Debe seleccionar una dirección de entrega para el cliente", "Qivera", "ERR-ID:7500009",
                       &txt_Cl_Cve_Cliente);
    if (txt_Vn_Descripcion.Text().empty())
        return rechaza("Vendedor incorrecto", "Qivera", "ERR-ID:7500010", &txt_Vn_Cve_Vendedor);
    if (txt_Mn_Descripcion.Text().empty()) return rechaza("Moneda incorrecta", "Qivera", "ERR-ID:7500011", nullptr);
    if (txt_Fc_Tipo_Cambio.Value().ToCurrency() == host::Currency())
        return rechaza("Tipo de cambio incorrecto", "Qivera", "ERR-ID:7500012", nullptr);
    if (txtNCondicionVenta.Text().empty())
        return rechaza("Debe capturar una condición de venta", "Atención", "ERR-ID:7500013", &txtCondicionVenta);
    return true;
}

void frmKX204::CancelaFactura(const std::string& prompt, int botones, const std::string& titulo,
                              const std::string& id) {
    Mensaje(prompt, botones, titulo, id);
    Controles.CancelaOperacion();
}

bool frmKX204::GrabaFactura(const std::string& folios, std::string& serie, std::string& folio, std::string& formato) {
    bool confirmada = false;
    try {
        // Every refusal rolls back before the clerk is told; an exception rolls back on its way out.
        host::Transaction transaccion(objServicios().Conexion());
        const auto cancela = [&](const std::string& prompt, int botones, const std::string& titulo,
                                 const std::string& id) {
            transaccion.Rollback();
            CancelaFactura(prompt, botones, titulo, id);
            return false;
        };
        serie = txt_Fc_Factura.Serie();
        std::int32_t numero = host::Variant(txt_Fc_Factura.Numero()).ToLong();
        if (!txt_Fc_Factura.ActualizaSerie())
            return cancela(txt_Fc_Factura.ErrorSerie(), 16, "Error al actualizar la serie", "ERR-ID:7500016");
        // The number reserved: a proposed one another clerk took meanwhile gave way to the next free one.
        numero = host::Variant(txt_Fc_Factura.Numero()).ToLong();
        folio = Facturar_Venta(folios, serie, numero);
        const std::string canceladas = ExistenVentasCanceladas(folios);
        if (!canceladas.empty()) return cancela(canceladas, 48, "Qivera", "ERR-ID:7500017");
        if (folio.empty())
            return cancela(std::string("Controles_Aceptar()") + kSaltoLinea + sErrorFactura, 48, "Operación cancelada",
                           "ERR-ID:7500018");
        if (!Controles.GrabaCamposAdicionales(folio))
            return cancela(std::string("Imposible actualizar campos adicionales") + kSaltoLinea +
                               Controles.ErrorCamposAdicionales(),
                           16, "ERROR", "ERR-ID:7500019");
        if (chkConsolidar.Value() == 1) {
            // Read whole: the payments below write the very receivables they sum.
            auto totales = host::LeeCompleto(TotalesCuentasNotas(folios));
            auto impuestos = host::LeeCompleto(ImpuestosCuentasNotas(folios));
            if (!RegistraPagosNotas(folios, folio))
                return cancela(std::string("Controles_Aceptar()") + kSaltoLinea + sErrorFactura, 16,
                               "Operación cancelada", "ERR-ID:7500020");
            if (!GeneraCuentaFactura(folios, folio, *totales, *impuestos))
                return cancela(std::string("Controles_Aceptar()") + kSaltoLinea + sErrorFactura, 16,
                               "Operación cancelada", "ERR-ID:7500021");
        }
        formato = objInterfaz().FormatoImpresion(txt_Cl_Cve_Cliente.Text(), txt_Sc_Cve_Sucursal.Text());
        transaccion.Commit();
        confirmada = true;
        Controles.TerminaOperacion();
        Controles_Cancelar();
        return true;
    } catch (const host::RuntimeError& error) {
        // After the commit nothing is undone: the invoice stays stored.
        const std::string prompt = std::string("Controles_Aceptar()") + kSaltoLinea + error.description;
        if (confirmada) {
            Mensaje(prompt, 16, "ERROR", "ERR-ID:7500023");
        } else {
            CancelaFactura(prompt, 16, "ERROR", "ERR-ID:7500023");
        }
        return false;
    }
}

void frmKX204::FirmaImprimeYEnvia(const std::string& serie, const std::string& folio, const std::string& formato) {
    try {
        std::string respuesta;
        if (objInterfaz().EsSerieDigital(serie, 1)) {
            if (Padre_ == nullptr) throw host::ObjectRequiredError();
            respuesta = Padre_->FirmaDocumento(objServicios().Conexion().DefaultDatabase() + "|1|" + folio);
            if (!respuesta.empty())
                Mensaje(std::string("Error al firmar el documento digital") + kSaltoLinea + respuesta, 48,
                        "Advertencia!", "ERR-ID:7500022");
        }
        if (!respuesta.empty()) return;
        publico_.fabrica.CreaImpresor()->ImprimeDocumento(formato, folio, "", 0, 0, "");
        EnviaDocumentoCorreo(folio, "Factura", false);
    } catch (const host::RuntimeError& error) {
        Mensaje(std::string("Controles_Aceptar()") + kSaltoLinea + error.description, 16, "ERROR", "ERR-ID:7500024");
    }
}

}  // namespace kx204
