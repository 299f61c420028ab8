#pragma once
#include <functional>
#include <string>

#include <QSqlError>

#include "kx204/host/runtime_error.hpp"
#include "qivera/db/limite_tiempo.hpp"

struct sqlite3;

namespace qivera::db {

// What a connection shares with the recordsets and prepared statements it hands out: the time
// limit, how many recordsets are still handing out rows, and what the connection does when a step
// of the driver fails.
class Canal {
public:
    explicit Canal(sqlite3* sqlite) : limite(sqlite) {}

    // Runs one step of the driver (exec, next); false when it failed.
    template <typename Paso>
    bool Corre(Paso paso) {
        return limite.Vigila(paso);
    }
    // The failure of the last step as the screen sees it, told to the connection first.
    kx204::host::RuntimeError Falla(const QSqlError& error);

    // A statement run while another's rows are still being read would make PostgreSQL drop those
    // rows (and SQL Server without MARS refuse it), so it is refused on every engine.
    void ExigeSinLecturas() const;
    // `sentencia` names the rows in the refusal, so that the reader left open is easy to find.
    void AbreLectura(std::string sentencia) {
        ++lecturasAbiertas_;
        ultimaLectura_ = std::move(sentencia);
    }
    void CierraLectura() { --lecturasAbiertas_; }

    LimiteTiempo limite;
    std::function<void(const kx204::host::RuntimeError&)> alFallar;
    // What the connection does before a prepared statement writes: what waits is written, what was
    // read ahead is forgotten.
    std::function<void()> antesDeEscribir;

private:
    int lecturasAbiertas_ = 0;
    std::string ultimaLectura_;
};

}  // namespace qivera::db
