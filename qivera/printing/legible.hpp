#pragma once
#include <QString>
#include <optional>
#include <string>

#include "kx204/host/currency.hpp"

namespace qivera {

// How documents and views write values for a person to read; what is stored and exported stays as it is.

// An amount rounded to the cent, half away from zero.
kx204::host::Currency AlCentavo(kx204::host::Currency importe);
// An amount to the cent, half away from zero, with thousands separators: "1,234.57", "-0.01".
QString ImporteLegible(kx204::host::Currency importe);
// The same as money: "$1,234.57", "-$0.01".
QString DineroLegible(kx204::host::Currency importe);
// A date stored as text (YYYY-MM-DD, with or without a midnight time) as dd/mm/yyyy; nothing when
// the text is not such a date.
std::optional<QString> FechaLegible(const std::string& fecha);
// A plain decimal number written as text ("1781.16", "-5", "0"), as an amount; nothing otherwise.
std::optional<kx204::host::Currency> ImporteEnTexto(const std::string& texto);

}  // namespace qivera
