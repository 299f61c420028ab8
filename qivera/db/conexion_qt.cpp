#include "qivera/db/conexion_qt.hpp"

#include <atomic>

#include <sqlite3.h>
#include <QSqlDriver>
#include <QSqlQuery>

#include "kx204/host/runtime_error.hpp"
#include "qivera/db/recordset_qt.hpp"

namespace qivera::db {

using kx204::host::RuntimeError;
namespace errores = kx204::host::errores;

namespace {

QString NombreUnico() {
    static std::atomic<unsigned> contador{0};
    return QStringLiteral("qivera_db_%1").arg(++contador);
}

sqlite3* ManejadorSqlite(const QSqlDatabase& base) {
    const QVariant manejador = base.driver()->handle();
    if (!manejador.isValid() || qstrcmp(manejador.typeName(), "sqlite3*") != 0) return nullptr;
    return *static_cast<sqlite3* const*>(manejador.constData());
}

}  // namespace

ConexionQt::ConexionQt(const std::string& url) : destino_(InterpretaUrl(url)), nombreConexion_(NombreUnico()) {
    try {
        Abre();
        Configura();
    } catch (...) {
        Cierra();
        throw;
    }
}

ConexionQt::~ConexionQt() { Cierra(); }

void ConexionQt::Abre() {
    base_ = QSqlDatabase::addDatabase(QString::fromStdString(destino_.driver), nombreConexion_);
    if (!base_.isValid()) throw RuntimeError(errores::Database, "QtSql driver not available: " + destino_.driver);
    base_.setDatabaseName(QString::fromStdString(destino_.base));
    if (!destino_.servidor.empty()) base_.setHostName(QString::fromStdString(destino_.servidor));
    if (destino_.puerto >= 0) base_.setPort(destino_.puerto);
    if (!destino_.usuario.empty()) base_.setUserName(QString::fromStdString(destino_.usuario));
    if (!destino_.clave.empty()) base_.setPassword(QString::fromStdString(destino_.clave));
    // A second clerk waits for the first one's lock instead of failing at once.
    if (destino_.dialecto == Dialecto::SQLite)
        base_.setConnectOptions(
            QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(LimiteTiempo::kSegundosPorOmision * 1000));
    if (!base_.open()) throw ErrorDelDriver(base_.lastError());
    sqlite_ = ManejadorSqlite(base_);
    limite_ = std::make_shared<LimiteTiempo>(sqlite_);
}

void ConexionQt::Configura() {
    if (destino_.enArchivo) {
        // Readers never wait for the writer; NORMAL synchronisation is safe under WAL and far faster.
        Execute("PRAGMA journal_mode=WAL");
        Execute("PRAGMA synchronous=NORMAL");
    }
    if (destino_.dialecto == Dialecto::SqlServer)
        destino_.nombre = Execute("SELECT DB_NAME()")->Field(0).ToTextOrEmpty();
    SetCommandTimeout(limite_->Segundos());  // the server enforces the default from the start too
}

void ConexionQt::Cierra() {
    if (limite_) limite_->Suelta();
    if (base_.isValid()) base_.close();
    base_ = QSqlDatabase();  // the last handle must go before the connection is removed
    QSqlDatabase::removeDatabase(nombreConexion_);
}

std::unique_ptr<kx204::host::Recordset> ConexionQt::Execute(const std::string& sql, int /*options*/) {
    QSqlQuery consulta(base_);
    consulta.setForwardOnly(true);
    const QString texto = QString::fromStdString(AdaptaSql(sql, destino_.dialecto));
    if (!limite_->Vigila([&] { return consulta.exec(texto); })) throw limite_->Error(consulta.lastError());
    return std::make_unique<RecordsetQt>(std::move(consulta), limite_);
}

SentenciaPreparada ConexionQt::Prepara(const std::string& sql) {
    QSqlQuery consulta(base_);
    consulta.setForwardOnly(true);
    if (!consulta.prepare(QString::fromStdString(AdaptaSql(sql, destino_.dialecto))))
        throw ErrorDelDriver(consulta.lastError());
    return SentenciaPreparada(std::move(consulta), limite_);
}

bool ConexionQt::MotorEnTransaccion() const { return sqlite_ ? sqlite3_get_autocommit(sqlite_) == 0 : transaccion_; }

void ConexionQt::BeginTrans() {
    if (transaccion_) throw RuntimeError(errores::Database, "Nested transactions are not supported.");
    Execute(destino_.dialecto == Dialecto::SQLite ? "BEGIN IMMEDIATE" : "BEGIN TRANSACTION");
    transaccion_ = true;
}

void ConexionQt::ExigeTransaccion() const {
    if (!transaccion_) throw RuntimeError(errores::Database, "No transaction is active.");
}

void ConexionQt::CommitTrans() {
    ExigeTransaccion();
    try {
        Execute("COMMIT");
    } catch (const RuntimeError&) {
        transaccion_ = MotorEnTransaccion();
        throw;
    }
    transaccion_ = false;
}

void ConexionQt::RollbackTrans() {
    ExigeTransaccion();
    const bool abierta = MotorEnTransaccion();
    transaccion_ = false;
    if (abierta) Execute("ROLLBACK");
}

bool ConexionQt::InTransaction() const { return transaccion_ && MotorEnTransaccion(); }

int ConexionQt::CommandTimeout() const { return limite_->Segundos(); }

void ConexionQt::SetCommandTimeout(int seconds) {
    limite_->Fija(seconds);
    if (destino_.dialecto == Dialecto::PostgreSQL)
        Execute("SET statement_timeout = " + std::to_string(seconds * 1000LL));
}

std::string ConexionQt::DefaultDatabase() const { return destino_.nombre; }

}  // namespace qivera::db
