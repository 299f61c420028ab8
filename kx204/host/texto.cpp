#include "kx204/host/texto.hpp"

#include <algorithm>
#include <cctype>

namespace kx204::host {

namespace {

bool EsContinuacion(unsigned char c) { return (c & 0xC0) == 0x80; }

bool CoincideSinMayusculas(const std::string& text, std::size_t desde, const std::string& buscado) {
    if (text.size() - desde < buscado.size()) return false;
    for (std::size_t i = 0; i < buscado.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[desde + i])) !=
            std::tolower(static_cast<unsigned char>(buscado[i])))
            return false;
    return true;
}

}  // namespace

std::size_t CuentaCaracteres(const std::string& text) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return !EsContinuacion(static_cast<unsigned char>(c)); }));
}

std::string PrimerosCaracteres(const std::string& text, std::size_t count) {
    std::size_t seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!EsContinuacion(static_cast<unsigned char>(text[i])) && seen++ == count) return text.substr(0, i);
    }
    return text;
}

std::string SinControles(const std::string& text) {
    std::string limpio;
    limpio.reserve(text.size());
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) limpio += c;
    return limpio;
}

std::string Mayusculas(const std::string& text) {
    std::string upper = text;
    for (std::size_t i = 0; i < upper.size(); ++i) {
        const auto c = static_cast<unsigned char>(upper[i]);
        if (c >= 'a' && c <= 'z') {
            upper[i] = static_cast<char>(c - 32);
        } else if (c == 0xC3 && i + 1 < upper.size()) {
            // Latin-1 letters à..þ (but not ÷) map to À..Þ by clearing one bit.
            const auto next = static_cast<unsigned char>(upper[i + 1]);
            if (next >= 0xA0 && next <= 0xBE && next != 0xB7) upper[i + 1] = static_cast<char>(next - 0x20);
            ++i;
        }
    }
    return upper;
}

std::string ConCeros(long numero, int digitos) {
    const std::string texto = std::to_string(numero);
    const int faltan = digitos - static_cast<int>(texto.size());
    return faltan > 0 ? std::string(static_cast<std::size_t>(faltan), '0') + texto : texto;
}

std::string ReemplazaSinMayusculas(const std::string& text, const std::string& buscado, const std::string& reemplazo) {
    if (buscado.empty()) return text;
    std::string resultado;
    resultado.reserve(text.size() + reemplazo.size());
    std::size_t i = 0;
    while (i < text.size()) {
        if (CoincideSinMayusculas(text, i, buscado)) {
            resultado += reemplazo;
            i += buscado.size();
        } else {
            resultado += text[i++];
        }
    }
    return resultado;
}

}  // namespace kx204::host
