#pragma once
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "kx204/host/connection.hpp"

namespace qivera::db {

// The screen reads the lots and the serial numbers of an invoice one product (grouped lines) or one
// line's note (line by line) at a time: a statement apiece, each going over all the notes. Inside a
// transaction the connection hands those statements here, and they are answered from one read of
// every product, or of every note, kept until a table it read is written or the transaction ends.
// Only statements written exactly as the screen writes them are answered, with the columns it reads of them;
// any other runs as it is.
class LecturasFactura {
public:
    using Lector = std::function<std::unique_ptr<kx204::host::Recordset>(const std::string&)>;

    // The answer to `sql`, or null when it is to run as it is. `lee` runs a statement on the engine.
    std::unique_ptr<kx204::host::Recordset> Responde(const std::string& sql, const Lector& lee);
    // Whether the notes' lines read line by line in this transaction hold the line `id` of note `folio`.
    bool RenglonLeido(const std::string& folio, long id) const;
    // The receivables the screen read to pay them all (see AbonosDiferidos): the folio list of their notes
    // and the folio of the last one read, the first time they are asked for after that read; empty otherwise.
    struct CuentasPorSaldar {
        std::string notas, ultima;
    };
    CuentasPorSaldar TomaCuentasPorSaldar() { return std::exchange(porSaldar_, {}); }
    // Something was written: what was read ahead may no longer hold.
    void Olvida();
    // The transaction ended.
    void Termina();

private:
    using Filas = std::vector<std::vector<kx204::host::Variant>>;
    // One read ahead: what it was read over, the answer's column names and its rows under each key
    // (product, or product and note).
    struct Lectura {
        std::string origen;
        std::string sentencia;  // in capitals, to tell which writes leave it standing
        std::vector<std::string> nombres;
        std::unordered_map<std::string, Filas> filas;
    };

    std::unique_ptr<kx204::host::Recordset> LeeRenglones(const std::string& sql, const std::string& folios,
                                                         const Lector& lee);
    std::unique_ptr<kx204::host::Recordset> LeeCuentasPorSaldar(const std::string& sql, const std::string& notas,
                                                                const Lector& lee);
    std::unique_ptr<kx204::host::Recordset> Lotes(const std::string& tabla, const std::string& documentos,
                                                  const std::string& producto, const Lector& lee);
    std::unique_ptr<kx204::host::Recordset> Series(const std::string& documentos, const std::string& producto,
                                                   const Lector& lee);
    // The read-ahead statement, or none when the screen's statement is not one to answer.
    using Sentencia = std::function<std::optional<std::string>()>;
    // The rows under `clave` of the read `nombre` over `origen`, made with `sentencia` (its keys in its
    // first `llaves` columns) unless it is kept already; null when `sentencia` gives none.
    std::unique_ptr<kx204::host::Recordset> Sirve(const std::string& nombre, const std::string& origen,
                                                  const Sentencia& sentencia, int llaves, const std::string& clave,
                                                  const Lector& lee);
    // Whether rows put into `tabla` (in capitals; "" for any other write) leave every read ahead standing.
    bool SinEfectoEnLoLeido(const std::string& tabla) const;
    // The single note `documentos` names, when it is one of the notes read line by line; "" otherwise.
    std::string NotaLeida(const std::string& documentos) const;

    std::map<std::string, Lectura> lecturas_;
    std::string notas_;                          // the folio list of the notes read line by line
    std::unordered_set<std::string> folios_;     // those notes, compared as the engine compares them
    std::unordered_set<std::string> renglones_;  // their lines, note and id
    CuentasPorSaldar porSaldar_;
};

}  // namespace qivera::db
