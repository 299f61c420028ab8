#pragma once
#include <cstddef>
#include <string>

namespace kx204::host {

// UTF-8 text as the screen counts it: characters, not bytes.
std::size_t CuentaCaracteres(const std::string& text);
std::string PrimerosCaracteres(const std::string& text, std::size_t count);
// The text without control characters (NUL, tab, line breaks, DEL…), which a one-line field never takes.
std::string SinControles(const std::string& text);
// Upper case of ASCII and Latin-1 letters (ñ → Ñ, á → Á).
std::string Mayusculas(const std::string& text);
// A whole number with leading zeros to at least `digitos` digits: ConCeros(42, 4) is "0042".
std::string ConCeros(long numero, int digitos);
// Every occurrence of `buscado`, compared without regard to ASCII case, replaced by `reemplazo`.
std::string ReemplazaSinMayusculas(const std::string& text, const std::string& buscado, const std::string& reemplazo);

}  // namespace kx204::host
