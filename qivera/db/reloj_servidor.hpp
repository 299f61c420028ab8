#pragma once
#include <chrono>
#include <optional>
#include <string>

#include "kx204/host/connection.hpp"
#include "kx204/host/date.hpp"
#include "qivera/db/dialecto.hpp"

namespace qivera::db {

// The server's clock as an SQL expression of the given engine: whole seconds since 1970-01-01 UTC, read
// when the statement runs. For what the server must decide on its own clock within one statement,
// whatever the client's says. On SQLite the engine runs in the client, and so does its clock.
std::string SegundosDelServidor(Dialecto dialecto);

// The database server's local date and time. Asking the server on every stamp would cost a round
// trip per written row, so the clock reads it once and then follows the machine's own clock at the
// distance measured, reading it again every few minutes (a change of daylight saving time, a
// corrected clock).
class RelojServidor {
public:
    kx204::host::Date Ahora(kx204::host::Connection& conexion);

private:
    std::optional<std::chrono::seconds> desfase_;  // server's local time minus the machine's UTC
    std::chrono::steady_clock::time_point medido_{};
};

}  // namespace qivera::db
