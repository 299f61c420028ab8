#include "qivera/printing/importe_letra.hpp"

#include <cstdint>

#include "qivera/printing/legible.hpp"

namespace qivera {

namespace {

const char* const kUnidades[] = {
    "",           "UNO",        "DOS",        "TRES",         "CUATRO",      "CINCO",      "SEIS",
    "SIETE",      "OCHO",       "NUEVE",      "DIEZ",         "ONCE",        "DOCE",       "TRECE",
    "CATORCE",    "QUINCE",     "DIECISÉIS",  "DIECISIETE",   "DIECIOCHO",   "DIECINUEVE", "VEINTE",
    "VEINTIUNO",  "VEINTIDÓS",  "VEINTITRÉS", "VEINTICUATRO", "VEINTICINCO", "VEINTISÉIS", "VEINTISIETE",
    "VEINTIOCHO", "VEINTINUEVE"};
const char* const kDecenas[] = {"",          "",        "",        "TREINTA", "CUARENTA",
                                "CINCUENTA", "SESENTA", "SETENTA", "OCHENTA", "NOVENTA"};
const char* const kCentenas[] = {"",           "CIENTO",      "DOSCIENTOS",  "TRESCIENTOS", "CUATROCIENTOS",
                                 "QUINIENTOS", "SEISCIENTOS", "SETECIENTOS", "OCHOCIENTOS", "NOVECIENTOS"};

std::string Junta(const std::string& a, const std::string& b) {
    if (a.empty()) return b;
    return b.empty() ? a : a + " " + b;
}

// 1 to 999, with "UNO" as it ends a number.
std::string HastaMil(int n) {
    if (n == 100) return "CIEN";
    const int decenas = n % 100;
    std::string resto =
        decenas < 30 ? kUnidades[decenas]
                     : Junta(kDecenas[decenas / 10], decenas % 10 ? std::string("Y ") + kUnidades[decenas % 10] : "");
    return Junta(kCentenas[n / 100], resto);
}

// Before a noun "UNO" becomes "UN" and "VEINTIUNO" "VEINTIÚN".
std::string Apocopa(std::string texto) {
    if (texto.size() >= 9 && texto.compare(texto.size() - 9, 9, "VEINTIUNO") == 0)
        return texto.replace(texto.size() - 9, 9, "VEINTIÚN");
    if (texto == "UNO" || (texto.size() > 4 && texto.compare(texto.size() - 4, 4, " UNO") == 0)) texto.pop_back();
    return texto;
}

std::string Miles(int miles) { return miles == 0 ? "" : miles == 1 ? "MIL" : Apocopa(HastaMil(miles)) + " MIL"; }

// Below a billion (10^12) millions are counted in thousands: "MIL MILLONES".
std::string HastaBillon(std::int64_t n) {
    const std::int64_t millones = n / 1000000;
    const int resto = static_cast<int>(n % 1000000);
    std::string texto;
    if (millones > 0) texto = millones == 1 ? "UN MILLÓN" : Apocopa(HastaBillon(millones)) + " MILLONES";
    return Junta(texto, Junta(Miles(resto / 1000), resto % 1000 ? HastaMil(resto % 1000) : ""));
}

std::string EnLetras(std::int64_t n) {
    if (n == 0) return "CERO";
    constexpr std::int64_t kBillon = 1000000000000;  // the long scale Spanish uses
    const std::int64_t billones = n / kBillon;
    std::string texto;
    if (billones > 0) texto = billones == 1 ? "UN BILLÓN" : Apocopa(HastaBillon(billones)) + " BILLONES";
    return Junta(texto, HastaBillon(n % kBillon));
}

}  // namespace

std::string ImporteConLetra(kx204::host::Currency importe, const std::string& moneda) {
    const std::int64_t centavos = AlCentavo(importe).Scaled() / (kx204::host::Currency::kScale / 100);
    const std::int64_t magnitud = centavos < 0 ? -centavos : centavos;
    const std::int64_t enteros = magnitud / 100;
    const bool uno = enteros == 1;
    const std::string nombre = moneda == "MXN"   ? (uno ? "PESO" : "PESOS")
                               : moneda == "USD" ? (uno ? "DÓLAR" : "DÓLARES")
                                                 : moneda;
    const std::string sufijo = moneda == "MXN" ? "M.N." : moneda;
    std::string letras = Apocopa(EnLetras(enteros));
    if (enteros > 0 && enteros % 1000000 == 0) letras += " DE";
    const std::string fraccion = std::to_string(100 + magnitud % 100).substr(1);
    return std::string("(") + (centavos < 0 ? "MENOS " : "") + letras + " " + nombre + " " + fraccion + "/100 " +
           sufijo + ")";
}

}  // namespace qivera
