#include "qivera/db/reloj_servidor.hpp"

#include "kx204/host/runtime_error.hpp"

namespace qivera::db {

namespace {

constexpr std::chrono::minutes kVigenciaDesfase{5};

using Segundos = std::chrono::sys_seconds;

Segundos ComoUtc(const kx204::host::Date& fecha) {
    const std::chrono::sys_days dia = std::chrono::year_month_day{
        std::chrono::year{fecha.Year()}, std::chrono::month{static_cast<unsigned>(fecha.Month())},
        std::chrono::day{static_cast<unsigned>(fecha.Day())}};
    return Segundos{dia} + std::chrono::hours{fecha.Hour()} + std::chrono::minutes{fecha.Minute()} +
           std::chrono::seconds{fecha.Second()};
}

kx204::host::Date DeUtc(Segundos instante) {
    const std::chrono::sys_days dia = std::chrono::floor<std::chrono::days>(instante);
    const std::chrono::year_month_day ymd{dia};
    const std::chrono::hh_mm_ss hora{instante - dia};
    return kx204::host::Date::FromYmd(static_cast<int>(ymd.year()), static_cast<int>(unsigned(ymd.month())),
                                      static_cast<int>(unsigned(ymd.day())), static_cast<int>(hora.hours().count()),
                                      static_cast<int>(hora.minutes().count()),
                                      static_cast<int>(hora.seconds().count()));
}

Segundos AhoraUtc() { return std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now()); }

}  // namespace

std::string SegundosDelServidor(Dialecto dialecto) {
    switch (dialecto) {
        case Dialecto::SQLite:
            return "CAST(strftime('%s', 'now') AS INTEGER)";
        case Dialecto::PostgreSQL:  // the statement's own moment, not its transaction's start
            return "CAST(floor(extract(epoch FROM clock_timestamp())) AS BIGINT)";
        case Dialecto::SqlServer:
            break;
    }
    return "DATEDIFF_BIG(second, '19700101', SYSUTCDATETIME())";
}

kx204::host::Date RelojServidor::Ahora(kx204::host::Connection& conexion) {
    const auto ahora = std::chrono::steady_clock::now();
    if (!desfase_ || ahora - medido_ > kVigenciaDesfase) {
        try {
            auto rs = conexion.Execute("SELECT getdate()");
            const kx204::host::Date servidor = rs->Field(0).ToDate();
            rs->Close();
            desfase_ = ComoUtc(servidor) - AhoraUtc();
            medido_ = ahora;
        } catch (const kx204::host::RuntimeError&) {
            if (!desfase_) throw;  // a later reading may fail (rows being read): the last distance serves
        }
    }
    return DeUtc(AhoraUtc() + *desfase_);
}

}  // namespace qivera::db
