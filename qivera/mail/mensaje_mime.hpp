#pragma once
#include <string>
#include <vector>

namespace qivera {

struct Adjunto {
    std::string nombre;  // the file name the recipient sees, ASCII
    std::string tipo;    // its MIME type
    std::string contenido;
};

struct MensajeCorreo {
    std::string remitente;
    std::vector<std::string> destinatarios;
    std::string asunto;  // UTF-8
    std::string cuerpo;  // UTF-8 plain text, lines ended by CRLF
    std::vector<Adjunto> adjuntos;
};

// The message as an RFC 5322 text with CRLF line ends, dated now and with a fresh Message-ID:
// a MIME multipart/mixed of the text body and the attachments, all in base64, the subject
// as UTF-8 encoded words.
std::string ComponeEml(const MensajeCorreo& mensaje);

// Whether `texto` is one plain address (local@domain) that can stand in a header and an SMTP
// command: no spaces, controls, quotes, brackets or separators.
bool EsDireccionCorreo(const std::string& texto);

}  // namespace qivera
