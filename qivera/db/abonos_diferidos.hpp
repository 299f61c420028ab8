#pragma once
#include <string>
#include <unordered_map>
#include <vector>

#include "kx204/host/connection.hpp"
#include "kx204/host/currency.hpp"
#include "qivera/db/sql.hpp"

namespace qivera::db {

struct ImporteImpuesto {
    std::string impuesto;
    kx204::host::Currency importe;
};

// A receivable's three balances (or amounts) and its state.
struct SaldosCuenta {
    kx204::host::Currency descontado, impuesto, neto;
    std::string estado;
};

// A receivable's balances and the balances of its tax lines, in the order of their keys.
struct SaldosConImpuestos {
    SaldosCuenta saldos;
    std::vector<ImporteImpuesto> impuestos;
};

// The payments made on receivables inside a transaction. Consolidating an invoice's notes pays each of
// their receivables in turn: their balances are read ahead at once and kept here as the payments leave
// them, and the payments' writes wait, to reach the engine in a few statements with the batch's last
// payment, once they are many, or before the connection's next statement (a failure to write them is
// then that statement's). Any other statement forgets what was read ahead.
class AbonosDiferidos {
public:
    // The balances of receivable `folio` in this transaction, when they are kept; null otherwise.
    const SaldosConImpuestos* Saldos(const std::string& folio) const;
    // Balances read ahead.
    void Conoce(const std::string& folio, SaldosConImpuestos saldos);
    // A payment left receivable `folio` with `nuevos`, written with the modification stamps `sellos`; `pago`
    // is its Pago_Cxc row, `partes` its Pago_Cxc_Impuesto rows.
    void Abona(const std::string& folio, SaldosConImpuestos nuevos, std::vector<Valor> sellos, std::vector<Valor> pago,
               std::vector<std::vector<Valor>> partes);
    // Writes what waits; what was read ahead is kept, the balances written being the ones kept.
    void Escribe(kx204::host::Connection& conexion);
    // What waits is written with the payment on receivable `folio`, the last of a batch.
    void EscribeCon(const std::string& folio);
    // Writes what waits once the payment just made on `folio` ends its batch, or once it is many payments,
    // so that it stays small however many are made.
    void EscribeSiToca(kx204::host::Connection& conexion, const std::string& folio);
    // Writes what waits and forgets what was read ahead.
    void Descarga(kx204::host::Connection& conexion);
    // The transaction ended: what waits is dropped.
    void Olvida();

private:
    struct Cuenta {
        std::string folio;
        SaldosConImpuestos saldos;
        bool abonada = false;
    };
    std::unordered_map<std::string, Cuenta> cuentas_;  // by folio, compared as the engines compare it
    std::vector<std::string> abonadas_;                // the keys of the receivables paid, in order
    // The balances of a batch are written together: they carry the stamps of its last payment.
    std::vector<Valor> sellos_;
    std::vector<std::vector<Valor>> pagos_, partes_;
    std::string ultima_;  // the key of the receivable whose payment ends the batch
};

}  // namespace qivera::db
