#include "qivera/cfdi/nodo_xml.hpp"

#include <QXmlStreamReader>
#include <optional>

#include "kx204/host/runtime_error.hpp"

namespace qivera {

namespace {

constexpr long kErrorXml = 5;

void EscribeValor(std::string& xml, const std::string& valor) {
    for (char c : TextoAdmitido(valor)) {
        switch (c) {
            case '&':
                xml += "&amp;";
                break;
            case '<':
                xml += "&lt;";
                break;
            case '>':
                xml += "&gt;";
                break;
            case '"':
                xml += "&quot;";
                break;
            case '\t':
                xml += "&#9;";
                break;
            case '\n':
                xml += "&#10;";
                break;
            case '\r':
                xml += "&#13;";
                break;
            default:
                xml += c;
        }
    }
}

void Escribe(std::string& xml, const NodoXml& nodo);

}  // namespace

std::string TextoAdmitido(const std::string& texto) {
    std::string admitido;
    for (char c : texto)
        if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n' || c == '\r') admitido += c;
    return admitido;
}

namespace {

void Escribe(std::string& xml, const NodoXml& nodo) {
    xml += '<' + nodo.nombre;
    for (const auto& [nombre, valor] : nodo.atributos) {
        xml += ' ' + nombre + "=\"";
        EscribeValor(xml, valor);
        xml += '"';
    }
    if (nodo.hijos.empty()) {
        xml += "/>";
        return;
    }
    xml += '>';
    for (const NodoXml& hijo : nodo.hijos) Escribe(xml, hijo);
    xml += "</" + nodo.nombre + '>';
}

NodoXml Elemento(const QXmlStreamReader& lector) {
    NodoXml nodo{lector.qualifiedName().toString().toStdString(), {}, {}};
    for (const QXmlStreamNamespaceDeclaration& espacio : lector.namespaceDeclarations())
        nodo.atributos.emplace_back(
            espacio.prefix().isEmpty() ? "xmlns" : "xmlns:" + espacio.prefix().toString().toStdString(),
            espacio.namespaceUri().toString().toStdString());
    for (const QXmlStreamAttribute& atributo : lector.attributes())
        nodo.atributos.emplace_back(atributo.qualifiedName().toString().toStdString(),
                                    atributo.value().toString().toStdString());
    return nodo;
}

[[noreturn]] void Rechaza(const std::string& motivo) {
    throw kx204::host::RuntimeError(kErrorXml, "El XML no es válido: " + motivo);
}

}  // namespace

std::string NodoXml::Local() const {
    const std::size_t dos = nombre.find(':');
    return dos == std::string::npos ? nombre : nombre.substr(dos + 1);
}

const std::string& NodoXml::Atributo(const std::string& buscado) const {
    static const std::string kVacio;
    for (const auto& [clave, valor] : atributos)
        if (clave == buscado) return valor;
    return kVacio;
}

bool NodoXml::TieneAtributo(const std::string& buscado) const {
    for (const auto& atributo : atributos)
        if (atributo.first == buscado) return true;
    return false;
}

void NodoXml::Pon(const std::string& clave, const std::string& valor) {
    for (auto& atributo : atributos)
        if (atributo.first == clave) {
            atributo.second = valor;
            return;
        }
    atributos.emplace_back(clave, valor);
}

const NodoXml* NodoXml::Hijo(const std::string& local) const {
    for (const NodoXml& hijo : hijos)
        if (hijo.Local() == local) return &hijo;
    return nullptr;
}

NodoXml* NodoXml::Hijo(const std::string& local) {
    return const_cast<NodoXml*>(static_cast<const NodoXml&>(*this).Hijo(local));
}

std::string EscribeXml(const NodoXml& raiz) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    Escribe(xml, raiz);
    return xml;
}

NodoXml LeeXml(const std::string& xml) {
    QXmlStreamReader lector(QByteArray::fromStdString(xml));
    std::vector<NodoXml> abiertos;
    std::optional<NodoXml> raiz;
    while (!lector.atEnd()) {
        switch (lector.readNext()) {
            case QXmlStreamReader::StartElement:
                if (raiz) Rechaza("hay más de un elemento raíz");
                abiertos.push_back(Elemento(lector));
                break;
            case QXmlStreamReader::EndElement:
                if (abiertos.size() == 1) {
                    raiz = std::move(abiertos.back());
                } else {
                    abiertos[abiertos.size() - 2].hijos.push_back(std::move(abiertos.back()));
                }
                abiertos.pop_back();
                break;
            case QXmlStreamReader::Characters:
                if (!lector.isWhitespace() && !abiertos.empty())
                    Rechaza("el elemento " + abiertos.back().nombre + " tiene texto");
                break;
            default:
                break;
        }
    }
    if (lector.hasError()) Rechaza(lector.errorString().toStdString());
    if (!raiz) Rechaza("no tiene elementos");
    return *raiz;
}

}  // namespace qivera
