#pragma once
#include <QString>
#include <optional>
#include <string>
#include <vector>

namespace qivera {

// One entry of a line's stored lot list: "lote@cantidad1@cantidad2@caducidad@pedimento@fecha del
// pedimento@aduana".
struct LoteGuardado {
    std::string clave, cantidad1, cantidad2, caducidad, pedimento, fechaPedimento, aduana;
};
// The entries of a stored lot list, joined by "|".
std::vector<std::string> EntradasDeLotes(const std::string& lotes);
// An entry read; nothing when it is not of that form.
std::optional<LoteGuardado> LeeLote(const std::string& entrada);

// A line's lots as a customer reads them, one per line: "Lote L0003-1 · 6 PZA · cad. 06/04/2027 ·
// pedimento 26 47 3807 6000031 (Veracruz)". `lotes` is the stored list (entries "lote@cantidad1@
// cantidad2@caducidad@pedimento@fecha del pedimento@aduana" joined by "|"); the units name the two
// quantities. A part left empty (or a second quantity of 0) is left out; an entry not of that form is
// shown as it is.
QString LotesLegibles(const std::string& lotes, const std::string& unidad1, const std::string& unidad2);

// A line's serial numbers, stored joined by "|", as a plain list: "SN1, SN2".
QString SeriesLegibles(const std::string& series);

}  // namespace qivera
