#pragma once
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "kx204/host/controls/formulario.hpp"
#include "kx204/host/date.hpp"
#include "qivera/db/conexion_qt.hpp"
#include "qivera/db/reloj_servidor.hpp"
#include "qivera/db/sql.hpp"
#include "qivera/sesion/persona.hpp"

namespace qivera {

// The period a general-public invoice covers, as the SAT's catalogs name it: c_Periodicidad ("01"
// daily to "05" two-monthly), c_Meses ("01" to "12", "13" to "18" for two months) and the year.
struct PeriodoGlobal {
    std::string periodicidad, meses, anio;
};

// What the third value `registra` is told of an event is, as its JSON key names it.
inline const char* ClaveDelEvento(const std::string& evento) {
    return evento == "ajuste" ? "amount" : evento == "sustitucion" ? "cancelacion" : "file";
}

// One signed-in clerk: the database, who they are, the server's date and the person behind the screen.
struct Sesion {
    db::ConexionQt& conexion;
    Persona& persona;
    std::string usuario;
    std::optional<kx204::host::Date> fechaServidor;  // the day, when fixed by --date or a script
    kx204::host::Formulario* ventanaActiva = nullptr;
    // Told of every document printed, signed or mailed ("print", "sign", "mail"), with the file made; of
    // the cents the books moved to equal a CFDI ("ajuste"); of what the provider answered to the
    // cancellation of a CFDI a stamped replacement replaces ("sustitucion").
    std::function<void(const std::string& evento, const std::string& folio, const std::string& archivo)> registra;
    db::RelojServidor reloj{};
    // The last folio of each numbering taken in the connection's current transaction, whose counter
    // row this clerk holds locked until it ends (see SiguienteFolio).
    struct FoliosTomados {
        long transaccion = -1;
        std::map<std::string, long> ultimos;
    } foliosTomados{};
    // The period of the general-public invoices issued in this session, when whoever issues them named one.
    std::optional<PeriodoGlobal> periodoGlobal{};

    // The server's local date and time; on the fixed day, when there is one, at the server's time of day.
    kx204::host::Date Ahora();
};

// The server's date and time as a statement writes it.
std::string AhoraSQL(Sesion& sesion);
// `valores` followed by the modification stamps: Oper_Ult_Modif the session's user, Fecha_Ult_Modif now.
std::vector<Valor> ConSellos(Sesion& sesion, std::vector<Valor> valores);

}  // namespace qivera
