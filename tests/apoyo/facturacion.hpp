#pragma once
#include <string>
#include <vector>

#include "apoyo/notas.hpp"

namespace prueba {

// Notes ready to invoice to client C1 (address 01, salesman V1, cash condition CONT) in branch 01:
//   N1: P1 ×2 for 20 (lot L1), P3 ×1 for 100 (serials S-1, S-2)
//   N2: P1 ×4 for 33 (lots L1 ×2, L2 ×2), P2 ×1 for 10 (lot L1 through its equivalent P1)
//   N3: P4 ×0 for 0 (a lot movement, but P4's equivalent is null)
// Every line carries 16% tax. L2 has no customs number nor office. P3's name is 120 characters.
void PreparaFacturacion(Entorno& entorno);

// The screen in New with C1 taken and the notes loaded; `notas` are checked.
kx204::frmKX204& Captura(Entorno& entorno, const std::vector<std::string>& notas);
// The same on a screen already open.
void Captura(Entorno& entorno, kx204::frmKX204& pantalla, const std::vector<std::string>& notas);

// What an invoice touches, as text, to compare the database before and after.
std::string Huella(Entorno& entorno);

// The rows of a query, a line each, columns separated by "|".
std::string Filas(Entorno& entorno, const std::string& sentencia);

}  // namespace prueba
