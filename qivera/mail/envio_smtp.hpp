#pragma once
#include <string>
#include <vector>

namespace qivera {

// Sends the message `eml` through the SMTP server of `url` (smtp://host:port, or smtps:// for
// TLS from the start; STARTTLS is used when the server offers it) from `remitente` to each of
// `destinatarios`. Answers "" when the server accepted it, otherwise libcurl's reason.
std::string EnviaSmtp(const std::string& url, const std::string& remitente,
                      const std::vector<std::string>& destinatarios, const std::string& eml);

}  // namespace qivera
