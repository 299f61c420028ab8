#include "qivera/signing/firma_documentos.hpp"
#include "kx204/host/transaction.hpp"

#include <QTime>
#include <fstream>

#include "kx204/host/runtime_error.hpp"
#include "qivera/printing/cadena_original.hpp"
#include "qivera/printing/carpetas.hpp"
#include "qivera/printing/factura_guardada.hpp"
#include "qivera/services/interfaz.hpp"
#include "qivera/services/listas.hpp"
#include "qivera/services/servicios.hpp"
#include "qivera/signing/cfdi.hpp"
#include "qivera/signing/credenciales.hpp"
#include "qivera/signing/csd.hpp"
#include "qivera/signing/timbrado.hpp"

namespace qivera {

using kx204::host::Date;
using kx204::host::RuntimeError;
using kx204::host::SqlText;

namespace {

constexpr long kErrorFirma = 5;  // VB's "Invalid procedure call or argument"
constexpr const char* kTipoFactura = "1";

[[noreturn]] void Rechaza(const std::string& motivo) { throw RuntimeError(kErrorFirma, motivo); }

std::string Variable(Sesion& sesion, const char* nombre, const char* que) {
    std::string valor = ValorVariable(sesion.conexion, nombre);
    if (valor.empty()) Rechaza(std::string("No hay ") + que + " para firmar (variable " + nombre + ")");
    return valor;
}

// The CSD the variables name: the .key and .cer files and the file holding the key's password.
Csd CsdConfigurado(Sesion& sesion) {
    const std::string llave = Variable(sesion, "CFDI_CSD_LLAVE", "llave privada del CSD");
    const std::string certificado = Variable(sesion, "CFDI_CSD_CERTIFICADO", "certificado del CSD");
    const std::string archivoClave = Variable(sesion, "CFDI_CSD_CONTRASENA", "contraseña de la llave del CSD");
    std::ifstream entrada(archivoClave);
    std::string contrasena;
    if (!entrada || !std::getline(entrada, contrasena))
        Rechaza("No se pudo leer la contraseña de la llave del CSD (archivo " + archivoClave +
                ", variable CFDI_CSD_CONTRASENA)");
    if (!contrasena.empty() && contrasena.back() == '\r') contrasena.pop_back();
    return LeeCsd(llave, certificado, contrasena);
}

// A Comprobante_Digital row of an invoice.
struct Comprobante {
    std::string folio, fecha, uuid, cadenaOriginal, sello, certificado, archivo, xml, noCertificado;
    bool timbrado = false;
};

// The row before the file, so that a signature stored meanwhile by another clerk stops this one
// before its file is overwritten, and before the stamp, so that nothing is stamped that cannot be
// kept; the file before the commit, so that no row is left without its file.
void Guarda(kx204::host::Connection& conexion, Comprobante comprobante, const std::string& comandoTimbrado) {
    kx204::host::Transaction transaccion(conexion, kx204::host::Transaction::Mode::JoinOrBegin);
    InsertaFila(conexion, "Comprobante_Digital",
                {{"Cd_Tabla", "'Factura'"},
                 {"Cd_Documento", LiteralTexto(comprobante.folio)},
                 {"Cd_Fecha", LiteralTexto(comprobante.fecha)},
                 {"Cd_Cadena_Original", LiteralTexto(comprobante.cadenaOriginal)},
                 {"Cd_Sello", LiteralTexto(comprobante.sello)},
                 {"Cd_Certificado", LiteralTexto(comprobante.certificado)},
                 {"Cd_No_Certificado", LiteralTexto(comprobante.noCertificado)},
                 {"Cd_Archivo", LiteralTexto(comprobante.archivo)}});
    if (!comandoTimbrado.empty()) {
        comprobante.xml = Timbra(comandoTimbrado, comprobante.xml);
        comprobante.uuid = UuidDelTimbre(comprobante.xml, comprobante.sello);
        comprobante.timbrado = true;
    }
    conexion.Execute("UPDATE Comprobante_Digital SET " +
                     Asignaciones({{"Cd_Uuid", LiteralTexto(comprobante.uuid)},
                                   {"Cd_Xml", LiteralTexto(comprobante.xml)},
                                   {"Cd_Timbrado", comprobante.timbrado ? "1" : "0"}}) +
                     " WHERE Cd_Tabla = 'Factura' AND Cd_Documento = " + LiteralTexto(comprobante.folio));
    GuardaArchivo(comprobante.archivo, comprobante.xml);
    transaccion.Commit();
}

// The server's date at this moment's time of day.
Date MomentoFirma(Sesion& sesion) {
    const Date dia = InterfazQivera(sesion).FechaServidor();
    const QTime hora = QTime::currentTime();
    return Date::FromYmd(dia.Year(), dia.Month(), dia.Day(), hora.hour(), hora.minute(), hora.second());
}

}  // namespace

std::string FirmaDocumentos::Firma(const std::string& documento) {
    try {
        FirmaFactura(FolioDe(documento));
        return {};
    } catch (const RuntimeError& error) {
        return error.description;
    }
}

std::string FirmaDocumentos::FolioDe(const std::string& documento) const {
    const std::size_t primera = documento.find('|');
    const std::size_t segunda = primera == std::string::npos ? primera : documento.find('|', primera + 1);
    if (segunda == std::string::npos) Rechaza("Clave de documento no válida: " + documento);
    const std::string base = documento.substr(0, primera);
    if (base != sesion_.conexion.DefaultDatabase())
        Rechaza("El documento es de la base de datos " + base + ", no de " + sesion_.conexion.DefaultDatabase());
    if (documento.substr(primera + 1, segunda - primera - 1) != kTipoFactura)
        Rechaza("Tipo de documento no admitido: " + documento);
    return documento.substr(segunda + 1);
}

bool FirmaDocumentos::EstaFirmada(const std::string& folio) const {
    return PrimerValor(sesion_.conexion,
                       "SELECT Cd_Documento FROM Comprobante_Digital WHERE Cd_Tabla = 'Factura' AND Cd_Documento = '" +
                           SqlText(folio) + "'")
        .has_value();
}

void FirmaDocumentos::FirmaFactura(const std::string& folio) {
    if (EstaFirmada(folio)) Rechaza("La factura " + folio + " ya está firmada");
    const std::optional<FacturaGuardada> factura = LeeFactura(sesion_.conexion, folio);
    if (!factura) Rechaza("No existe la factura " + folio);
    const Csd csd = CsdConfigurado(sesion_);
    const Date momento = MomentoFirma(sesion_);
    ExigeVigenciaCsd(csd, momento);
    NodoXml cfdi = ComprobanteCfdi(*factura, LeeDatosCfdi(sesion_.conexion, *factura), momento, csd.noCertificado,
                                   csd.certificadoBase64);
    Comprobante c;
    c.folio = folio;
    c.fecha = momento.ToIsoDateTime();
    c.cadenaOriginal = CadenaOriginal(cfdi);
    c.certificado = csd.certificadoBase64;
    c.noCertificado = csd.noCertificado;
    c.archivo = RutaDocumento(CarpetaDocumentos(sesion_.conexion, "FAC_FIRMA_DIRECTORIO", "comprobantes"),
                              factura->factura.empty() ? folio : factura->factura, "xml");
    c.sello = Base64(FirmaRsaSha256(csd.llave.get(), c.cadenaOriginal));
    cfdi.Pon("Sello", c.sello);
    c.xml = EscribeXml(cfdi);
    Guarda(sesion_.conexion, c, ValorVariable(sesion_.conexion, "CFDI_TIMBRADO_COMANDO"));
    if (sesion_.registra) sesion_.registra("sign", folio, c.archivo);
}

}  // namespace qivera
