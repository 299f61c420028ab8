#pragma once
#include <string>

#include "kx204/host/currency.hpp"

namespace qivera {

// An amount in Spanish words as invoices write it, to the cent:
// "(MIL DOSCIENTOS SESENTA Y TRES PESOS 38/100 M.N.)", "(UN MILLÓN DE PESOS 00/100 M.N.)",
// "(VEINTIÚN DÓLARES 05/100 USD)". Other currencies are named by their code.
std::string ImporteConLetra(kx204::host::Currency importe, const std::string& moneda);

}  // namespace qivera
