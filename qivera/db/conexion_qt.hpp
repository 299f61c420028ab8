#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QSqlDatabase>

#include "kx204/host/connection.hpp"
#include "qivera/db/abonos_diferidos.hpp"
#include "qivera/db/canal.hpp"
#include "qivera/db/dialecto.hpp"
#include "qivera/db/lecturas_factura.hpp"
#include "qivera/db/sentencia_preparada.hpp"
#include "qivera/db/sql.hpp"
#include "qivera/db/url.hpp"

struct sqlite3;

namespace qivera::db {

// The host's database connection over QtSql. Every statement is written in SQL
// Server's dialect and adapted to the engine on its way. Each instance owns a
// QtSql connection of its own, to be used from the thread that created it;
// recordsets and prepared statements must not outlive it. A statement is refused while another's
// rows are still being read (see Canal).
//
// Inside a transaction a failed statement leaves the rest usable on every engine, as SQL Server
// does: on PostgreSQL, which would answer "current transaction is aborted" to everything after it,
// the transaction goes back to a savepoint taken at its start, and committing it afterwards is
// refused with the first failure.
class ConexionQt : public kx204::host::Connection {
public:
    // See InterpretaUrl for the accepted URLs. Fails with RuntimeError when the database cannot be opened.
    explicit ConexionQt(const std::string& url);
    ~ConexionQt() override;
    ConexionQt(const ConexionQt&) = delete;
    ConexionQt& operator=(const ConexionQt&) = delete;

    std::unique_ptr<kx204::host::Recordset> Execute(const std::string& sql, int options = -1) override;
    long ExecuteNonQuery(const std::string& sql) override;
    // SQLite: BEGIN IMMEDIATE, so that a second writer waits for the first (up to the time-out).
    void BeginTrans() override;
    void CommitTrans() override;
    // Never fails: a transaction that cannot be rolled back (the server went away) is over anyway.
    void RollbackTrans() override;
    // Runs `accion` once the current transaction has committed, or now when none is open; a rollback
    // drops it. For what a person is told of the work: nobody waits on its rows while they read.
    void TrasConfirmar(std::function<void()> accion);
    bool InTransaction() const override;
    long TransactionCount() const override { return transacciones_; }
    int CommandTimeout() const override;
    void SetCommandTimeout(int seconds) override;
    std::string DefaultDatabase() const override;

    Dialecto dialecto() const { return destino_.dialecto; }
    // Called before every step of the driver (see LimiteTiempo::SetLatido).
    void SetLatido(std::function<void()> latido) { canal_->limite.SetLatido(std::move(latido)); }
    SentenciaPreparada Prepara(const std::string& sql);

    // Whether this transaction's read of the invoice's notes line by line returned line `id` of note `folio`.
    bool RenglonVentaLeido(const std::string& folio, long id) const { return lecturas_.RenglonLeido(folio, id); }
    // A row of `tabla` that waits for the connection's next statement, so that many reach the engine in one;
    // a failure to write them is that statement's. Rows of one table name the same columns, in order.
    void InsertaDespues(const std::string& tabla, std::vector<Valor> fila);
    // The payments on receivables whose writes wait for the connection's next statement.
    AbonosDiferidos& Abonos() { return abonos_; }
    // See LecturasFactura::TomaCuentasPorSaldar.
    LecturasFactura::CuentasPorSaldar TomaCuentasPorSaldar() { return lecturas_.TomaCuentasPorSaldar(); }

private:
    void Abre();
    void Configura();
    void Cierra();
    // Whether the engine itself still has the transaction open: SQLite ends it on some failures.
    bool MotorEnTransaccion() const;
    void ExigeTransaccion() const;
    QSqlQuery Consulta() const;
    QSqlQuery Ejecuta(const std::string& sql);
    std::unique_ptr<kx204::host::Recordset> Lee(const std::string& sql);
    void DescargaPendientes();
    // A step failed inside a transaction: on PostgreSQL, the transaction is made usable again.
    void TrasFalla(const kx204::host::RuntimeError& falla);

    Destino destino_;
    QString nombreConexion_;
    QSqlDatabase base_;
    sqlite3* sqlite_ = nullptr;
    std::shared_ptr<Canal> canal_;
    bool transaccion_ = false;
    long transacciones_ = 0;
    std::vector<std::function<void()>> trasConfirmar_;
    std::optional<kx204::host::RuntimeError> primerFallo_;  // of the transaction, on PostgreSQL
    std::optional<kx204::host::RuntimeError> ultimoFallo_;  // what an open connection last met
    LecturasFactura lecturas_;                              // answers, inside a transaction, the invoice's reads
    std::string tablaPendiente_;                            // see InsertaDespues
    std::vector<std::vector<Valor>> filasPendientes_;
    AbonosDiferidos abonos_;
};

}  // namespace qivera::db
