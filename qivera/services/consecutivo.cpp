#include "qivera/services/consecutivo.hpp"

#include <algorithm>
#include <optional>
#include <utility>

#include "kx204/host/texto.hpp"
#include "qivera/services/listas.hpp"

namespace qivera {

namespace {

// Whether `folio` is the prefix followed by exactly `digitos` digits.
bool BienFormado(const std::string& folio, const std::string& prefijo, int digitos) {
    return folio.size() == prefijo.size() + static_cast<std::size_t>(digitos) && folio.starts_with(prefijo) &&
           std::all_of(folio.begin() + static_cast<std::ptrdiff_t>(prefijo.size()), folio.end(),
                       [](char c) { return c >= '0' && c <= '9'; });
}

// Going down from the top, the first well-formed folio among the first `cuantos` (all when 0), and how
// many were read.
std::pair<std::optional<long>, int> PrimeroBienFormado(kx204::host::Connection& conexion, const Numeracion& n,
                                                       int cuantos) {
    const std::string columna = n.columna, prefijo = n.prefijo;
    const std::string top = cuantos > 0 ? "top " + std::to_string(cuantos) + " " : "";
    auto rs = conexion.Execute("SELECT " + top + columna + " FROM " + n.tabla + " WHERE " + columna +
                               " >= " + LiteralTexto(prefijo + std::string(n.digitos, '0')) + " AND " + columna +
                               " <= " + LiteralTexto(prefijo + std::string(n.digitos, '9')) + " ORDER BY " + columna +
                               " DESC");
    int leidos = 0;
    std::optional<long> numero;
    for (; !rs->Eof() && !numero; rs->MoveNext(), ++leidos) {
        const std::string folio = rs->Field(0).ToTextOrEmpty();
        if (BienFormado(folio, prefijo, n.digitos)) numero = std::stol(folio.substr(prefijo.size()));
    }
    rs->Close();
    return {numero, leidos};
}

// The number of the largest stored folio of the numbering's form; 0 when none. Folios of one form
// sort alike under every collation, so going down from the top the first well-formed one is the largest;
// the range leaves out most others without LIKE, which PostgreSQL's case-insensitive collation refuses.
// A server sends every row a statement selects, so a few are asked for first, and all only when none
// of those few is well formed.
long UltimoGuardado(kx204::host::Connection& conexion, const Numeracion& n) {
    constexpr int kPrimeros = 8;
    const auto [primero, leidos] = PrimeroBienFormado(conexion, n, kPrimeros);
    if (primero || leidos < kPrimeros) return primero.value_or(0);
    return PrimeroBienFormado(conexion, n, 0).first.value_or(0);
}

}  // namespace

std::string SiguienteFolio(Sesion& sesion, const Numeracion& n) {
    kx204::host::Connection& conexion = sesion.conexion;
    const std::string clave = " WHERE Cn_Tabla = " + LiteralTexto(n.tabla);
    auto& tomados = sesion.foliosTomados;
    if (!conexion.InTransaction() || tomados.transaccion != conexion.TransactionCount()) {
        tomados.ultimos.clear();
        tomados.transaccion = conexion.InTransaction() ? conexion.TransactionCount() : -1;
    }
    auto tomado = tomados.ultimos.find(n.tabla);
    if (tomado != tomados.ultimos.end()) {
        // This transaction holds the counter's row: nobody else has taken a folio since. The counter keeps
        // the first folio it took; the later ones are its stored rows, which the next taker counts too.
        return n.prefijo + kx204::host::ConCeros(++tomado->second, n.digitos);
    }
    // Touching the counter's row first locks it until the commit, so a second clerk waits here and then
    // sees the first one's folio among the stored ones.
    if (conexion.ExecuteNonQuery("UPDATE Consecutivo SET Cn_Ultimo = Cn_Ultimo" + clave) == 0)
        InsertaFila(conexion, "Consecutivo", {{"Cn_Tabla", LiteralTexto(n.tabla)}, {"Cn_Ultimo", "0"}});
    const long contador = PrimerValor(conexion, "SELECT Cn_Ultimo FROM Consecutivo" + clave)->ToLong();
    const long siguiente = std::max(contador, UltimoGuardado(conexion, n)) + 1;
    conexion.Execute("UPDATE Consecutivo SET Cn_Ultimo = " + std::to_string(siguiente) + clave);
    if (tomados.transaccion >= 0) tomados.ultimos[n.tabla] = siguiente;
    return n.prefijo + kx204::host::ConCeros(siguiente, n.digitos);
}

}  // namespace qivera
