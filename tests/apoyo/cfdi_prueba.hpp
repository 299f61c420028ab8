#pragma once
#include <string>

#include "apoyo/entorno.hpp"
#include "qivera/signing/csd.hpp"

namespace prueba {

inline constexpr const char* kRfcEmisorPrueba = "EKU9003173C9";
inline constexpr const char* kNoCertificadoPrueba = "30001000000500003416";
inline constexpr const char* kContrasenaCsd = "clave de la llave";

// A test CSD of the issuer, valid from 2025-01-01 to 2031-01-01, written once per run, and the file
// holding its password.
struct CsdDePrueba {
    qivera::RutasCsd rutas;
    std::string contrasena;
};
const CsdDePrueba& CsdPrueba();

// The issuer's fiscal data and its test CSD in the environment's variables; invoices are stamped by
// the program's own test provider, named by the machine's configuration, unless `timbrar` is false.
void ConfiguraCfdi(Entorno& entorno, bool timbrar = true);

}  // namespace prueba
