#pragma once
#include <optional>
#include <string>
#include <vector>

#include "kx204/host/connection.hpp"
#include "kx204/host/controls/lista.hpp"
#include "qivera/db/sql.hpp"
#include "qivera/sesion/persona.hpp"

namespace qivera {

// Width in twips of a column that comes into view.
inline constexpr int kAnchoColumna = 1440;

// A statement's rows in the list's format: the first column is the item text, the
// following ones its sub-items; the columns are named after the result.
struct RenglonesLista {
    std::vector<kx204::host::ColumnaLista> columnas;
    std::vector<kx204::host::ItemLista> items;
};

// Runs `sentencia` and reads all its rows. Null reads as "", numbers as Variant::ToText gives
// them; a column is right-aligned when its first row holds a number.
RenglonesLista LeeRenglones(kx204::host::Connection& conexion, const std::string& sentencia);
// Appends the rows in one go (the list sorts once); with `encabezados` the columns become
// the result's, keeping the width a column of the same caption had, so hidden ones stay hidden.
void AgregaRenglones(kx204::host::Lista& lista, RenglonesLista renglones, bool encabezados);

// The visible columns (width > 0) as CSV: a header line of captions, then one line per item.
std::string TextoCsv(const kx204::host::Lista& lista);
// Writes `contenido` to `ruta` whole or not at all; a failure raises RuntimeError with the reason.
void GuardaArchivo(const std::string& ruta, const std::string& contenido);

// Shows exactly the columns whose captions `elegidas` names, separated by "|": the others are
// hidden, a hidden one that is named comes back with the default width, a visible one keeps its own.
void MuestraColumnas(kx204::host::Lista& lista, const std::string& elegidas);

// Asks the person to choose one of `opciones`; an answer that is not among them counts as none.
std::string EligeRenglon(Persona& persona, const std::string& tipo, const std::vector<std::string>& args,
                         const std::vector<std::string>& opciones, const std::vector<std::string>& descripciones = {});

}  // namespace qivera
