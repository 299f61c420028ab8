#pragma once
#include <iostream>

#include "qivera/script/argumentos.hpp"

namespace qivera {

// "qivera timbrar --pendientes": the invoices of a branch (every branch without --sucursal) that were
// sealed but never got their stamp, sent again to the provider with the XML first sealed, so that each
// ends with one UUID. Signs in as --user (ADMIN), who must hold FACTURAR; with --password-stdin the
// password is the first line of `entrada`. One JSON line per invoice on `salida`; 1 when any is still
// not stamped, 0 otherwise.
int TimbraPendientes(const Argumentos& args, std::istream& entrada, std::ostream& salida);

}  // namespace qivera
