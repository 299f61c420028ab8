#pragma once
#include <string>
#include <vector>

namespace qivera {

// A QR code as its square of modules, row by row, true where dark; error correction M, as the SAT's
// verification codes are printed.
struct CodigoQr {
    int lado = 0;
    std::vector<bool> modulos;

    bool Oscuro(int fila, int columna) const { return modulos[static_cast<std::size_t>(fila * lado + columna)]; }
};

// Raises RuntimeError when the text cannot be encoded.
CodigoQr CodificaQr(const std::string& texto);

}  // namespace qivera
