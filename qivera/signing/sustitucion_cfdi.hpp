#pragma once
#include <string>
#include <vector>

#include "kx204/host/connection.hpp"

namespace qivera {

// Reason 01, as the SAT runs it: the replacement is stamped first, relating (04) to the CFDI it replaces,
// and only then is that one cancelled naming it. A Delete with 01 sets the CFDI aside (kPorSustituir)
// and frees its notes; the next invoice of those notes carries the relation (see LeeDatosCfdi).

// Inside the transaction that keeps the stamped `xml` of UUID `uuid`: each CFDI it replaces takes that
// UUID as its replacement, which records the intent to cancel it.
void AnotaSustituto(kx204::host::Connection& conexion, const std::string& xml, const std::string& uuid);

// What the provider answered to the cancellation of a replaced CFDI: "cancelado", "en_proceso", or, in
// `error`, why it was not cancelled.
struct CancelacionSustituida {
    std::string folio, estado, error;
};
// Asks the provider to cancel every replaced CFDI not cancelled yet (only those `sustituto` replaces,
// when given), naming its replacement, and records each answer; with no provider configured, none.
// Called with no transaction open; a retry asks again until the provider says cancelled.
std::vector<CancelacionSustituida> CancelaSustituidos(kx204::host::Connection& conexion,
                                                      const std::string& sustituto = {});

}  // namespace qivera
