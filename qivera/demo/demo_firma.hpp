#pragma once
#include "qivera/db/conexion_qt.hpp"

namespace qivera::db::demo {

// The demo's own signer: an RSA key and a self-signed certificate "Qivera Demo" valid from
// 2025-01-01 to 2036-01-01, derived from a fixed seed like the rest of the demo, stored in
// FAC_FIRMA_LLAVE and FAC_FIRMA_CERTIFICADO.
void GeneraFirma(ConexionQt& conexion);

}  // namespace qivera::db::demo
