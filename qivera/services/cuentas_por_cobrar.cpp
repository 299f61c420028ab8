// The receivables of DatosQivera: payments and their cancellation, new receivables and their tax balances.
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

using db::ImporteImpuesto;
using db::SaldosConImpuestos;
using db::SaldosCuenta;

// The first four columns of `rs` from `desde`: the three amounts and the state.
SaldosCuenta SaldosDe(const kx204::host::Recordset& rs, int desde = 0) {
    return {rs.Field(desde).ToCurrency(), rs.Field(desde + 1).ToCurrency(), rs.Field(desde + 2).ToCurrency(),
            kx204::host::Mayusculas(rs.Field(desde + 3).ToTextOrEmpty())};
}

// The receivable's balances (`columnas` "Saldo") or its original amounts ("Importe").
std::optional<SaldosCuenta> LeeCuenta(kx204::host::Connection& conexion, const std::string& folio,
                                      const std::string& columnas) {
    auto rs = conexion.Execute("SELECT Cxc_Precio_Descontado_" + columnas + ", Cxc_Impuesto_" + columnas +
                               ", Cxc_Precio_Neto_" + columnas +
                               ", Es_Cve_Estado FROM Cuenta_x_Cobrar WHERE Cxc_Folio = '" + SqlText(folio) + "'");
    std::optional<SaldosCuenta> saldos;
    if (!rs->Eof()) saldos = SaldosDe(*rs);
    rs->Close();
    return saldos;
}

std::optional<SaldosCuenta> LeeSaldos(kx204::host::Connection& conexion, const std::string& folio) {
    return LeeCuenta(conexion, folio, "Saldo");
}

// The balances of the receivables `c` that `condicion` chooses and of their tax lines, in one statement,
// each handed to `cuenta` with its folio.
template <typename Cuenta>
void LeeSaldosEImpuestos(kx204::host::Connection& conexion, const std::string& condicion, Cuenta cuenta) {
    auto rs = conexion.Execute(
        "SELECT c.Cxc_Folio, c.Cxc_Precio_Descontado_Saldo, c.Cxc_Impuesto_Saldo, c.Cxc_Precio_Neto_Saldo, "
        "c.Es_Cve_Estado, i.Im_Cve_Impuesto, i.Cxci_Saldo FROM Cuenta_x_Cobrar c LEFT JOIN CUENTA_X_COBRAR_IMPUESTO "
        "i ON i.Cxc_Folio = c.Cxc_Folio WHERE " +
        condicion + " ORDER BY c.Cxc_Folio, i.Im_Cve_Impuesto");
    std::string folio;
    std::optional<SaldosConImpuestos> leida;
    for (; !rs->Eof(); rs->MoveNext()) {
        if (!leida || rs->Field(0).ToTextOrEmpty() != folio) {
            if (leida) cuenta(folio, std::move(*leida));
            folio = rs->Field(0).ToTextOrEmpty();
            leida = SaldosConImpuestos{SaldosDe(*rs, 1), {}};
        }
        if (!rs->Field(5).IsNull())
            leida->impuestos.push_back({rs->Field(5).ToTextOrEmpty(), rs->Field(6).ToCurrency()});
    }
    rs->Close();
    if (leida) cuenta(folio, std::move(*leida));
}

// The balances of receivable `folio` as this transaction left them: kept by the payments made in it, or read.
std::optional<SaldosConImpuestos> SaldosParaAbonar(db::ConexionQt& conexion, const std::string& folio) {
    if (const SaldosConImpuestos* conocidos = conexion.Abonos().Saldos(folio)) return *conocidos;
    std::optional<SaldosConImpuestos> cuenta;
    LeeSaldosEImpuestos(conexion, "c.Cxc_Folio = " + LiteralTexto(folio),
                        [&](const std::string&, SaldosConImpuestos leida) { cuenta = std::move(leida); });
    return cuenta;
}

// When the screen read the receivables of some notes in this transaction to pay them all, the balances of
// all of them read at once, so that each payment needs no round trip of its own; the payments are written
// with the last, so that a failure to write them is still a payment's.
void LeeCuentasPorSaldar(db::ConexionQt& conexion) {
    const auto porSaldar = conexion.TomaCuentasPorSaldar();
    if (porSaldar.notas.empty()) return;
    LeeSaldosEImpuestos(
        conexion, "c.Cxc_Tabla = 'VENTA' AND c.Cxc_Documento IN (" + porSaldar.notas + ")",
        [&](const std::string& folio, SaldosConImpuestos leida) { conexion.Abonos().Conoce(folio, std::move(leida)); });
    conexion.Abonos().EscribeCon(porSaldar.ultima);
}

std::vector<Currency> Importes(const std::vector<ImporteImpuesto>& lineas) {
    std::vector<Currency> importes;
    for (const ImporteImpuesto& linea : lineas) importes.push_back(linea.importe);
    return importes;
}

// Tax key and amount of every row of `sentencia`.
std::vector<ImporteImpuesto> LeeLineas(kx204::host::Connection& conexion, const std::string& sentencia) {
    auto rs = conexion.Execute(sentencia);
    std::vector<ImporteImpuesto> lineas;
    for (; !rs->Eof(); rs->MoveNext()) lineas.push_back({rs->Field(0).ToTextOrEmpty(), rs->Field(1).ToCurrency()});
    rs->Close();
    return lineas;
}

// The receivable's tax lines: their balances (`columna` Cxci_Saldo) or their amounts (Cxci_Importe).
std::vector<ImporteImpuesto> LeeImpuestos(kx204::host::Connection& conexion, const std::string& folio,
                                          const std::string& columna = "Cxci_Saldo") {
    return LeeLineas(conexion, "SELECT Im_Cve_Impuesto, " + columna +
                                   " FROM CUENTA_X_COBRAR_IMPUESTO WHERE Cxc_Folio = '" + SqlText(folio) +
                                   "' ORDER BY Im_Cve_Impuesto");
}

void EscribeSaldoImpuesto(kx204::host::Connection& conexion, const std::string& cuenta, const std::string& impuesto,
                          Currency saldo) {
    conexion.Execute("UPDATE CUENTA_X_COBRAR_IMPUESTO SET Cxci_Saldo = " + LiteralImporte(saldo) +
                     " WHERE Cxc_Folio = '" + SqlText(cuenta) + "' AND Im_Cve_Impuesto = '" + SqlText(impuesto) + "'");
}

void EscribeSaldos(Sesion& sesion, const std::string& cuenta, const SaldosCuenta& saldos) {
    sesion.conexion.Execute(
        "UPDATE Cuenta_x_Cobrar SET " +
        Asignaciones(ConSellos(sesion, {{"Cxc_Precio_Descontado_Saldo", LiteralImporte(saldos.descontado)},
                                        {"Cxc_Impuesto_Saldo", LiteralImporte(saldos.impuesto)},
                                        {"Cxc_Precio_Neto_Saldo", LiteralImporte(saldos.neto)}})) +
        " WHERE Cxc_Folio = '" + SqlText(cuenta) + "'");
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

// What a payment took of each balance of its receivable.
struct Tomado {
    Currency descontado, impuesto, neto;
    std::vector<ImporteImpuesto> impuestos;
};

// What a payment of `abono` takes of `saldos`, which together make `neto`: the same fraction of each,
// rounded once, the last taking the remainder; the whole of each when the payment settles the receivable.
std::vector<Currency> Partes(const std::vector<Currency>& saldos, Currency abono, Currency neto) {
    if (abono == neto) return saldos;
    Currency suma;
    for (Currency saldo : saldos) suma += saldo;
    return Currency::Split(suma.MulDiv(abono, neto), saldos);
}

// What a payment of `abono` takes of a receivable with these balances and tax lines. Before-tax and
// tax add up to the payment, and the tax lines to the tax part, whenever the balances themselves add up.
Tomado Reparte(const SaldosCuenta& saldos, const std::vector<ImporteImpuesto>& lineas, Currency abono) {
    const std::vector<Currency> partes = Partes({saldos.descontado, saldos.impuesto}, abono, saldos.neto);
    Tomado tomado{partes[0], partes[1], abono, {}};
    const std::vector<Currency> importes = Importes(lineas);
    Currency suma;
    for (Currency importe : importes) suma += importe;
    const std::vector<Currency> deLineas = suma == saldos.impuesto && abono != saldos.neto
                                               ? Currency::Split(tomado.impuesto, importes)
                                               : Partes(importes, abono, saldos.neto);
    for (std::size_t i = 0; i < lineas.size(); ++i) tomado.impuestos.push_back({lineas[i].impuesto, deLineas[i]});
    return tomado;
}

// The balances a payment that took `tomado` leaves the receivable with.
SaldosConImpuestos Restante(const SaldosConImpuestos& cuenta, const Tomado& tomado) {
    const SaldosCuenta& saldos = cuenta.saldos;
    SaldosConImpuestos restante{{saldos.descontado - tomado.descontado, saldos.impuesto - tomado.impuesto,
                                 saldos.neto - tomado.neto, saldos.estado},
                                {}};
    for (std::size_t i = 0; i < cuenta.impuestos.size(); ++i)
        restante.impuestos.push_back(
            {cuenta.impuestos[i].impuesto, cuenta.impuestos[i].importe - tomado.impuestos[i].importe});
    return restante;
}

// The Pago_Cxc_Impuesto rows of payment `pago`: what it took of each tax line.
std::vector<std::vector<Valor>> PartesDelPago(const std::string& pago, const Tomado& tomado) {
    std::vector<std::vector<Valor>> partes;
    for (const ImporteImpuesto& parte : tomado.impuestos)
        partes.push_back({{"Pc_Folio", LiteralTexto(pago)},
                          {"Im_Cve_Impuesto", LiteralTexto(parte.impuesto)},
                          {"Pci_Importe", LiteralImporte(parte.importe)}});
    return partes;
}

// The Pago_Cxc row of payment `pago`.
std::vector<Valor> FilaDelPago(Sesion& sesion, const kx204::host::AbonoCxc& abono, const std::string& pago,
                               const Tomado& tomado) {
    return ConSellos(sesion, {{"Pc_Folio", LiteralTexto(pago)},
                              {"Cxc_Folio", LiteralTexto(abono.cxcFolio)},
                              {"Pc_Fecha", LiteralFecha(abono.fecha)},
                              {"Pc_Tabla", LiteralTexto(kx204::host::Mayusculas(abono.tabla))},
                              {"Pc_Documento", LiteralTexto(abono.documento)},
                              {"Pc_Factura", LiteralTexto(abono.factura)},
                              {"Pc_Comentario", LiteralTexto(abono.comentario)},
                              {"Fp_Cve_Forma_Pago", LiteralTexto(abono.formaPago)},
                              {"Pc_Importe", LiteralImporte(abono.importe)},
                              {"Pc_Precio_Descontado", LiteralImporte(tomado.descontado)},
                              {"Pc_Impuesto", LiteralImporte(tomado.impuesto)},
                              {"Mn_Cve_Moneda", LiteralTexto(abono.moneda)},
                              {"Pc_Tipo_Cambio", LiteralNumero(abono.tipoCambio)},
                              {"Es_Cve_Estado", "'AC'"}});
}

struct PagoActivo {
    std::string folio, cuenta;
    Tomado tomado;
};

std::vector<PagoActivo> PagosActivos(kx204::host::Connection& conexion, const std::string& tabla,
                                     const std::string& documento) {
    auto rs = conexion.Execute(
        "SELECT Pc_Folio, Cxc_Folio, Pc_Precio_Descontado, Pc_Impuesto, Pc_Importe FROM Pago_Cxc WHERE Pc_Tabla = " +
        LiteralTexto(kx204::host::Mayusculas(tabla)) + " AND Pc_Documento = " + LiteralTexto(documento) +
        " AND Es_Cve_Estado = 'AC' ORDER BY Pc_Folio");
    std::vector<PagoActivo> pagos;
    for (; !rs->Eof(); rs->MoveNext())
        pagos.push_back({rs->Field(0).ToTextOrEmpty(),
                         rs->Field(1).ToTextOrEmpty(),
                         {rs->Field(2).ToCurrency(), rs->Field(3).ToCurrency(), rs->Field(4).ToCurrency(), {}}});
    rs->Close();
    for (PagoActivo& pago : pagos)
        pago.tomado.impuestos =
            LeeLineas(conexion, "SELECT Im_Cve_Impuesto, Pci_Importe FROM Pago_Cxc_Impuesto WHERE Pc_Folio = " +
                                    LiteralTexto(pago.folio) + " ORDER BY Im_Cve_Impuesto");
    return pagos;
}

// Payments stored before the host recorded what each one took (the demo's) carry only their amount.
// That amount goes back to the net balance, and to the other balances and the tax lines in the
// proportion of the receivable's own amounts, the closest guess at what the payment took.
Tomado Proporcional(kx204::host::Connection& conexion, const std::string& cuenta, Currency importe) {
    const std::optional<SaldosCuenta> importes = LeeCuenta(conexion, cuenta, "Importe");
    if (!importes || importes->neto <= Currency()) return {{}, {}, importe, {}};
    return Reparte(*importes, LeeImpuestos(conexion, cuenta, "Cxci_Importe"), importe);
}

bool Registrado(const Tomado& tomado) {
    return !tomado.impuestos.empty() || tomado.descontado != Currency() || tomado.impuesto != Currency();
}

// Adds back to the receivable `cuenta`, whose balances are `saldos`, what a payment took.
void Devuelve(Sesion& sesion, const std::string& cuenta, const SaldosCuenta& saldos, const Tomado& tomado) {
    for (const ImporteImpuesto& linea : LeeImpuestos(sesion.conexion, cuenta))
        for (const ImporteImpuesto& parte : tomado.impuestos)
            if (parte.impuesto == linea.impuesto)
                EscribeSaldoImpuesto(sesion.conexion, cuenta, linea.impuesto, linea.importe + parte.importe);
    EscribeSaldos(
        sesion, cuenta,
        {saldos.descontado + tomado.descontado, saldos.impuesto + tomado.impuesto, saldos.neto + tomado.neto, {}});
}

}  // namespace

// The flags choose postings of the ERP's own ledger, which this host does not keep.
bool DatosQivera::RegistraAbono(const kx204::host::AbonoCxc& abono, bool, bool, bool) {
    db::ConexionQt& conexion = sesion_.conexion;
    const std::optional<SaldosConImpuestos> cuenta = SaldosParaAbonar(conexion, abono.cxcFolio);
    error_ = ReparoAbono(abono, cuenta ? std::optional(cuenta->saldos) : std::nullopt);
    if (!error_.empty()) return false;
    // The payment keeps exactly what it took of each balance (Pc_Precio_Descontado, Pc_Impuesto and one
    // Pago_Cxc_Impuesto row per tax line), so that cancelling it gives every balance back to the ten-thousandth.
    const std::string pago = SiguienteFolio(sesion_, kFolioPago);
    // Only now: taking the transaction's first folio runs statements, which forget what was read ahead.
    LeeCuentasPorSaldar(conexion);
    const Tomado tomado = Reparte(cuenta->saldos, cuenta->impuestos, abono.importe);
    conexion.Abonos().Abona(abono.cxcFolio, Restante(*cuenta, tomado), ConSellos(sesion_, {}),
                            FilaDelPago(sesion_, abono, pago, tomado), PartesDelPago(pago, tomado));
    // Outside a transaction no later statement may come to write it.
    if (!conexion.InTransaction())
        conexion.Abonos().Descarga(conexion);
    else
        conexion.Abonos().EscribeSiToca(conexion, abono.cxcFolio);
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
    nueva.folio = SiguienteFolio(sesion_, kFolioCuenta);
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

// Refuses a receivable that still has active payments: cancelling it would leave them applied to nothing.
bool DatosQivera::CancelaCuentaPorCobrar(const std::string& tabla, const std::string& folio) {
    error_.clear();
    const std::string cuentas = " WHERE Cxc_Tabla = " + LiteralTexto(kx204::host::Mayusculas(tabla)) +
                                " AND Cxc_Documento = " + LiteralTexto(folio) + " AND Es_Cve_Estado <> 'CA'";
    if (const auto pagada = PrimerValor(sesion_.conexion,
                                        "SELECT Cxc_Folio FROM Pago_Cxc WHERE Es_Cve_Estado = 'AC' AND Cxc_Folio IN "
                                        "(SELECT Cxc_Folio FROM Cuenta_x_Cobrar" +
                                            cuentas + ") ORDER BY Cxc_Folio")) {
        error_ = "La cuenta por cobrar " + pagada->ToTextOrEmpty() + " tiene abonos activos";
        return false;
    }
    sesion_.conexion.Execute("UPDATE Cuenta_x_Cobrar SET " +
                             Asignaciones(ConSellos(sesion_, {{"Es_Cve_Estado", "'CA'"}})) + cuentas);
    return true;
}

// A refusal may come after some payments were cancelled: the caller's transaction rolls them back.
bool DatosQivera::CancelaPagos(const std::string& tabla, const std::string& folio) {
    error_.clear();
    for (const PagoActivo& pago : PagosActivos(sesion_.conexion, tabla, folio)) {
        const std::optional<SaldosCuenta> saldos = LeeSaldos(sesion_.conexion, pago.cuenta);
        if (!saldos) {
            error_ = "No existe la cuenta por cobrar " + pago.cuenta + " del abono " + pago.folio;
            return false;
        }
        Devuelve(sesion_, pago.cuenta, *saldos,
                 Registrado(pago.tomado) ? pago.tomado : Proporcional(sesion_.conexion, pago.cuenta, pago.tomado.neto));
        sesion_.conexion.Execute("UPDATE Pago_Cxc SET " +
                                 Asignaciones(ConSellos(sesion_, {{"Es_Cve_Estado", "'CA'"}})) +
                                 " WHERE Pc_Folio = " + LiteralTexto(pago.folio));
    }
    return true;
}

}  // namespace qivera
