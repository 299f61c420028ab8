#include "qivera/db/limite_tiempo.hpp"

#include <climits>

#include <sqlite3.h>

namespace qivera::db {

namespace {

// Virtual-machine steps between two looks at the clock: cheap, and still fine-grained.
constexpr int kPasosEntreRevisiones = 1000;

// PostgreSQL's query_canceled, which its statement_timeout raises.
constexpr const char* kTiempoAgotadoPostgresql = "57014";

kx204::host::RuntimeError TiempoAgotado() { return {kx204::host::errores::Database, "Query timeout expired"}; }

int Milisegundos(int segundos) {
    if (segundos == 0 || segundos > INT_MAX / 1000) return INT_MAX;
    return segundos * 1000;
}

}  // namespace

LimiteTiempo::LimiteTiempo(sqlite3* sqlite) : sqlite_(sqlite) {
    if (!sqlite_) return;
    sqlite3_progress_handler(sqlite_, kPasosEntreRevisiones, &LimiteTiempo::Vencido, this);
    sqlite3_busy_timeout(sqlite_, Milisegundos(segundos_));
}

void LimiteTiempo::Suelta() {
    if (sqlite_) sqlite3_progress_handler(sqlite_, 0, nullptr, nullptr);
    sqlite_ = nullptr;
}

void LimiteTiempo::Fija(int segundos) {
    if (segundos < 0)
        throw kx204::host::RuntimeError(3001,
                                        "Arguments are of the wrong type, are out of acceptable range, "
                                        "or are in conflict with one another.");
    segundos_ = segundos;
    if (sqlite_) sqlite3_busy_timeout(sqlite_, Milisegundos(segundos_));
}

void LimiteTiempo::Arma() {
    interrumpido_ = false;
    limite_ = segundos_ == 0 ? std::chrono::steady_clock::time_point::max()
                             : std::chrono::steady_clock::now() + std::chrono::seconds(segundos_);
}

int LimiteTiempo::Vencido(void* propio) {
    auto* limite = static_cast<LimiteTiempo*>(propio);
    if (std::chrono::steady_clock::now() < limite->limite_) return 0;
    limite->interrumpido_ = true;
    return 1;
}

kx204::host::RuntimeError LimiteTiempo::Error(const QSqlError& error) const {
    return interrumpido_ ? TiempoAgotado() : ErrorDelDriver(error);
}

kx204::host::RuntimeError ErrorDelDriver(const QSqlError& error) {
    if (error.nativeErrorCode() == QLatin1String(kTiempoAgotadoPostgresql)) return TiempoAgotado();
    QString texto = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    if (texto.trimmed().isEmpty()) texto = QStringLiteral("The database failed without saying why.");
    return {kx204::host::errores::Database, texto.toStdString()};
}

}  // namespace qivera::db
