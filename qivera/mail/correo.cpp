#include "qivera/mail/correo.hpp"

#include <QFile>
#include <QFileInfo>

#include "kx204/host/runtime_error.hpp"
#include "kx204/host/texto.hpp"
#include "qivera/mail/envio_smtp.hpp"
#include "qivera/mail/mensaje_mime.hpp"
#include "qivera/printing/carpetas.hpp"
#include "qivera/printing/factura_guardada.hpp"
#include "qivera/printing/impresor.hpp"
#include "qivera/services/listas.hpp"
#include "qivera/services/servicios.hpp"

namespace qivera {

using kx204::host::SqlText;

namespace {

constexpr long kErrorCorreo = 5;  // VB's "Invalid procedure call or argument"
constexpr const char* kRemitenteOmision = "facturacion@localhost";

[[noreturn]] void Rechaza(const std::string& motivo) { throw kx204::host::RuntimeError(kErrorCorreo, motivo); }

std::string Recorta(const std::string& texto) {
    const std::size_t inicio = texto.find_first_not_of(' ');
    return inicio == std::string::npos ? std::string() : texto.substr(inicio, texto.find_last_not_of(' ') - inicio + 1);
}

std::vector<std::string> Destinatarios(const FacturaGuardada& factura) {
    std::vector<std::string> direcciones;
    std::string resto = factura.clienteEmail;
    for (char& c : resto)
        if (c == ',') c = ';';
    for (std::size_t inicio = 0; inicio <= resto.size();) {
        const std::size_t fin = std::min(resto.find(';', inicio), resto.size());
        const std::string direccion = Recorta(resto.substr(inicio, fin - inicio));
        if (!direccion.empty() && !EsDireccionCorreo(direccion))
            Rechaza("El correo del cliente " + factura.cliente + " no es válido: " + direccion);
        if (!direccion.empty()) direcciones.push_back(direccion);
        inicio = fin + 1;
    }
    if (direcciones.empty()) Rechaza("El cliente " + factura.cliente + " no tiene correo electrónico");
    return direcciones;
}

std::string Remitente(Sesion& sesion) {
    const std::string remitente = ValorVariable(sesion.conexion, "CORREO_REMITENTE");
    if (remitente.empty()) return kRemitenteOmision;
    if (!EsDireccionCorreo(remitente)) Rechaza("El remitente configurado no es válido: " + remitente);
    return remitente;
}

std::string XmlFirmado(Sesion& sesion, const std::string& folio) {
    const auto xml = PrimerValor(sesion.conexion,
                                 "SELECT Cd_Xml FROM Comprobante_Digital WHERE Cd_Tabla = 'Factura' AND "
                                 "Cd_Documento = '" +
                                     SqlText(folio) + "'");
    if (!xml) Rechaza("La factura " + folio + " no está firmada");
    return xml->ToTextOrEmpty();
}

// The invoice's PDF, printed first when it is not there yet.
std::string Pdf(Sesion& sesion, const std::string& folio) {
    const std::string ruta = RutaImpresion(sesion, folio);
    if (!QFileInfo::exists(QString::fromStdString(ruta)))
        ImpresorQivera(sesion).ImprimeDocumento("", folio, "", 0, 0, "");
    QFile archivo(QString::fromStdString(ruta));
    if (!archivo.open(QIODevice::ReadOnly))
        Rechaza("No se pudo leer " + ruta + ": " + archivo.errorString().toStdString());
    return archivo.readAll().toStdString();
}

std::string Cuerpo(const FacturaGuardada& f) {
    return "Estimado cliente:\r\n\r\nLe enviamos la factura " + f.factura + " (folio " + f.folio + ") del " +
           f.fecha.ToDdMmYyyy() + ", por un total de " + f.total.ToDisplay() + " " + f.moneda +
           ".\r\nAdjuntamos su representación impresa (PDF) y su comprobante digital (XML).\r\n\r\nAtentamente,\r\n" +
           (f.sucursalNombre.empty() ? f.sucursal : f.sucursalNombre) + "\r\n";
}

}  // namespace

bool CorreoQivera::EnviaDocumento(const std::string& tabla, const std::string& folio, int, int, int,
                                  const std::string&) {
    try {
        Envia(tabla, folio);
        error_.clear();
        return true;
    } catch (const kx204::host::RuntimeError& error) {
        error_ = error.description;
        return false;
    }
}

void CorreoQivera::Envia(const std::string& tabla, const std::string& folio) {
    if (kx204::host::Mayusculas(tabla) != "FACTURA") Rechaza("No se envían por correo documentos de " + tabla);
    const std::optional<FacturaGuardada> factura = LeeFactura(sesion_.conexion, folio, Alcance::Encabezado);
    if (!factura) Rechaza("No existe la factura " + folio);
    const std::string xml = XmlFirmado(sesion_, folio);
    // The customer files them by the invoice's series and number.
    const std::string nombre = factura->factura.empty() ? folio : factura->factura;
    const MensajeCorreo mensaje{.remitente = Remitente(sesion_),
                                .destinatarios = Destinatarios(*factura),
                                .asunto = "Factura electrónica " + factura->factura,
                                .cuerpo = Cuerpo(*factura),
                                .adjuntos = {{NombreDocumento(nombre, "pdf"), "application/pdf", Pdf(sesion_, folio)},
                                             {NombreDocumento(nombre, "xml"), "application/xml", xml}}};
    const std::string eml = ComponeEml(mensaje);
    const std::string ruta =
        RutaDocumento(CarpetaDocumentos(sesion_.conexion, "CORREO_BANDEJA", "bandeja"), folio, "eml");
    GuardaArchivo(ruta, eml);
    const std::string url = ServidorCorreo(sesion_);
    const std::string falla = url.empty() ? "" : EnviaSmtp(url, mensaje.remitente, mensaje.destinatarios, eml);
    if (!falla.empty()) Rechaza("No se pudo enviar el correo de la factura " + folio + ": " + falla);
    if (sesion_.registra) sesion_.registra("mail", folio, ruta);
}

std::string ServidorCorreo(Sesion& sesion) { return ValorVariable(sesion.conexion, "CORREO_SMTP_URL"); }

}  // namespace qivera
