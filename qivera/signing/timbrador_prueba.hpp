#pragma once
#include <string>

#include "kx204/host/date.hpp"
#include "qivera/signing/credenciales.hpp"

namespace qivera {

// A stamping provider for tests and the demo, never for real invoices. It checks what a provider
// checks of a sealed CFDI 4.0 (its namespace and version, the certificate's number, the seal over
// the original string) and adds a TimbreFiscalDigital 1.1 with a random UUID, sealed with a test
// certificate of its own. "qivera pac-prueba" runs it behind the stamping seam.
inline constexpr const char* kRfcPacPrueba = "SPR190613I52";
inline constexpr const char* kNoCertificadoPacPrueba = "30001000000500003456";

// The stamped XML; raises RuntimeError with the reason it refuses.
std::string TimbraPrueba(const std::string& xmlSellado, const kx204::host::Date& ahora);
// The test provider's key and certificate, so that its stamps can be verified.
Credenciales CredencialesPacPrueba();

}  // namespace qivera
