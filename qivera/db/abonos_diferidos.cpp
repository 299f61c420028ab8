#include "qivera/db/abonos_diferidos.hpp"

#include <utility>

#include "kx204/host/texto.hpp"

namespace qivera::db {

namespace {

// Folios compare as the engines compare these columns: without regard to case.
std::string Clave(const std::string& folio) { return kx204::host::Mayusculas(folio); }

}  // namespace

const SaldosConImpuestos* AbonosDiferidos::Saldos(const std::string& folio) const {
    const auto cuenta = cuentas_.find(Clave(folio));
    return cuenta == cuentas_.end() ? nullptr : &cuenta->second.saldos;
}

void AbonosDiferidos::Conoce(const std::string& folio, SaldosConImpuestos saldos) {
    cuentas_.insert_or_assign(Clave(folio), Cuenta{folio, std::move(saldos)});
}

void AbonosDiferidos::Abona(const std::string& folio, SaldosConImpuestos nuevos, std::vector<Valor> sellos,
                            std::vector<Valor> pago, std::vector<std::vector<Valor>> partes) {
    Cuenta& cuenta = cuentas_[Clave(folio)];
    if (!cuenta.abonada) abonadas_.push_back(Clave(folio));
    cuenta = {folio, std::move(nuevos), true};
    sellos_ = std::move(sellos);
    pagos_.push_back(std::move(pago));
    for (auto& parte : partes) partes_.push_back(std::move(parte));
}

void AbonosDiferidos::Escribe(kx204::host::Connection& conexion) {
    if (abonadas_.empty()) return;
    // Taken out first: each statement below comes back to Descarga before it runs.
    auto cuentas = std::exchange(cuentas_, {});
    const auto abonadas = std::exchange(abonadas_, {});
    const auto sellos = std::exchange(sellos_, {});
    const auto pagos = std::exchange(pagos_, {});
    const auto partes = std::exchange(partes_, {});
    std::vector<std::vector<Valor>> saldos, impuestos;
    for (const std::string& clave : abonadas) {
        Cuenta& cuenta = cuentas.at(clave);
        cuenta.abonada = false;
        const SaldosCuenta& nuevos = cuenta.saldos.saldos;
        saldos.push_back({{"Cxc_Folio", LiteralTexto(cuenta.folio)},
                          {"Cxc_Precio_Descontado_Saldo", LiteralImporte(nuevos.descontado)},
                          {"Cxc_Impuesto_Saldo", LiteralImporte(nuevos.impuesto)},
                          {"Cxc_Precio_Neto_Saldo", LiteralImporte(nuevos.neto)}});
        for (const ImporteImpuesto& linea : cuenta.saldos.impuestos)
            impuestos.push_back({{"Cxc_Folio", LiteralTexto(cuenta.folio)},
                                 {"Im_Cve_Impuesto", LiteralTexto(linea.impuesto)},
                                 {"Cxci_Saldo", LiteralImporte(linea.importe)}});
    }
    ActualizaFilas(conexion, "CUENTA_X_COBRAR_IMPUESTO", 2, impuestos);
    ActualizaFilas(conexion, "Cuenta_x_Cobrar", 1, saldos, sellos);
    InsertaFilas(conexion, "Pago_Cxc", pagos);
    InsertaFilas(conexion, "Pago_Cxc_Impuesto", partes);
    cuentas_ = std::move(cuentas);  // what is kept is now what is stored
}

void AbonosDiferidos::EscribeCon(const std::string& folio) { ultima_ = Clave(folio); }

void AbonosDiferidos::EscribeSiToca(kx204::host::Connection& conexion, const std::string& folio) {
    // Enough for a few full statements of each table, few enough to keep what waits small.
    constexpr std::size_t kMuchos = 1000;
    const bool ultima = Clave(folio) == ultima_;
    if (ultima) ultima_.clear();
    if (ultima || pagos_.size() >= kMuchos) Escribe(conexion);
}

void AbonosDiferidos::Descarga(kx204::host::Connection& conexion) {
    Escribe(conexion);
    cuentas_.clear();
}

void AbonosDiferidos::Olvida() {
    cuentas_.clear();
    ultima_.clear();
    abonadas_.clear();
    sellos_.clear();
    pagos_.clear();
    partes_.clear();
}

}  // namespace qivera::db
