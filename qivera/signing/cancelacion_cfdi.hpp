#pragma once
#include <string>

#include "qivera/services/cancelacion_factura.hpp"
#include "qivera/sesion/sesion.hpp"

namespace qivera {

// Cancels an invoice's stamped CFDI before the tax authority, as Delete asks before it touches the
// books. The clerk chooses the reason: CFDI_MOTIVO_CANCELACION's ("02", with errors, unless set) when
// they choose none. With 01 the SAT wants the replacement stamped first, relating to this CFDI: the CFDI
// is set aside (kPorSustituir) and the deletion goes on, its notes free for the replacement, whose stamp
// brings the cancellation (see CancelaSustituidos). The provider is asked with no transaction open and its answer
// recorded in Comprobante_Digital (Cd_Estado_Cancelacion): "CANCELADO" lets the deletion go on; "EN_PROCESO" (the
// receiver must accept) and a refusal stop it and tell the clerk, leaving the books as they were, and a later Delete
// asks again. A CFDI already cancelled is not asked for twice; an invoice whose stamp is still pending is not deleted
// at all.
ValidacionDocumento CancelaAnteElSat(Sesion& sesion, const std::string& folio);

struct PedidoCancelacion {
    std::string folio, uuid, motivo, sustituto;
};
// Asks the provider `comando` to cancel and records its answer in the invoice's Comprobante_Digital row;
// valid only when cancelled, otherwise with the clerk's error (refused, failed) or message (in process).
ValidacionDocumento PideCancelacion(kx204::host::Connection& conexion, const std::string& comando,
                                    const PedidoCancelacion& pedido);

}  // namespace qivera
