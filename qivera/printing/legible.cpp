#include "qivera/printing/legible.hpp"

#include "kx204/host/date.hpp"
#include "kx204/host/runtime_error.hpp"

namespace qivera {

using kx204::host::Currency;

namespace {

bool Digito(char c) { return c >= '0' && c <= '9'; }

}  // namespace

// The ends of the range round towards zero, so it never overflows.
Currency AlCentavo(Currency importe) {
    constexpr std::int64_t kCentavo = Currency::kScale / 100;
    const std::int64_t escalado = importe.Scaled(), resto = escalado % kCentavo, base = escalado - resto;
    if (resto >= kCentavo / 2) return Currency::FromScaled(base + kCentavo);
    if (resto <= -kCentavo / 2) return Currency::FromScaled(base - kCentavo);
    return Currency::FromScaled(base);
}

QString DineroLegible(Currency importe) {
    std::string texto = AlCentavo(importe).ToDisplay();  // "$1,234.5700": the last two digits are zeros
    texto.resize(texto.size() - 2);
    return QString::fromStdString(texto);
}

QString ImporteLegible(Currency importe) { return DineroLegible(importe).remove('$'); }

std::optional<QString> FechaLegible(const std::string& fecha) {
    // YYYY-MM-DD, alone or at midnight: a list repaints many of these, so no regular expression.
    const bool medianoche = fecha.size() == 19 && fecha.compare(10, 9, " 00:00:00") == 0;
    if (fecha.size() != 10 && !medianoche) return std::nullopt;
    for (std::size_t i = 0; i < 10; ++i)
        if ((i == 4 || i == 7) ? fecha[i] != '-' : !Digito(fecha[i])) return std::nullopt;
    const auto dia = kx204::host::Date::Parse(fecha.substr(0, 10));
    if (!dia) return std::nullopt;
    return QString::fromStdString(dia->ToDdMmYyyy()).replace('-', '/');
}

std::optional<Currency> ImporteEnTexto(const std::string& texto) {
    // -?digits(.digits)?, at most 15 whole digits and 4 decimals.
    const std::size_t inicio = !texto.empty() && texto[0] == '-' ? 1 : 0;
    const std::size_t punto = texto.find('.', inicio);
    const std::size_t enteros = (punto == std::string::npos ? texto.size() : punto) - inicio;
    const std::size_t decimales = punto == std::string::npos ? 0 : texto.size() - punto - 1;
    if (enteros == 0 || enteros > 15 || (punto != std::string::npos && (decimales == 0 || decimales > 4)))
        return std::nullopt;
    for (std::size_t i = inicio; i < texto.size(); ++i)
        if (i != punto && !Digito(texto[i])) return std::nullopt;
    return Currency::Parse(texto);
}

}  // namespace qivera
