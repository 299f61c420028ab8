#include "qivera/db/conexion_qt.hpp"

#include <atomic>
#include <utility>

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

// Taken right after BEGIN on PostgreSQL, so that a failed statement does not end the transaction.
constexpr const char* kPuntoInicial = "kx204_inicio";

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
    if (!destino_.opciones.empty()) base_.setConnectOptions(QString::fromStdString(destino_.opciones));
    if (!base_.open()) throw ErrorDelDriver(base_.lastError());
    sqlite_ = ManejadorSqlite(base_);
    canal_ = std::make_shared<Canal>(sqlite_);
    canal_->alFallar = [this](const RuntimeError& falla) { TrasFalla(falla); };
    canal_->antesDeEscribir = [this] {
        DescargaPendientes();
        lecturas_.Olvida();
    };
}

void ConexionQt::Configura() {
    if (destino_.enArchivo) {
        // Readers never wait for the writer; NORMAL synchronisation is safe under WAL and far faster.
        Execute("PRAGMA journal_mode=WAL");
        Execute("PRAGMA synchronous=NORMAL");
    }
    // Quoting only doubles single quotes: a backslash must stay a plain character whatever the server's default.
    if (destino_.dialecto == Dialecto::PostgreSQL) Execute("SET standard_conforming_strings = on");
    if (destino_.dialecto == Dialecto::SqlServer)
        destino_.nombre = Execute("SELECT DB_NAME()")->Field(0).ToTextOrEmpty();
    SetCommandTimeout(canal_->limite.Segundos());  // the server enforces the default from the start too
}

void ConexionQt::Cierra() {
    if (canal_) {
        canal_->limite.Suelta();
        canal_->alFallar = nullptr;  // recordsets may outlive the connection
        canal_->antesDeEscribir = nullptr;
    }
    if (base_.isValid()) base_.close();
    base_ = QSqlDatabase();  // the last handle must go before the connection is removed
    QSqlDatabase::removeDatabase(nombreConexion_);
}

QSqlQuery ConexionQt::Consulta() const {
    QSqlQuery consulta(base_);
    consulta.setForwardOnly(true);
    // A numeric(19,4) amount has more digits than a double keeps: take the server's text instead.
    if (destino_.dialecto == Dialecto::PostgreSQL) consulta.setNumericalPrecisionPolicy(QSql::HighPrecision);
    return consulta;
}

QSqlQuery ConexionQt::Ejecuta(const std::string& sql) {
    canal_->ExigeSinLecturas();
    DescargaPendientes();
    if (!base_.isOpen())  // the server went away: every later statement is told what the last one met
        throw ultimoFallo_.value_or(RuntimeError(errores::Database, "The connection to the database is closed."));
    QSqlQuery consulta = Consulta();
    const QString texto = QString::fromStdString(AdaptaSql(sql, destino_.dialecto));
    if (!canal_->Corre([&] { return consulta.exec(texto); })) throw canal_->Falla(consulta.lastError());
    return consulta;
}

long ConexionQt::ExecuteNonQuery(const std::string& sql) {
    lecturas_.Olvida();
    QSqlQuery consulta = Ejecuta(sql);
    const long cambiadas = consulta.numRowsAffected();
    consulta.finish();
    return cambiadas;
}

std::unique_ptr<kx204::host::Recordset> ConexionQt::Execute(const std::string& sql, int /*options*/) {
    if (transaccion_)
        if (auto respuesta = lecturas_.Responde(sql, [this](const std::string& propia) { return Lee(propia); }))
            return respuesta;
    return Lee(sql);
}

std::unique_ptr<kx204::host::Recordset> ConexionQt::Lee(const std::string& sql) {
    QSqlQuery consulta = Ejecuta(sql);
    if (destino_.dialecto != Dialecto::PostgreSQL) return std::make_unique<RecordsetQt>(std::move(consulta), canal_);
    return std::make_unique<RecordsetQt>(std::move(consulta), canal_, sql);
}

void ConexionQt::InsertaDespues(const std::string& tabla, std::vector<Valor> fila) {
    if (tabla != tablaPendiente_) DescargaPendientes();
    tablaPendiente_ = tabla;
    filasPendientes_.push_back(std::move(fila));
}

void ConexionQt::DescargaPendientes() {
    abonos_.Descarga(*this);
    if (filasPendientes_.empty()) return;
    const auto filas = std::move(filasPendientes_);
    filasPendientes_.clear();
    InsertaFilas(*this, tablaPendiente_, filas);
}

SentenciaPreparada ConexionQt::Prepara(const std::string& sql) {
    QSqlQuery consulta = Consulta();
    if (!consulta.prepare(QString::fromStdString(AdaptaSql(sql, destino_.dialecto))))
        throw ErrorDelDriver(consulta.lastError());
    return SentenciaPreparada(std::move(consulta), canal_);
}

void ConexionQt::TrasFalla(const RuntimeError& falla) {
    if (base_.isOpen()) ultimoFallo_ = falla;
    if (destino_.dialecto != Dialecto::PostgreSQL || !transaccion_ || primerFallo_) return;
    primerFallo_ = falla;
    QSqlQuery vuelta = Consulta();
    vuelta.exec(QStringLiteral("ROLLBACK TO SAVEPOINT %1").arg(QLatin1String(kPuntoInicial)));
}

bool ConexionQt::MotorEnTransaccion() const { return sqlite_ ? sqlite3_get_autocommit(sqlite_) == 0 : transaccion_; }

void ConexionQt::BeginTrans() {
    if (transaccion_) throw RuntimeError(errores::Database, "Nested transactions are not supported.");
    Execute(destino_.dialecto == Dialecto::SQLite ? "BEGIN IMMEDIATE" : "BEGIN TRANSACTION");
    lecturas_.Termina();
    transaccion_ = true;
    ++transacciones_;
    primerFallo_.reset();
    trasConfirmar_.clear();
    if (destino_.dialecto == Dialecto::PostgreSQL) Execute(std::string("SAVEPOINT ") + kPuntoInicial);
}

void ConexionQt::ExigeTransaccion() const {
    if (!transaccion_) throw RuntimeError(errores::Database, "No transaction is active.");
}

void ConexionQt::CommitTrans() {
    ExigeTransaccion();
    if (primerFallo_) {
        const RuntimeError falla = *primerFallo_;
        RollbackTrans();
        throw falla;
    }
    lecturas_.Termina();
    try {
        Execute("COMMIT");
    } catch (const RuntimeError&) {
        transaccion_ = MotorEnTransaccion();
        throw;
    }
    transaccion_ = false;
    for (const auto& accion : std::exchange(trasConfirmar_, {})) {
        // The work is stored: what befalls a notice of it must not make the commit look failed.
        try {
            accion();
        } catch (const std::exception&) {
        }
    }
}

void ConexionQt::TrasConfirmar(std::function<void()> accion) {
    if (transaccion_)
        trasConfirmar_.push_back(std::move(accion));
    else
        accion();
}

void ConexionQt::RollbackTrans() {
    ExigeTransaccion();
    const bool abierta = MotorEnTransaccion();
    transaccion_ = false;
    lecturas_.Termina();
    filasPendientes_.clear();
    abonos_.Olvida();
    primerFallo_.reset();
    trasConfirmar_.clear();
    if (!abierta) return;
    QSqlQuery rollback = Consulta();
    rollback.exec(QStringLiteral("ROLLBACK"));
}

bool ConexionQt::InTransaction() const { return transaccion_ && MotorEnTransaccion(); }

int ConexionQt::CommandTimeout() const { return canal_->limite.Segundos(); }

void ConexionQt::SetCommandTimeout(int seconds) {
    canal_->limite.Fija(seconds);
    if (destino_.dialecto == Dialecto::PostgreSQL)
        Execute("SET statement_timeout = " + std::to_string(seconds * 1000LL));
}

std::string ConexionQt::DefaultDatabase() const { return destino_.nombre; }

}  // namespace qivera::db
