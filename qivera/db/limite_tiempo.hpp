#pragma once
#include <chrono>
#include <functional>

#include <QSqlError>

#include "kx204/host/runtime_error.hpp"

struct sqlite3;

namespace qivera::db {

// The connection's command time-out. On SQLite a progress handler interrupts a
// statement that runs past it, and the busy timeout makes a statement wait that
// long for another connection's lock; PostgreSQL enforces it as statement_timeout.
class LimiteTiempo {
public:
    static constexpr int kSegundosPorOmision = 30;

    explicit LimiteTiempo(sqlite3* sqlite);
    LimiteTiempo(const LimiteTiempo&) = delete;
    LimiteTiempo& operator=(const LimiteTiempo&) = delete;

    int Segundos() const { return segundos_; }
    // 0 means no limit, as ADO's CommandTimeout.
    void Fija(int segundos);
    // Detaches from the engine before the connection closes; recordsets may still hold this object.
    void Suelta();

    // Runs one step of the driver (exec, next) with the clock started anew.
    template <typename Paso>
    bool Vigila(Paso paso) {
        if (latido_) latido_();
        Arma();
        return paso();
    }
    // Called before every step: lets a window stay painted through a long piece of work.
    void SetLatido(std::function<void()> latido) { latido_ = std::move(latido); }

    // The failure of the last step: the driver's text, or the time-out when it interrupted it.
    kx204::host::RuntimeError Error(const QSqlError& error) const;

private:
    void Arma();
    static int Vencido(void* propio);

    sqlite3* sqlite_;
    int segundos_ = kSegundosPorOmision;
    std::chrono::steady_clock::time_point limite_ = std::chrono::steady_clock::time_point::max();
    bool interrumpido_ = false;
    std::function<void()> latido_;
};

// A driver's failure as the screen sees it: the engine's own text when there is one.
kx204::host::RuntimeError ErrorDelDriver(const QSqlError& error);

}  // namespace qivera::db
