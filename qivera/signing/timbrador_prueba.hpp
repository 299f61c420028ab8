#pragma once
#include <string>

#include "kx204/host/date.hpp"
#include "qivera/signing/credenciales.hpp"

namespace qivera {

// A stamping provider for tests and the demo, never for real invoices. It checks what a provider
// checks of a sealed CFDI 4.0 (its namespace and version, the certificate's number, the seal over
// the original string) and adds a TimbreFiscalDigital 1.1 sealed with a test certificate of its own.
// As a real provider does, the same sealed XML always gets the same stamp: the UUID comes from the seal
// and, with a ledger (see LibroPacPrueba), the first stamp's time is kept and every request written down.
// "qivera pac-prueba" runs it behind the stamping seam.
inline constexpr const char* kRfcPacPrueba = "SPR190613I52";
inline constexpr const char* kNoCertificadoPacPrueba = "30001000000500003456";

// The stamped XML; raises RuntimeError with the reason it refuses.
std::string TimbraPrueba(const std::string& xmlSellado, const kx204::host::Date& ahora, const std::string& libro = {});
// The answer to cancelling `uuid` for `motivo`: `pedida` ("cancelado", "en_proceso" or "rechazado"), except
// that a cancelled CFDI stays cancelled. With a ledger, as the SAT, it refuses a UUID it never stamped and
// reason 01 whose `sustituto` is not a stamp of its own relating (04) to `uuid`.
std::string CancelaPrueba(const std::string& uuid, const std::string& motivo, const std::string& sustituto,
                          const std::string& pedida, const std::string& libro = {});
// The test provider's key and certificate, so that its stamps can be verified.
Credenciales CredencialesPacPrueba();

}  // namespace qivera
