// The receivables of DatosQivera: payments, new receivables and their tax balances.
#include <optional>
#include <vector>

#include "kx204/host/texto.hpp"
#include "qivera/services/consecutivo.hpp"
#include "qivera/services/datos.hpp"
#include "qivera/services/listas.hpp"

namespace qivera {

using kx204::host::Currency;
using kx204::host::SqlText;

namespace {

struct SaldosCuenta {
    Currency descontado, impuesto, neto;
    std::string estado;
};

struct SaldoImpuesto {
    std::string impuesto;
    Currency saldo;
};

std::optional<SaldosCuenta> LeeSaldos(kx204::host::Connection& conexion, const std::string& folio) {
    auto rs = conexion.Execute(
        "SELECT Cxc_Precio_Descontado_Saldo, Cxc_Impuesto_Saldo, Cxc_Precio_Neto_Saldo, Es_Cve_Estado FROM "
        "Cuenta_x_Cobrar WHERE Cxc_Folio = '" +
        SqlText(folio) + "'");
    std::optional<SaldosCuenta> saldos;
    if (!rs->Eof())
        saldos = SaldosCuenta{rs->Field(0).ToCurrency(), rs->Field(1).ToCurrency(), rs->Field(2).ToCurrency(),
                              kx204::host::Mayusculas(rs->Field(3).ToTextOrEmpty())};
    rs->Close();
    return saldos;
}

std::vector<SaldoImpuesto> LeeImpuestos(kx204::host::Connection& conexion, const std::string& folio) {
    auto rs = conexion.Execute("SELECT Im_Cve_Impuesto, Cxci_Saldo FROM CUENTA_X_COBRAR_IMPUESTO WHERE Cxc_Folio = '" +
                               SqlText(folio) + "' ORDER BY Im_Cve_Impuesto");
    std::vector<SaldoImpuesto> impuestos;
    for (; !rs->Eof(); rs->MoveNext()) impuestos.push_back({rs->Field(0).ToTextOrEmpty(), rs->Field(1).ToCurrency()});
    rs->Close();
    return impuestos;
}

// Why the payment cannot be made; empty when it can.
std::string ReparoAbono(const kx204::host::AbonoCxc& abono, const std::optional<SaldosCuenta>& saldos) {
    const std::string cuenta = "la cuenta por cobrar " + abono.cxcFolio;
    if (!saldos) return "No existe " + cuenta;
    if (saldos->estado == "CA") return "No se puede abonar a " + cuenta + ", está cancelada";
    if (abono.importe <= Currency()) return "El importe del abono a " + cuenta + " debe ser mayor que cero";
    if (abono.importe > saldos->neto)
        return "El abono de " + abono.importe.ToString() + " excede el saldo de " + saldos->neto.ToString() + " de " +
               cuenta;
    return {};
}

// What a payment of `abono` takes of `saldo` on a receivable whose net balance is `neto`: the same
// fraction of every balance, to the fourth decimal, and the whole of each when it settles the receivable.
Currency Parte(Currency saldo, Currency abono, Currency neto) {
    if (abono == neto) return saldo;
    return Currency::FromDouble(saldo.ToDouble() * (abono.ToDouble() / neto.ToDouble()));
}

// Lowers each tax line of the receivable by its part of the payment `pago`, and records that part.
void AbonaImpuestos(kx204::host::Connection& conexion, const std::string& pago, const kx204::host::AbonoCxc& abono,
                    Currency neto) {
    for (const SaldoImpuesto& linea : LeeImpuestos(conexion, abono.cxcFolio)) {
        const Currency parte = Parte(linea.saldo, abono.importe, neto);
        conexion.Execute("UPDATE CUENTA_X_COBRAR_IMPUESTO SET Cxci_Saldo = " + LiteralImporte(linea.saldo - parte) +
                         " WHERE Cxc_Folio = '" + SqlText(abono.cxcFolio) + "' AND Im_Cve_Impuesto = '" +
                         SqlText(linea.impuesto) + "'");
        InsertaFila(conexion, "Pago_Cxc_Impuesto",
                    {{"Pc_Folio", LiteralTexto(pago)},
                     {"Im_Cve_Impuesto", LiteralTexto(linea.impuesto)},
                     {"Pci_Importe", LiteralImporte(parte)}});
    }
}

}  // namespace

// The flags choose postings of the ERP's own ledger, which this host does not keep.
bool DatosQivera::RegistraAbono(const kx204::host::AbonoCxc& abono, bool, bool, bool) {
    const std::optional<SaldosCuenta> saldos = LeeSaldos(sesion_.conexion, abono.cxcFolio);
    error_ = ReparoAbono(abono, saldos);
    if (!error_.empty()) return false;
    // The payment keeps exactly what it took of each balance (Pc_Precio_Descontado, Pc_Impuesto and one
    // Pago_Cxc_Impuesto row per tax line), so that cancelling it gives every balance back to the ten-thousandth.
    const std::string pago = SiguienteFolio(sesion_.conexion, kFolioPago);
    AbonaImpuestos(sesion_.conexion, pago, abono, saldos->neto);
    const Currency descontado = Parte(saldos->descontado, abono.importe, saldos->neto);
    const Currency impuesto = Parte(saldos->impuesto, abono.importe, saldos->neto);
    sesion_.conexion.Execute(
        "UPDATE Cuenta_x_Cobrar SET " +
        Asignaciones(
            ConSellos(sesion_, {{"Cxc_Precio_Descontado_Saldo", LiteralImporte(saldos->descontado - descontado)},
                                {"Cxc_Impuesto_Saldo", LiteralImporte(saldos->impuesto - impuesto)},
                                {"Cxc_Precio_Neto_Saldo", LiteralImporte(saldos->neto - abono.importe)}})) +
        " WHERE Cxc_Folio = '" + SqlText(abono.cxcFolio) + "'");
    InsertaFila(sesion_.conexion, "Pago_Cxc",
                ConSellos(sesion_, {{"Pc_Folio", LiteralTexto(pago)},
                                    {"Cxc_Folio", LiteralTexto(abono.cxcFolio)},
                                    {"Pc_Fecha", LiteralFecha(abono.fecha)},
                                    {"Pc_Tabla", LiteralTexto(kx204::host::Mayusculas(abono.tabla))},
                                    {"Pc_Documento", LiteralTexto(abono.documento)},
                                    {"Pc_Factura", LiteralTexto(abono.factura)},
                                    {"Pc_Comentario", LiteralTexto(abono.comentario)},
                                    {"Fp_Cve_Forma_Pago", LiteralTexto(abono.formaPago)},
                                    {"Pc_Importe", LiteralImporte(abono.importe)},
                                    {"Pc_Precio_Descontado", LiteralImporte(descontado)},
                                    {"Pc_Impuesto", LiteralImporte(impuesto)},
                                    {"Mn_Cve_Moneda", LiteralTexto(abono.moneda)},
                                    {"Pc_Tipo_Cambio", LiteralNumero(abono.tipoCambio)},
                                    {"Es_Cve_Estado", "'AC'"}}));
    return true;
}

// The flags choose postings of the ERP's own ledger, which this host does not keep.
bool DatosQivera::RegistraCuenta(const kx204::host::CuentaCxc& cuenta, bool, bool) {
    error_.clear();
    if (!PrimerValor(sesion_.conexion,
                     "SELECT Cl_Cve_Cliente FROM Cliente WHERE Cl_Cve_Cliente = '" + SqlText(cuenta.cliente) + "'")) {
        error_ = "No existe el cliente " + cuenta.cliente + " de la cuenta por cobrar";
        return false;
    }
    kx204::host::CuentaCxc nueva = cuenta;
    nueva.folio = SiguienteFolio(sesion_.conexion, kFolioCuenta);
    InsertaFila(sesion_.conexion, "Cuenta_x_Cobrar",
                ConSellos(sesion_, {{"Cxc_Folio", LiteralTexto(nueva.folio)},
                                    {"Cxc_Fecha", LiteralFecha(nueva.fecha)},
                                    {"Cxc_Fecha_Vencimiento", LiteralFecha(nueva.vencimiento)},
                                    {"Cxc_Tabla", LiteralTexto(kx204::host::Mayusculas(nueva.tabla))},
                                    {"Cxc_Documento", LiteralTexto(nueva.documento)},
                                    {"Cxc_Factura", LiteralTexto(nueva.factura)},
                                    {"Cxc_Comentario", LiteralTexto(nueva.comentario)},
                                    {"Sc_Cve_Sucursal", LiteralTexto(nueva.sucursal)},
                                    {"Cl_Cve_Cliente", LiteralTexto(nueva.cliente)},
                                    {"Cxc_Precio_Descontado_Importe", LiteralImporte(nueva.precioDescontado.importe)},
                                    {"Cxc_Precio_Descontado_Saldo", LiteralImporte(nueva.precioDescontado.saldo)},
                                    {"Cxc_Impuesto_Importe", LiteralImporte(nueva.impuesto.importe)},
                                    {"Cxc_Impuesto_Saldo", LiteralImporte(nueva.impuesto.saldo)},
                                    {"Cxc_Precio_Neto_Importe", LiteralImporte(nueva.precioNeto.importe)},
                                    {"Cxc_Precio_Neto_Saldo", LiteralImporte(nueva.precioNeto.saldo)},
                                    {"Mn_Cve_Moneda", LiteralTexto(nueva.moneda)},
                                    {"Cxc_Tipo_Cambio", LiteralNumero(nueva.tipoCambio)},
                                    {"Es_Cve_Estado", "'AC'"}}));
    creada_ = std::move(nueva);
    return true;
}

bool DatosQivera::ObtenCuenta(kx204::host::CuentaCxc& cuenta) {
    if (creada_) cuenta = *creada_;
    return creada_.has_value();
}

bool DatosQivera::AgregaImpuesto(const kx204::host::ImpuestoCxc& impuesto) {
    error_.clear();
    if (!creada_) {
        error_ = "No se ha registrado la cuenta por cobrar del impuesto " + impuesto.impuesto;
        return false;
    }
    InsertaFila(sesion_.conexion, "CUENTA_X_COBRAR_IMPUESTO",
                {{"Cxc_Folio", LiteralTexto(creada_->folio)},
                 {"Im_Cve_Impuesto", LiteralTexto(impuesto.impuesto)},
                 {"Cxci_Importe", LiteralImporte(impuesto.importe)},
                 {"Cxci_Saldo", LiteralImporte(impuesto.saldo)}});
    return true;
}

bool DatosQivera::CancelaCuentaPorCobrar(const std::string&, const std::string&) {
    NoDisponible("CancelaCuentaPorCobrar");
}

bool DatosQivera::CancelaPagos(const std::string&, const std::string&) { NoDisponible("CancelaPagos"); }

}  // namespace qivera
