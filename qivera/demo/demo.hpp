#pragma once
#include "qivera/db/conexion_qt.hpp"

namespace qivera::db {

inline constexpr int kNotasDemo = 3000;

// Fills a database that has the schema with demo data: catalogs, configuration,
// users and permissions, and `notas` pending sale notes plus some cancelled,
// invoiced and deleted ones, with their lots, serial numbers and receivables.
// The data are the same on every run. Runs in one transaction: the caller's when
// one is open, its own otherwise. The keys are listed at the top of demo.cpp.
void GeneraDemo(ConexionQt& conexion, int notas = kNotasDemo);

}  // namespace qivera::db
