#pragma once
#include <map>
#include <string>

#include "kx204/host/controls/barra_herramientas.hpp"
#include "qivera/sesion/sesion.hpp"

namespace qivera {

// The toolbar's additional fields of a document, kept in Campo_Adicional as field → value.
class CamposAdicionalesQivera : public kx204::host::CamposAdicionales {
public:
    explicit CamposAdicionalesQivera(Sesion& sesion) : sesion_(sesion) {}
    // Stores the values held now in place of the document's stored ones; with none held it stores nothing.
    bool Graba(const std::string& tabla, const std::string& clave, std::string& error) override;
    // Holds the document's stored values in place of the current ones.
    void Carga(const std::string& tabla, const std::string& clave) override;

    // The values the desktop shows and edits.
    std::map<std::string, std::string>& Valores() { return valores_; }

private:
    std::string Documento(const std::string& tabla, const std::string& clave) const;

    Sesion& sesion_;
    std::map<std::string, std::string> valores_;
};

}  // namespace qivera
