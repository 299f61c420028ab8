// Replacing the notes' receivables by one receivable of the invoice.
#include "kx204/host/recordset_leido.hpp"
#include "kx204/host/runtime_error.hpp"
#include "kx204/invoicing/sentencias_factura.hpp"
#include "kx204/screen/frm_kx204.hpp"

namespace kx204 {

std::unique_ptr<host::Recordset> frmKX204::TotalesCuentasNotas(const std::string& folios) {
    sSQL =
        "SELECT "
        "   isnull(sum(cxc.Cxc_Precio_Descontado_Saldo),0) as SubTotal, "
        "   isnull(sum(cxc.Cxc_Impuesto_Saldo),0) as Impuesto, "
        "   isnull(sum(cxc.Cxc_Precio_Neto_Saldo),0) as Total " +
        sentencias::CuentasConClientes(folios);
    return objServicios().Conexion().Execute(sSQL);
}

std::unique_ptr<host::Recordset> frmKX204::ImpuestosCuentasNotas(const std::string& folios) {
    sSQL =
        "SELECT "
        "   isnull(sum(CXCI.Cxci_Saldo),0) as Saldo, "
        "   CXCI.Im_Cve_Impuesto "
        "FROM CUENTA_X_COBRAR CXC "
        "   INNER JOIN CUENTA_X_COBRAR_IMPUESTO CXCI ON CXCI.CXC_FOLIO = CXC.CXC_FOLIO " +
        sentencias::CuentasDeNotas(folios) +
        "GROUP BY "
        "   CXCI.Im_Cve_Impuesto ";
    return objServicios().Conexion().Execute(sSQL);
}

void frmKX204::chkConsolidar_Click() {
    if (chkConsolidar.Value() != 1) return;
    Mensaje(std::string("Consolidar cuentas por cobrar") + kSaltoLinea + " - Solo se consideran las ventas a credito" +
                kSaltoLinea + " - Las cuentas por cobrar existentes se saldan" + kSaltoLinea +
                " - No se consolidan ventas con pagares",
            64, "Atención", "ERR-ID:7500001");
}

bool frmKX204::RegistraPagosNotas(const std::string& folios, const std::string& folioFactura) {
    try {
        const std::string formaPago =
            objServicios().LeeVariable("CXC_FORMA_PAGO_CONSOLIDAR_NOTAS", 0, "T", "CONN").ToTextOrEmpty();
        if (formaPago.empty()) {
            sErrorFactura =
                "La forma de pago configurada en la variable CXC_FORMA_PAGO_CONSOLIDAR_NOTAS es incorrecta!!!";
            return false;
        }
        sSQL = sentencias::CuentasPorSaldar(folios);
        // Read whole: each payment writes the receivable it pays.
        auto rs = host::LeeCompleto(objServicios().Conexion().Execute(sSQL));
        if (rs->Eof()) return true;
        auto cuentas = publico_.fabrica.CreaDatos();
        for (; !rs->Eof(); rs->MoveNext()) {
            host::AbonoCxc abono;
            abono.cxcFolio = rs->Field("Cxc_Folio").ToText();
            abono.fecha = dpFecha.Value();
            abono.tabla = "Factura";
            abono.documento = folioFactura;
            abono.factura = txt_Fc_Factura.Factura();
            abono.comentario = txt_Comentario.Value().ToText();
            abono.importe = rs->Field("Total").ToCurrency();
            abono.formaPago = formaPago;
            abono.moneda = rs->Field("Mn_Cve_Moneda").ToText();
            abono.tipoCambio = txt_Fc_Tipo_Cambio.Value().ToDouble();
            if (!cuentas->RegistraAbono(abono, true, true, true)) {
                sErrorFactura = cuentas->MensajeError();
                return false;
            }
        }
        return true;
    } catch (const host::RuntimeError& error) {
        sErrorFactura = error.description;
        return false;
    }
}

bool frmKX204::GeneraCuentaFactura(const std::string& /*folios*/, const std::string& folioFactura,
                                   host::Recordset& totales, host::Recordset& impuestos) {
    try {
        if (totales.Eof()) {
            sErrorFactura =
                "No se encontraron las cuentas por cobrar correspondientes a los documentos seleccionados!!!";
            return false;
        }
        const host::Currency total = totales.Field("Total").ToCurrency();
        if (total <= host::Currency()) {
            sErrorFactura = "Imposible generar CXC de la factura, no hay documentos con saldo!!!";
            return false;
        }
        const host::Currency subtotal = totales.Field("SubTotal").ToCurrency();
        const host::Currency impuesto = totales.Field("Impuesto").ToCurrency();
        auto cuentas = publico_.fabrica.CreaDatos();
        bool encontrado = false;
        const std::int16_t dias =
            host::Variant(objInterfaz().BuscaCatalogo("Cliente", "CL_CVE_CLIENTE", txt_Cl_Cve_Cliente.Text(),
                                                      "Cl_Dias_Credito", &encontrado))
                .ToInteger();

        host::CuentaCxc cuenta;
        cuenta.fecha = dpFecha.Value();
        cuenta.vencimiento = cuenta.fecha.AddDays(dias);
        cuenta.tabla = "Factura";
        cuenta.documento = folioFactura;
        cuenta.factura = txt_Fc_Factura.Factura();
        cuenta.comentario = txt_Comentario.Value().ToText();
        cuenta.sucursal = txt_Sc_Cve_Sucursal.Text();
        cuenta.cliente = txt_Cl_Cve_Cliente.Text();
        cuenta.precioDescontado = {subtotal, subtotal, host::Currency()};
        cuenta.impuesto = {impuesto, impuesto, host::Currency()};
        cuenta.precioNeto = {total, total, host::Currency()};
        cuenta.moneda = txt_Mn_Cve_Moneda.Text();
        cuenta.tipoCambio = txt_Fc_Tipo_Cambio.Value().ToDouble();
        if (!cuentas->RegistraCuenta(cuenta, false, true)) {
            sErrorFactura = cuentas->MensajeError();
            return false;
        }
        host::CuentaCxc nueva;
        cuentas->ObtenCuenta(nueva);

        const std::string condicion = txtCondicionVenta.Text();
        std::string pagoParcial = "NO";
        std::int16_t parcialidades = 0;
        sSQL =
            "SELECT Cv_Pago_Parcial , Cv_Numero_Parcialidades "
            "FROM Condicion_Venta "
            "WHERE  Cv_Cve_Condicion_Venta = '" +
            host::SqlText(condicion) + "' ";
        auto rs = objServicios().Conexion().Execute(sSQL);
        if (!rs->Eof()) {
            pagoParcial = rs->Field("Cv_Pago_Parcial").ToText();
            parcialidades = rs->Field("Cv_Numero_Parcialidades").ToInteger();
        }
        rs->Close();
        sSQL =
            "UPDATE Cuenta_x_Cobrar SET "
            "   Cxc_Condicion_Pago = '" +
            host::SqlText(condicion) +
            "',"
            "   Cxc_Pago_Parcial = '" +
            host::SqlText(pagoParcial) +
            "',"
            "   Cxc_Parcialidades = " +
            std::to_string(parcialidades) +
            " "
            "WHERE Cxc_Folio = '" +
            host::SqlText(nueva.folio) + "'";
        objServicios().Conexion().Execute(sSQL);

        for (; !impuestos.Eof(); impuestos.MoveNext()) {
            host::ImpuestoCxc saldo;
            saldo.impuesto = impuestos.Field("Im_Cve_Impuesto").ToText();
            const host::Currency importe = impuestos.Field("Saldo").ToCurrency();
            saldo.importe = importe;
            saldo.saldo = importe;
            if (!cuentas->AgregaImpuesto(saldo)) {
                sErrorFactura = cuentas->MensajeError();
                return false;
            }
        }
        return true;
    } catch (const host::RuntimeError& error) {
        sErrorFactura = error.description;
        return false;
    }
}

}  // namespace kx204
