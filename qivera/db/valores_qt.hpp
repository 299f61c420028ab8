#pragma once
#include <QVariant>

#include "kx204/host/variant.hpp"

namespace qivera::db {

// A column's value as the driver gives it, as the screen's Variant holds it.
kx204::host::Variant AVariant(const QVariant& valor);
// A value to bind to a statement's parameter; money and dates go as exact text.
QVariant AQVariant(const kx204::host::Variant& valor);

}  // namespace qivera::db
