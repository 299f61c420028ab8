#include "qivera/printing/representacion_cfdi.hpp"

#include <cstdlib>

#include <QUrl>
#include <map>

#include "qivera/db/sql.hpp"
#include "qivera/cfdi/cadena_original.hpp"
#include "qivera/cfdi/nodo_xml.hpp"

namespace qivera {

namespace {

using kx204::host::Currency;

Currency Importe(const NodoXml& nodo, const char* atributo) {
    const std::string& texto = nodo.Atributo(atributo);
    return texto.empty() ? Currency() : Currency::Parse(texto);
}

const NodoXml& Hijo(const NodoXml& nodo, const char* local) {
    static const NodoXml kVacio;
    const NodoXml* hijo = nodo.Hijo(local);
    return hijo ? *hijo : kVacio;
}

// "002" and "0.160000" → "IVA 16%".
std::string NombreImpuesto(const NodoXml& traslado) {
    static const std::map<std::string, std::string> kImpuestos{{"001", "ISR"}, {"002", "IVA"}, {"003", "IEPS"}};
    const auto nombre = kImpuestos.find(traslado.Atributo("Impuesto"));
    std::string texto = nombre == kImpuestos.end() ? traslado.Atributo("Impuesto") : nombre->second;
    if (traslado.Atributo("TipoFactor") == "Exento") return texto + " exento";
    if (traslado.TieneAtributo("TasaOCuota")) {
        QString tasa =
            QString::number(QString::fromStdString(traslado.Atributo("TasaOCuota")).toDouble() * 100, 'f', 4);
        while (tasa.endsWith('0')) tasa.chop(1);
        if (tasa.endsWith('.')) tasa.chop(1);
        texto += " " + tasa.toStdString() + "%";
    }
    return texto;
}

std::string Periodo(const NodoXml& global) {
    static const std::map<std::string, std::string> kPeriodicidades{
        {"01", "Diaria"}, {"02", "Semanal"}, {"03", "Quincenal"}, {"04", "Mensual"}, {"05", "Bimestral"}};
    const auto nombre = kPeriodicidades.find(global.Atributo("Periodicidad"));
    return (nombre == kPeriodicidades.end() ? global.Atributo("Periodicidad") : nombre->second) + " " +
           global.Atributo("Meses") + "/" + global.Atributo("Año");
}

void Timbre(const NodoXml& timbre, RepresentacionCfdi& r) {
    r.timbrado = true;
    r.uuid = timbre.Atributo("UUID");
    r.fechaTimbrado = timbre.Atributo("FechaTimbrado");
    r.rfcProvCertif = timbre.Atributo("RfcProvCertif");
    r.noCertificadoSat = timbre.Atributo("NoCertificadoSAT");
    r.selloSat = timbre.Atributo("SelloSAT");
    r.cadenaTimbre = CadenaOriginalTimbre(timbre);
}

}  // namespace

std::string RepresentacionCfdi::UrlVerificacion() const {
    const auto parametro = [](const std::string& valor) {
        return QUrl::toPercentEncoding(QString::fromStdString(valor)).toStdString();
    };
    return "https://verificacfdi.facturaelectronica.sat.gob.mx/default.aspx?id=" + parametro(uuid) +
           "&re=" + parametro(emisorRfc) + "&rr=" + parametro(receptorRfc) + "&tt=" + parametro(total.ToString()) +
           "&fe=" + parametro(sello.size() > 8 ? sello.substr(sello.size() - 8) : sello);
}

RepresentacionCfdi RepresentacionDe(const std::string& xml) {
    const NodoXml cfdi = LeeXml(xml);
    RepresentacionCfdi r;
    r.fecha = cfdi.Atributo("Fecha");
    const NodoXml &emisor = Hijo(cfdi, "Emisor"), &receptor = Hijo(cfdi, "Receptor");
    r.emisorRfc = emisor.Atributo("Rfc");
    r.emisorNombre = emisor.Atributo("Nombre");
    r.emisorRegimen = emisor.Atributo("RegimenFiscal");
    r.lugarExpedicion = cfdi.Atributo("LugarExpedicion");
    r.receptorRfc = receptor.Atributo("Rfc");
    r.receptorNombre = receptor.Atributo("Nombre");
    r.receptorRegimen = receptor.Atributo("RegimenFiscalReceptor");
    r.receptorDomicilio = receptor.Atributo("DomicilioFiscalReceptor");
    r.usoCfdi = receptor.Atributo("UsoCFDI");
    r.formaPago = cfdi.Atributo("FormaPago");
    r.metodoPago = cfdi.Atributo("MetodoPago");
    r.moneda = cfdi.Atributo("Moneda");
    if (const NodoXml* global = cfdi.Hijo("InformacionGlobal")) r.periodo = Periodo(*global);
    r.subtotal = Importe(cfdi, "SubTotal");
    r.descuento = Importe(cfdi, "Descuento");
    r.total = Importe(cfdi, "Total");
    for (const NodoXml& concepto : Hijo(cfdi, "Conceptos").hijos)
        r.conceptos.push_back({concepto.Atributo("ClaveProdServ"), concepto.Atributo("ClaveUnidad"),
                               concepto.Atributo("ObjetoImp"), Importe(concepto, "ValorUnitario"),
                               Importe(concepto, "Importe"), concepto.Atributo("NoIdentificacion"),
                               concepto.Atributo("Descripcion"), std::atof(concepto.Atributo("Cantidad").c_str())});
    for (const NodoXml& traslado : Hijo(Hijo(cfdi, "Impuestos"), "Traslados").hijos)
        r.impuestos.push_back({NombreImpuesto(traslado), Importe(traslado, "Base"), Importe(traslado, "Importe"),
                               traslado.Atributo("TipoFactor") == "Exento"});
    r.noCertificado = cfdi.Atributo("NoCertificado");
    r.sello = cfdi.Atributo("Sello");
    if (const NodoXml* timbre = Hijo(cfdi, "Complemento").Hijo("TimbreFiscalDigital")) Timbre(*timbre, r);
    return r;
}

std::optional<RepresentacionCfdi> LeeRepresentacionCfdi(kx204::host::Connection& conexion, const std::string& folio) {
    const auto xml =
        PrimerValor(conexion, "SELECT Cd_Xml FROM Comprobante_Digital WHERE Cd_Tabla = 'Factura' AND Cd_Documento = " +
                                  LiteralTexto(folio));
    if (!xml || xml->ToTextOrEmpty().empty()) return std::nullopt;
    return RepresentacionDe(xml->ToTextOrEmpty());
}

std::string ConDescripcion(const std::string& codigo) {
    static const std::map<std::string, std::string> kCatalogo{
        {"601", "General de Ley Personas Morales"},
        {"603", "Personas Morales con Fines no Lucrativos"},
        {"605", "Sueldos y Salarios"},
        {"612", "Personas Físicas con Actividades Empresariales y Profesionales"},
        {"616", "Sin obligaciones fiscales"},
        {"626", "Régimen Simplificado de Confianza"},
        {"G01", "Adquisición de mercancías"},
        {"G03", "Gastos en general"},
        {"S01", "Sin efectos fiscales"},
        {"PUE", "Pago en una sola exhibición"},
        {"PPD", "Pago en parcialidades o diferido"},
        {"01", "Efectivo"},
        {"02", "Cheque nominativo"},
        {"03", "Transferencia electrónica de fondos"},
        {"04", "Tarjeta de crédito"},
        {"28", "Tarjeta de débito"},
        {"99", "Por definir"}};
    const auto descripcion = kCatalogo.find(codigo);
    return descripcion == kCatalogo.end() ? codigo : codigo + " " + descripcion->second;
}

}  // namespace qivera
