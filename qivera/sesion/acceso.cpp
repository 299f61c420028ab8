#include "qivera/sesion/acceso.hpp"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <sstream>
#include <vector>

#include "qivera/db/sql.hpp"

namespace qivera {

namespace {

// scrypt at 2^15 × 8: 32 MiB and about a tenth of a second per attempt.
constexpr int kLogN = 15, kR = 8, kP = 1;
constexpr std::size_t kBytesSal = 16, kBytesHash = 32;
constexpr std::uint64_t kMemoriaMaxima = 64ull << 20;
// Attempts a user may get wrong in a row before waiting, the first wait and the longest.
constexpr long kIntentosLibres = 3, kEsperaInicial = 5, kEsperaMaxima = 300;

using Bytes = std::vector<unsigned char>;

std::string Hex(const Bytes& bytes) {
    static const char kDigitos[] = "0123456789abcdef";
    std::string texto;
    for (unsigned char b : bytes) texto += {kDigitos[b >> 4], kDigitos[b & 15]};
    return texto;
}

std::optional<Bytes> DeHex(const std::string& texto) {
    if (texto.size() % 2 != 0) return std::nullopt;
    Bytes bytes(texto.size() / 2);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto [fin, error] = std::from_chars(texto.data() + 2 * i, texto.data() + 2 * i + 2, bytes[i], 16);
        if (error != std::errc() || fin != texto.data() + 2 * i + 2) return std::nullopt;
    }
    return bytes;
}

std::optional<Bytes> Scrypt(const std::string& clave, const Bytes& sal, int logN, int r, int p) {
    if (logN < 1 || logN > 20 || r < 1 || r > 32 || p < 1 || p > 16) return std::nullopt;
    Bytes hash(kBytesHash);
    if (EVP_PBE_scrypt(clave.data(), clave.size(), sal.data(), sal.size(), std::uint64_t{1} << logN,
                       static_cast<std::uint64_t>(r), static_cast<std::uint64_t>(p), kMemoriaMaxima, hash.data(),
                       hash.size()) != 1)
        return std::nullopt;
    return hash;
}

std::vector<std::string> Partes(const std::string& texto) {
    std::vector<std::string> partes;
    std::istringstream entrada(texto);
    for (std::string parte; std::getline(entrada, parte, '$');) partes.push_back(parte);
    return partes;
}

long Entero(const std::string& texto) {
    long valor = 0;
    std::from_chars(texto.data(), texto.data() + texto.size(), valor);
    return valor;
}

long long SegundosAhora() {
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

std::string DondeUsuario(const std::string& usuario) { return " WHERE Us_Cve_Usuario = " + LiteralTexto(usuario); }

// Seconds the user must still wait after `fallos` wrong passwords in a row, the last at `ultimo`.
long long Espera(long fallos, long long ultimo) {
    if (fallos < kIntentosLibres) return 0;
    const long long espera =
        std::min<long long>(kEsperaMaxima, kEsperaInicial << std::min(fallos - kIntentosLibres, 16L));
    return std::max<long long>(0, ultimo + espera - SegundosAhora());
}

std::string Comillado(const std::string& usuario) { return "«" + usuario + "»"; }

}  // namespace

std::string CifraClave(const std::string& clave) {
    if (clave.empty()) return {};
    Bytes sal(kBytesSal);
    if (RAND_bytes(sal.data(), static_cast<int>(sal.size())) != 1) throw std::runtime_error("no random salt");
    const auto hash = Scrypt(clave, sal, kLogN, kR, kP);
    if (!hash) throw std::runtime_error("scrypt failed");
    return "scrypt$" + std::to_string(kLogN) + "$" + std::to_string(kR) + "$" + std::to_string(kP) + "$" + Hex(sal) +
           "$" + Hex(*hash);
}

bool ClaveCorrecta(const std::string& guardada, const std::string& clave) {
    if (guardada.empty()) return clave.empty();
    const std::vector<std::string> partes = Partes(guardada);
    if (partes.size() != 6 || partes[0] != "scrypt") return false;
    const auto sal = DeHex(partes[4]);
    const auto esperado = DeHex(partes[5]);
    if (!sal || !esperado || esperado->size() != kBytesHash) return false;
    const auto hash = Scrypt(clave, *sal, Entero(partes[1]), Entero(partes[2]), Entero(partes[3]));
    return hash && CRYPTO_memcmp(hash->data(), esperado->data(), kBytesHash) == 0;
}

bool TienePermiso(kx204::host::Connection& conexion, const std::string& usuario, const std::string& modulo,
                  const std::string& clave) {
    return PrimerValor(conexion, "SELECT 1 FROM Permiso" + DondeUsuario(usuario) + " AND Pm_Modulo = " +
                                     LiteralTexto(modulo) + " AND Pm_Clave = " + LiteralTexto(clave))
        .has_value();
}

bool PideClave(kx204::host::Connection& conexion, const std::string& usuario) {
    const auto clave = PrimerValor(conexion, "SELECT Us_Clave FROM Usuario" + DondeUsuario(usuario));
    return clave && !clave->ToTextOrEmpty().empty();
}

void Autentica(kx204::host::Connection& conexion, const std::string& usuario, const std::string& clave) {
    auto rs =
        conexion.Execute("SELECT Us_Clave, Us_Activo, Us_Fallos, Us_Ultimo_Fallo FROM Usuario" + DondeUsuario(usuario));
    if (rs->Eof()) throw AccesoDenegado("El usuario " + Comillado(usuario) + " no existe.");
    const std::string guardada = rs->Field(0).ToTextOrEmpty();
    const bool activo = rs->Field(1).ToLong() != 0;
    const long fallos = rs->Field(2).ToLong();
    const long long ultimo = Entero(rs->Field(3).ToTextOrEmpty());
    rs->Close();
    if (!activo) throw AccesoDenegado("El usuario " + Comillado(usuario) + " está inactivo y no puede entrar.");
    if (const long long espera = Espera(fallos, ultimo); espera > 0)
        throw AccesoDenegado("Demasiadas contraseñas incorrectas para " + Comillado(usuario) + ": espere " +
                             std::to_string(espera) + " segundos e intente de nuevo.");
    if (!ClaveCorrecta(guardada, clave)) {
        conexion.Execute("UPDATE Usuario SET Us_Fallos = Us_Fallos + 1, Us_Ultimo_Fallo = " +
                         LiteralTexto(std::to_string(SegundosAhora())) + DondeUsuario(usuario));
        throw AccesoDenegado("La contraseña de " + Comillado(usuario) + " no es correcta.");
    }
    if (fallos > 0) conexion.Execute("UPDATE Usuario SET Us_Fallos = 0" + DondeUsuario(usuario));
    if (!TienePermiso(conexion, usuario, "KX204", "ACCESO"))
        throw AccesoDenegado("El usuario " + Comillado(usuario) +
                             " no tiene permiso para abrir la facturación consolidada (KX204 ACCESO).");
}

void AseguraUsuario(kx204::host::Connection& conexion, const std::string& usuario, const std::string& nombre) {
    if (PrimerValor(conexion, "SELECT 1 FROM Usuario" + DondeUsuario(usuario))) return;
    InsertaFila(conexion, "Usuario",
                {{"Us_Cve_Usuario", LiteralTexto(usuario)}, {"Us_Descripcion", LiteralTexto(nombre)}});
}

void GuardaClave(kx204::host::Connection& conexion, const std::string& usuario, const std::string& clave) {
    conexion.Execute("UPDATE Usuario SET " +
                     Asignaciones({{"Us_Clave", LiteralTexto(CifraClave(clave))}, {"Us_Fallos", "0"}}) +
                     DondeUsuario(usuario));
}

void Activa(kx204::host::Connection& conexion, const std::string& usuario, bool activo) {
    conexion.Execute(std::string("UPDATE Usuario SET Us_Activo = ") + (activo ? "1" : "0") + DondeUsuario(usuario));
}

void Concede(kx204::host::Connection& conexion, const std::string& usuario, const std::string& modulo,
             const std::string& clave) {
    if (TienePermiso(conexion, usuario, modulo, clave)) return;
    InsertaFila(conexion, "Permiso",
                {{"Us_Cve_Usuario", LiteralTexto(usuario)},
                 {"Pm_Modulo", LiteralTexto(modulo)},
                 {"Pm_Clave", LiteralTexto(clave)}});
}

void Revoca(kx204::host::Connection& conexion, const std::string& usuario, const std::string& modulo,
            const std::string& clave) {
    conexion.Execute("DELETE FROM Permiso" + DondeUsuario(usuario) + " AND Pm_Modulo = " + LiteralTexto(modulo) +
                     " AND Pm_Clave = " + LiteralTexto(clave));
}

}  // namespace qivera
