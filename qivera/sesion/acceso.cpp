#include "qivera/sesion/acceso.hpp"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <charconv>
#include <sstream>
#include <vector>

#include "qivera/db/reloj_servidor.hpp"
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

std::string DondeUsuario(const std::string& usuario) { return " WHERE Us_Cve_Usuario = " + LiteralTexto(usuario); }

std::string Comillado(const std::string& usuario) { return "«" + usuario + "»"; }

// The wait owed after Us_Fallos wrong passwords in a row, in seconds, as SQL.
std::string EsperaPorFallos() {
    std::string espera = "CASE WHEN Us_Fallos < " + std::to_string(kIntentosLibres) + " THEN 0";
    long fallos = kIntentosLibres;
    for (long segundos = kEsperaInicial; segundos < kEsperaMaxima; segundos *= 2, ++fallos)
        espera += " WHEN Us_Fallos = " + std::to_string(fallos) + " THEN " + std::to_string(segundos);
    return espera + " ELSE " + std::to_string(kEsperaMaxima) + " END";
}

// The seconds the user must still wait, as SQL on the server's clock (`ahora`); 0 when none. Us_Ultimo_Fallo
// holds the last wrong password's second by that clock. A wait longer than the longest was left by a clock
// since turned back: it holds no one.
std::string EsperaPendiente(const std::string& ahora) {
    const std::string resta =
        "(COALESCE(CAST(NULLIF(Us_Ultimo_Fallo, '') AS BIGINT), 0) + " + EsperaPorFallos() + " - " + ahora + ")";
    return "CASE WHEN " + resta + " BETWEEN 1 AND " + std::to_string(kEsperaMaxima) + " THEN " + resta + " ELSE 0 END";
}

// Claims one attempt at the user's password, or raises why they may not try now. The server decides in one
// statement, on its clock, and counts the attempt as wrong until the password proves right: however many
// attempts arrive together, no more than the free ones are ever checked before the wait. No password for a
// user who has none leaves nothing to guess: it is neither counted nor kept waiting.
void ReclamaIntento(db::ConexionQt& conexion, const std::string& usuario, const std::string& clave) {
    const std::string ahora = db::SegundosDelServidor(conexion.dialecto());
    const std::string pendiente = EsperaPendiente(ahora);
    const std::string sinSecreto = clave.empty() ? "Us_Clave = ''" : "1 = 0";
    const std::string reclamo = "UPDATE Usuario SET Us_Fallos = CASE WHEN " + sinSecreto +
                                " THEN Us_Fallos ELSE Us_Fallos + 1 END, Us_Ultimo_Fallo = CASE WHEN " + sinSecreto +
                                " THEN Us_Ultimo_Fallo ELSE CAST(" + ahora + " AS VARCHAR(20)) END" +
                                DondeUsuario(usuario) + " AND Us_Activo <> 0 AND (" + sinSecreto + " OR " + pendiente +
                                " = 0)";
    // A second round covers a wait that ended between the claim and the reading of why it failed.
    for (int ronda = 0; ronda < 2; ++ronda) {
        if (conexion.ExecuteNonQuery(reclamo) > 0) return;
        auto rs = conexion.Execute("SELECT Us_Activo, " + pendiente + " FROM Usuario" + DondeUsuario(usuario));
        if (rs->Eof()) throw AccesoDenegado("El usuario " + Comillado(usuario) + " no existe.");
        const bool activo = rs->Field(0).ToLong() != 0;
        const long espera = rs->Field(1).ToLong();
        rs->Close();
        if (!activo) throw AccesoDenegado("El usuario " + Comillado(usuario) + " está inactivo y no puede entrar.");
        if (espera > 0)
            throw AccesoDenegado("Demasiadas contraseñas incorrectas para " + Comillado(usuario) + ": espere " +
                                 std::to_string(espera) + " segundos e intente de nuevo.");
    }
    throw std::runtime_error("the sign-in attempt of " + Comillado(usuario) + " could not be recorded");
}

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

void Autentica(db::ConexionQt& conexion, const std::string& usuario, const std::string& clave) {
    ReclamaIntento(conexion, usuario, clave);
    const auto guardada = PrimerValor(conexion, "SELECT Us_Clave FROM Usuario" + DondeUsuario(usuario));
    if (!guardada || !ClaveCorrecta(guardada->ToTextOrEmpty(), clave))
        throw AccesoDenegado("La contraseña de " + Comillado(usuario) + " no es correcta.");
    conexion.Execute("UPDATE Usuario SET Us_Fallos = 0" + DondeUsuario(usuario));
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
