#pragma once
#include <string>
#include <utility>
#include <vector>

namespace qivera {

// An XML element as the fiscal documents need it: its qualified name, its attributes in the order
// written (namespace declarations included) and its child elements; no text content.
struct NodoXml {
    std::string nombre;
    std::vector<std::pair<std::string, std::string>> atributos;
    std::vector<NodoXml> hijos;

    // The name without its prefix: "Comprobante" for "cfdi:Comprobante".
    std::string Local() const;
    // The attribute's value, empty when absent.
    const std::string& Atributo(const std::string& nombre) const;
    bool TieneAtributo(const std::string& nombre) const;
    // Sets the attribute, in place when present, at the end otherwise.
    void Pon(const std::string& nombre, const std::string& valor);
    // The first child of that local name; null when none.
    const NodoXml* Hijo(const std::string& local) const;
    NodoXml* Hijo(const std::string& local);
};

// What of `texto` an XML 1.0 document can carry: control characters other than tab, line feed and
// carriage return are dropped. The XML and the original string both read values through here, so a
// seal always covers what the document says.
std::string TextoAdmitido(const std::string& texto);

// The document as UTF-8 with its declaration, attributes escaped, no whitespace between elements.
std::string EscribeXml(const NodoXml& raiz);
// The root element of `xml`; raises RuntimeError when it is not well-formed or holds text.
NodoXml LeeXml(const std::string& xml);

}  // namespace qivera
