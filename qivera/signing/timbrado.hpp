#pragma once
#include <string>

#include "kx204/host/connection.hpp"
#include "kx204/host/runtime_error.hpp"

namespace qivera {

// The seam to the stamping provider (PAC): the command the machine's configuration names ([timbrado] comando),
// an integrator's adapter for their provider. "COMANDO timbrar" takes the sealed XML on its standard
// input and answers the stamped XML on its standard output; "COMANDO cancelar UUID RFC MOTIVO [SUSTITUTO]"
// cancels a stamped CFDI (SUSTITUTO, the UUID that replaces it, with reason 01). Exit status 0 when done; otherwise its
// standard error says why. Exit status 1 is a refusal: nothing was stamped. Any other end (another status, a signal, no
// answer in time, an answer without the stamp) leaves it unknown whether the provider stamped, and the same XML must be
// sent again, which a provider answers with the stamp it gave the first time.

// The provider refused the CFDI: it was not stamped.
class TimbreRechazado : public kx204::host::RuntimeError {
public:
    using kx204::host::RuntimeError::RuntimeError;
};

// The stamping provider's command this machine's configuration names; empty when it names none. A command
// in the shared database (the variable CFDI_TIMBRADO_COMANDO) would run on every clerk's machine for
// whoever can write one row: while the database has one, stamping and cancelling are refused with a
// RuntimeError that says where the command belongs.
std::string ComandoTimbrado(kx204::host::Connection& conexion);

// The stamped XML; raises RuntimeError with the provider's reason when it refuses or fails.
// One that takes longer than `segundos` is stopped and counts as a failure.
std::string Timbra(const std::string& comando, const std::string& xmlSellado, int segundos = 120);
// The UUID of the stamp on `xmlTimbrado`, whose seal must still be `sello`; raises RuntimeError when the
// provider answered something else.
std::string UuidDelTimbre(const std::string& xmlTimbrado, const std::string& sello);
// What the tax authority answered to a cancellation it did not refuse.
enum class RespuestaCancelacion { Cancelado, EnProceso };
// "COMANDO cancelar UUID RFC MOTIVO [SUSTITUTO]" answers on its first line "cancelado", or "en_proceso" when
// the receiver must accept first; a refusal raises TimbreRechazado, any other failure RuntimeError.
RespuestaCancelacion CancelaTimbre(const std::string& comando, const std::string& uuid, const std::string& rfcEmisor,
                                   const std::string& motivo, const std::string& sustituto = {});

}  // namespace qivera
