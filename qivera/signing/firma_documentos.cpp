#include "qivera/signing/firma_documentos.hpp"
#include "kx204/host/transaction.hpp"

#include <QByteArray>
#include <QTime>
#include <QUuid>

#include "kx204/host/runtime_error.hpp"
#include "qivera/printing/carpetas.hpp"
#include "qivera/printing/factura_guardada.hpp"
#include "qivera/services/interfaz.hpp"
#include "qivera/services/listas.hpp"
#include "qivera/services/servicios.hpp"
#include "qivera/signing/comprobante_xml.hpp"
#include "qivera/signing/credenciales.hpp"

namespace qivera {

using kx204::host::Date;
using kx204::host::RuntimeError;
using kx204::host::SqlText;

namespace {

constexpr long kErrorFirma = 5;  // VB's "Invalid procedure call or argument"
constexpr const char* kTipoFactura = "1";

[[noreturn]] void Rechaza(const std::string& motivo) { throw RuntimeError(kErrorFirma, motivo); }

std::string Base64(const std::string& bytes) { return QByteArray::fromStdString(bytes).toBase64().toStdString(); }

std::string Variable(Sesion& sesion, const char* nombre, const char* que) {
    std::string valor = ValorVariable(sesion.conexion, nombre);
    if (valor.empty()) Rechaza(std::string("No hay ") + que + " para firmar (variable " + nombre + ")");
    return valor;
}

// A Comprobante_Digital row of an invoice.
struct Comprobante {
    std::string folio, fecha, uuid, cadenaOriginal, sello, certificado, archivo;
};

std::string Insercion(const Comprobante& c) {
    std::string sql =
        "INSERT INTO Comprobante_Digital (Cd_Tabla, Cd_Documento, Cd_Fecha, Cd_Uuid, Cd_Cadena_Original, Cd_Sello, "
        "Cd_Certificado, Cd_Archivo) VALUES ('Factura'";
    for (const std::string* valor :
         {&c.folio, &c.fecha, &c.uuid, &c.cadenaOriginal, &c.sello, &c.certificado, &c.archivo})
        sql += ", '" + SqlText(*valor) + "'";
    return sql + ")";
}

// The row before the file, so that a signature stored meanwhile by another clerk stops this
// one before its file is overwritten; the file before the commit, so that no row is left
// without its file.
void Guarda(kx204::host::Connection& conexion, const Comprobante& comprobante) {
    kx204::host::Transaction transaccion(conexion, kx204::host::Transaction::Mode::JoinOrBegin);
    conexion.Execute(Insercion(comprobante));
    GuardaArchivo(comprobante.archivo, comprobante.cadenaOriginal);
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
    const Credenciales credenciales = LeeCredenciales(Variable(sesion_, "FAC_FIRMA_LLAVE", "llave privada"),
                                                      Variable(sesion_, "FAC_FIRMA_CERTIFICADO", "certificado"));
    const Date momento = MomentoFirma(sesion_);
    ExigeVigencia(credenciales.certificado.get(), momento);
    const std::string xml = ComprobanteXml(*factura, sesion_.conexion.DefaultDatabase());
    const Comprobante c{
        .folio = folio,
        .fecha = momento.ToIsoDateTime(),
        .uuid = QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString(),
        .cadenaOriginal = xml,
        .sello = Base64(FirmaRsaSha256(credenciales.llave.get(), xml)),
        .certificado = Base64(CertificadoDer(credenciales.certificado.get())),
        .archivo = RutaDocumento(CarpetaDocumentos(sesion_, "FAC_FIRMA_DIRECTORIO", "comprobantes"), folio, "xml")};
    Guarda(sesion_.conexion, c);
    if (sesion_.registra) sesion_.registra("sign", folio, c.archivo);
}

}  // namespace qivera
