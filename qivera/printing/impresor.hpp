#pragma once
#include <string>

#include "kx204/host/servicios.hpp"
#include "qivera/sesion/sesion.hpp"

namespace qivera {

// The host's document printer: prints an invoice as a PDF file in the folder the variable
// IMPRESION_DIRECTORIO names (by default `impresos` beside the database).
class ImpresorQivera : public kx204::host::ImpresorDocumentos {
public:
    explicit ImpresorQivera(Sesion& sesion) : sesion_(sesion) {}
    // Writes the invoice `folio` to RutaImpresion, `formato` in a corner; the other arguments
    // select nothing. Raises RuntimeError when there is no such invoice or the file cannot be written.
    void ImprimeDocumento(const std::string& formato, const std::string& folio, const std::string& texto,
                          double numero1, double numero2, const std::string& texto2) override;

private:
    Sesion& sesion_;
};

// The PDF file of the invoice `folio`, printed or not.
std::string RutaImpresion(Sesion& sesion, const std::string& folio);

}  // namespace qivera
