#pragma once
#include <QVariant>

#include "kx204/host/variant.hpp"

namespace qivera::db {

// A column's value as the driver gives it, as the screen's Variant holds it.
kx204::host::Variant AVariant(const QVariant& valor);
// A decimal column's value sent as text: a Double while that keeps every digit, else a Currency when
// it has at most four decimals, so an amount is read to the ten-thousandth however large.
kx204::host::Variant ADecimal(const QString& texto);
// A value to bind to a statement's parameter; money and dates go as exact text.
QVariant AQVariant(const kx204::host::Variant& valor);

}  // namespace qivera::db
