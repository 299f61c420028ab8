#pragma once
#include <memory>
#include <string>

#include <QSqlDatabase>

#include "kx204/host/connection.hpp"
#include "qivera/db/dialecto.hpp"
#include "qivera/db/limite_tiempo.hpp"
#include "qivera/db/sentencia_preparada.hpp"
#include "qivera/db/url.hpp"

struct sqlite3;

namespace qivera::db {

// The host's database connection over QtSql. Every statement is written in SQL
// Server's dialect and adapted to the engine on its way. Each instance owns a
// QtSql connection of its own, to be used from the thread that created it;
// recordsets and prepared statements must not outlive it.
class ConexionQt : public kx204::host::Connection {
public:
    // See InterpretaUrl for the accepted URLs. Fails with RuntimeError when the database cannot be opened.
    explicit ConexionQt(const std::string& url);
    ~ConexionQt() override;
    ConexionQt(const ConexionQt&) = delete;
    ConexionQt& operator=(const ConexionQt&) = delete;

    std::unique_ptr<kx204::host::Recordset> Execute(const std::string& sql, int options = -1) override;
    // SQLite: BEGIN IMMEDIATE, so that a second writer waits for the first (up to the time-out).
    void BeginTrans() override;
    void CommitTrans() override;
    void RollbackTrans() override;
    bool InTransaction() const override;
    int CommandTimeout() const override;
    void SetCommandTimeout(int seconds) override;
    std::string DefaultDatabase() const override;

    Dialecto dialecto() const { return destino_.dialecto; }
    // Called before every step of the driver (see LimiteTiempo::SetLatido).
    void SetLatido(std::function<void()> latido) { limite_->SetLatido(std::move(latido)); }
    SentenciaPreparada Prepara(const std::string& sql);

private:
    void Abre();
    void Configura();
    void Cierra();
    // Whether the engine itself still has the transaction open: SQLite ends it on some failures.
    bool MotorEnTransaccion() const;
    void ExigeTransaccion() const;

    Destino destino_;
    QString nombreConexion_;
    QSqlDatabase base_;
    sqlite3* sqlite_ = nullptr;
    std::shared_ptr<LimiteTiempo> limite_;
    bool transaccion_ = false;
};

}  // namespace qivera::db
