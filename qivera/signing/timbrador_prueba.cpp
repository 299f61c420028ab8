#include "qivera/signing/timbrador_prueba.hpp"

#include <QUuid>

#include "kx204/host/runtime_error.hpp"
#include "qivera/cfdi/cadena_original.hpp"
#include "qivera/cfdi/sustitucion.hpp"
#include "qivera/signing/cfdi.hpp"
#include "qivera/signing/credenciales_demo.hpp"
#include "qivera/signing/csd.hpp"
#include "qivera/signing/libro_pac_prueba.hpp"

namespace qivera {

namespace {

constexpr std::uint64_t kSemillaPac = 0x5041432D50525545ULL;  // "PAC-PRUE"
constexpr const char* kEspacioTimbre = "http://www.sat.gob.mx/TimbreFiscalDigital";

[[noreturn]] void Rechaza(const std::string& motivo) {
    throw kx204::host::RuntimeError(5, "CFDI rechazado: " + motivo);
}

// What a provider checks before it stamps.
void Revisa(const NodoXml& comprobante) {
    if (comprobante.Local() != "Comprobante" || comprobante.Atributo("xmlns:cfdi") != kEspacioCfdi)
        Rechaza("no es un comprobante del espacio " + std::string(kEspacioCfdi));
    if (comprobante.Atributo("Version") != "4.0") Rechaza("la versión no es 4.0");
    if (comprobante.Hijo("Complemento") && comprobante.Hijo("Complemento")->Hijo("TimbreFiscalDigital"))
        Rechaza("ya está timbrado");
    const Certificado certificado = CertificadoDeDer(DeBase64(comprobante.Atributo("Certificado")));
    if (!certificado) Rechaza("el certificado no es válido");
    if (NoCertificado(certificado.get()) != comprobante.Atributo("NoCertificado"))
        Rechaza("el número de certificado no es el del certificado");
    if (!VerificaRsaSha256(certificado.get(), CadenaOriginal(comprobante), DeBase64(comprobante.Atributo("Sello"))))
        Rechaza("el sello no corresponde a la cadena original");
}

// The same seal, the same UUID.
std::string UuidDelSello(const std::string& sello) {
    static const QUuid kEspacio = QUuid::fromString(QStringLiteral("{6f1c2a5e-0c1d-4c4b-9a57-5041432d5052}"));
    return QUuid::createUuidV5(kEspacio, QByteArray::fromStdString(sello))
        .toString(QUuid::WithoutBraces)
        .toUpper()
        .toStdString();
}

// The UUIDs the CFDI replaces, comma-separated as the ledger keeps them.
std::string Sustituidos(const NodoXml& comprobante) {
    std::string uuids;
    for (const std::string& uuid : UuidsSustituidos(comprobante)) uuids += (uuids.empty() ? "" : ",") + uuid;
    return uuids;
}

// Reason 01 names a replacement this provider stamped relating to the cancelled CFDI.
bool SustituyeA(const std::vector<AsientoPac>& asientos, const std::string& sustituto, const std::string& uuid) {
    for (const AsientoPac& asiento : asientos)
        if (asiento.evento == "timbrado" && asiento.uuid == sustituto &&
            ("," + asiento.relacion + ",").find("," + uuid + ",") != std::string::npos)
            return true;
    return false;
}

std::string Fecha(const kx204::host::Date& ahora) {
    std::string fecha = ahora.ToIsoDateTime();
    fecha[10] = 'T';
    return fecha;
}

}  // namespace

Credenciales CredencialesPacPrueba() {
    const CredencialesPem pem = GeneraCredencialesDemo("PAC de prueba", kx204::host::Date::FromYmd(2025, 1, 1),
                                                       kx204::host::Date::FromYmd(2040, 1, 1), kSemillaPac);
    return LeeCredenciales(pem.llave, pem.certificado);
}

std::string TimbraPrueba(const std::string& xmlSellado, const kx204::host::Date& ahora, const std::string& libro) {
    NodoXml comprobante = LeeXml(xmlSellado);
    Revisa(comprobante);
    const std::string uuid = UuidDelSello(comprobante.Atributo("Sello"));
    const std::string documento = comprobante.Atributo("Serie") + comprobante.Atributo("Folio");
    std::string fecha = Fecha(ahora);
    const std::string relacion = Sustituidos(comprobante);
    if (!libro.empty())
        LibroPacPrueba(libro).Modifica([&](const std::vector<AsientoPac>& asientos) {
            for (const AsientoPac& asiento : asientos)
                if (asiento.evento == "timbrado" && asiento.uuid == uuid) {
                    fecha = asiento.fechaTimbrado;
                    return std::vector<AsientoPac>{{"repetido", uuid, fecha, documento, "", relacion}};
                }
            return std::vector<AsientoPac>{{"timbrado", uuid, fecha, documento, "", relacion}};
        });
    NodoXml timbre{"tfd:TimbreFiscalDigital",
                   {{"xmlns:tfd", kEspacioTimbre},
                    {"xsi:schemaLocation",
                     std::string(kEspacioTimbre) +
                         " http://www.sat.gob.mx/sitio_internet/cfd/TimbreFiscalDigital/TimbreFiscalDigitalv11.xsd"},
                    {"Version", "1.1"},
                    {"UUID", uuid},
                    {"FechaTimbrado", fecha},
                    {"RfcProvCertif", kRfcPacPrueba},
                    {"SelloCFD", comprobante.Atributo("Sello")},
                    {"NoCertificadoSAT", kNoCertificadoPacPrueba}},
                   {}};
    timbre.Pon("SelloSAT", Base64(FirmaRsaSha256(CredencialesPacPrueba().llave.get(), CadenaOriginalTimbre(timbre))));
    comprobante.hijos.push_back(NodoXml{"cfdi:Complemento", {}, {timbre}});
    return EscribeXml(comprobante);
}

std::string CancelaPrueba(const std::string& uuid, const std::string& motivo, const std::string& sustituto,
                          const std::string& pedida, const std::string& libro) {
    if (libro.empty()) return pedida;
    std::string respuesta = pedida;
    LibroPacPrueba(libro).Modifica([&](const std::vector<AsientoPac>& asientos) {
        bool timbrado = false;
        std::string documento;
        for (const AsientoPac& asiento : asientos) {
            if (asiento.uuid != uuid) continue;
            timbrado |= asiento.evento == "timbrado";
            documento = asiento.documento;
            if (asiento.evento == "cancelado") respuesta = "cancelado";
        }
        if (!timbrado || (motivo == "01" && !SustituyeA(asientos, sustituto, uuid))) respuesta = "rechazado";
        return std::vector<AsientoPac>{{respuesta, uuid, "", documento, motivo, sustituto}};
    });
    return respuesta;
}

}  // namespace qivera
