#include "qivera/cfdi/sustitucion.hpp"

namespace qivera {

NodoXml NodoSustitucion(const std::vector<std::string>& uuids) {
    NodoXml relacionados{"cfdi:CfdiRelacionados", {{"TipoRelacion", "04"}}, {}};
    for (const std::string& uuid : uuids)
        relacionados.hijos.push_back(NodoXml{"cfdi:CfdiRelacionado", {{"UUID", uuid}}, {}});
    return relacionados;
}

std::vector<std::string> UuidsSustituidos(const NodoXml& comprobante) {
    std::vector<std::string> uuids;
    const NodoXml* relacionados = comprobante.Hijo("CfdiRelacionados");
    if (relacionados && relacionados->Atributo("TipoRelacion") == "04")
        for (const NodoXml& relacionado : relacionados->hijos) uuids.push_back(relacionado.Atributo("UUID"));
    return uuids;
}

std::vector<std::string> UuidsSustituidos(const std::string& xml) {
    if (xml.find("CfdiRelacionados") == std::string::npos) return {};
    return UuidsSustituidos(LeeXml(xml));
}

}  // namespace qivera
