#pragma once
#include "qivera/db/conexion_qt.hpp"

namespace qivera::db::demo {

// The demo's issuer and its test CSD: the SAT's published test taxpayer EKU9003173C9, whose .key,
// .cer and password file are written to the folder `csd` beside the database (derived from a fixed
// seed like the rest of the demo, valid from 2025-01-01 to 2031-01-01) and named by the CFDI_CSD_*
// variables.
void GeneraFirma(ConexionQt& conexion);

}  // namespace qivera::db::demo
