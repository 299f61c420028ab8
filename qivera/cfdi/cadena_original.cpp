#include "qivera/cfdi/cadena_original.hpp"

#include <map>
#include <vector>

#include "kx204/host/runtime_error.hpp"

namespace qivera {

namespace {

using Orden = std::vector<const char*>;

// The sealed attributes of each element, in the order the rules take them.
const std::map<std::string, Orden>& Atributos() {
    static const std::map<std::string, Orden> kAtributos{
        {"Comprobante",
         {"Version", "Serie", "Folio", "Fecha", "FormaPago", "NoCertificado", "CondicionesDePago", "SubTotal",
          "Descuento", "Moneda", "TipoCambio", "Total", "TipoDeComprobante", "Exportacion", "MetodoPago",
          "LugarExpedicion", "Confirmacion"}},
        {"InformacionGlobal", {"Periodicidad", "Meses", "Año"}},
        {"CfdiRelacionados", {"TipoRelacion"}},
        {"CfdiRelacionado", {"UUID"}},
        {"Emisor", {"Rfc", "Nombre", "RegimenFiscal", "FacAtrAdquirente"}},
        {"Receptor",
         {"Rfc", "Nombre", "DomicilioFiscalReceptor", "ResidenciaFiscal", "NumRegIdTrib", "RegimenFiscalReceptor",
          "UsoCFDI"}},
        {"Conceptos", {}},
        {"Concepto",
         {"ClaveProdServ", "NoIdentificacion", "Cantidad", "ClaveUnidad", "Unidad", "Descripcion", "ValorUnitario",
          "Importe", "Descuento", "ObjetoImp"}},
        {"Traslados", {}},
        {"Retenciones", {}},
        {"Traslado", {"Base", "Impuesto", "TipoFactor", "TasaOCuota", "Importe"}},
        {"Retencion", {"Base", "Impuesto", "TipoFactor", "TasaOCuota", "Importe"}},
        {"InformacionAduanera", {"NumeroPedimento"}},
    };
    return kAtributos;
}

// What the XML carries, leading and trailing whitespace dropped, inner runs as one space.
std::string Normaliza(const std::string& valor) {
    std::string normal;
    bool espacio = false;
    for (char c : TextoAdmitido(valor)) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            espacio = !normal.empty();
            continue;
        }
        if (espacio) normal += ' ';
        espacio = false;
        normal += c;
    }
    return normal;
}

void Valor(std::string& cadena, const NodoXml& nodo, const char* atributo) {
    if (nodo.TieneAtributo(atributo)) cadena += '|' + Normaliza(nodo.Atributo(atributo));
}

void Elemento(std::string& cadena, const NodoXml& nodo);

// The document's tax totals: the withholdings and their total, then the transfers and theirs.
void ImpuestosDelComprobante(std::string& cadena, const NodoXml& impuestos) {
    if (const NodoXml* retenciones = impuestos.Hijo("Retenciones")) Elemento(cadena, *retenciones);
    Valor(cadena, impuestos, "TotalImpuestosRetenidos");
    if (const NodoXml* traslados = impuestos.Hijo("Traslados")) Elemento(cadena, *traslados);
    Valor(cadena, impuestos, "TotalImpuestosTrasladados");
}

void Elemento(std::string& cadena, const NodoXml& nodo) {
    const auto orden = Atributos().find(nodo.Local());
    if (orden == Atributos().end())
        throw kx204::host::RuntimeError(5, "El CFDI tiene un elemento no admitido: " + nodo.nombre);
    for (const char* atributo : orden->second) Valor(cadena, nodo, atributo);
    for (const NodoXml& hijo : nodo.hijos) {
        const std::string local = hijo.Local();
        if (local == "Complemento" || local == "Addenda") continue;
        if (local == "Impuestos" && nodo.Local() == "Comprobante")
            ImpuestosDelComprobante(cadena, hijo);
        else if (local == "Impuestos")
            for (const NodoXml& grupo : hijo.hijos) Elemento(cadena, grupo);  // a concept's: transfers, withholdings
        else
            Elemento(cadena, hijo);
    }
}

}  // namespace

std::string CadenaOriginal(const NodoXml& comprobante) {
    std::string cadena = "|";
    Elemento(cadena, comprobante);
    return cadena + "||";
}

std::string CadenaOriginalTimbre(const NodoXml& timbre) {
    std::string cadena = "|";
    for (const char* atributo :
         {"Version", "UUID", "FechaTimbrado", "RfcProvCertif", "Leyenda", "SelloCFD", "NoCertificadoSAT"})
        Valor(cadena, timbre, atributo);
    return cadena + "||";
}

}  // namespace qivera
