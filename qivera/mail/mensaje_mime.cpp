#include "qivera/mail/mensaje_mime.hpp"

#include <algorithm>
#include <string_view>

#include <QByteArray>
#include <QDateTime>
#include <QUuid>

namespace qivera {

namespace {

constexpr const char* kFinLinea = "\r\n";
constexpr std::size_t kAnchoBase64 = 76;      // the longest line MIME allows for base64
constexpr std::size_t kBytesPorPalabra = 45;  // 60 base64 characters: an encoded word under 75

std::string Base64(const std::string& bytes) { return QByteArray::fromStdString(bytes).toBase64().toStdString(); }

std::string Base64EnLineas(const std::string& bytes) {
    const std::string codificado = Base64(bytes);
    std::string texto;
    for (std::size_t i = 0; i < codificado.size(); i += kAnchoBase64)
        texto += codificado.substr(i, kAnchoBase64) + kFinLinea;
    return texto;
}

bool EsContinuacionUtf8(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// RFC 2047 encoded words, each cut at a character boundary, folded onto lines of their own.
std::string AsuntoCodificado(const std::string& asunto) {
    std::string texto;
    for (std::size_t inicio = 0; inicio < asunto.size();) {
        std::size_t fin = std::min(inicio + kBytesPorPalabra, asunto.size());
        while (fin < asunto.size() && fin > inicio + 1 && EsContinuacionUtf8(asunto[fin])) --fin;
        if (!texto.empty()) texto += std::string(kFinLinea) + " ";
        texto += "=?UTF-8?B?" + Base64(asunto.substr(inicio, fin - inicio)) + "?=";
        inicio = fin;
    }
    return texto;
}

std::string Lista(const std::vector<std::string>& direcciones) {
    std::string texto;
    for (const std::string& direccion : direcciones) texto += (texto.empty() ? "" : ", ") + direccion;
    return texto;
}

std::string Parte(const std::string& frontera, const std::string& encabezados, const std::string& contenido) {
    return "--" + frontera + kFinLinea + encabezados + "Content-Transfer-Encoding: base64" + kFinLinea + kFinLinea +
           Base64EnLineas(contenido);
}

}  // namespace

std::string ComponeEml(const MensajeCorreo& mensaje) {
    const std::string uuid = QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString();
    // Base64 text never holds '_', so the boundary cannot occur inside a part.
    const std::string frontera = "=_qivera_" + uuid;
    std::string eml;
    const auto encabezado = [&eml](const std::string& nombre, const std::string& valor) {
        eml += nombre + ": " + valor + kFinLinea;
    };
    encabezado("From", mensaje.remitente);
    encabezado("To", Lista(mensaje.destinatarios));
    encabezado("Subject", AsuntoCodificado(mensaje.asunto));
    encabezado("Date", QDateTime::currentDateTime().toString(Qt::RFC2822Date).toStdString());
    encabezado("Message-ID", "<" + uuid + "@qivera>");
    encabezado("MIME-Version", "1.0");
    encabezado("Content-Type", "multipart/mixed;" + std::string(kFinLinea) + " boundary=\"" + frontera + "\"");
    eml += kFinLinea;
    eml += Parte(frontera, std::string("Content-Type: text/plain; charset=UTF-8") + kFinLinea, mensaje.cuerpo);
    for (const Adjunto& adjunto : mensaje.adjuntos)
        eml += Parte(frontera,
                     "Content-Type: " + adjunto.tipo + "; name=\"" + adjunto.nombre + "\"" + kFinLinea +
                         "Content-Disposition: attachment; filename=\"" + adjunto.nombre + "\"" + kFinLinea,
                     adjunto.contenido);
    return eml + "--" + frontera + "--" + kFinLinea;
}

bool EsDireccionCorreo(const std::string& texto) {
    const std::size_t arroba = texto.find('@');
    if (arroba == 0 || arroba == std::string::npos || arroba + 1 == texto.size() ||
        texto.find('@', arroba + 1) != std::string::npos)
        return false;
    for (const char c : texto) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7F || std::string_view("<>()[]\\,;:\"").find(c) != std::string_view::npos)
            return false;
    }
    return true;
}

}  // namespace qivera
