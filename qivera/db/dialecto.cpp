#include "qivera/db/dialecto.hpp"

#include <deque>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace qivera::db {

namespace {

enum class Clase { Espacio, Comentario, Literal, Identificador, Palabra, Numero, Simbolo };

// A piece views the statement it was cut from, or text the rewriting keeps: a long statement (a
// thousand rows of an INSERT) is not copied piece by piece.
struct Pieza {
    Clase clase;
    std::string_view texto;
};

bool EsInicioPalabra(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == '@' || c == '#' || c >= 0x80;
}

bool EsParteDePalabra(unsigned char c) { return EsInicioPalabra(c) || (c >= '0' && c <= '9') || c == '$'; }

bool EsDigito(unsigned char c) { return c >= '0' && c <= '9'; }

bool EsEspacio(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

// End of a run delimited by `cierre`, where a doubled `cierre` stands for itself.
std::size_t FinDelimitado(const std::string& sql, std::size_t inicio, char cierre) {
    std::size_t i = inicio + 1;
    while (i < sql.size()) {
        if (sql[i] != cierre) {
            ++i;
            continue;
        }
        if (i + 1 < sql.size() && sql[i + 1] == cierre) {
            i += 2;
            continue;
        }
        return i + 1;
    }
    return sql.size();  // unterminated: the rest belongs to it
}

template <typename Condicion>
std::size_t FinMientras(const std::string& sql, std::size_t i, Condicion condicion) {
    while (i < sql.size() && condicion(static_cast<unsigned char>(sql[i]))) ++i;
    return i;
}

std::size_t FinComentario(const std::string& sql, std::size_t inicio) {
    if (sql[inicio] == '-') {
        const std::size_t salto = sql.find('\n', inicio);
        return salto == std::string::npos ? sql.size() : salto;
    }
    const std::size_t cierre = sql.find("*/", inicio + 2);
    return cierre == std::string::npos ? sql.size() : cierre + 2;
}

bool IniciaComentario(const std::string& sql, std::size_t i) {
    if (i + 1 >= sql.size()) return false;
    return (sql[i] == '-' && sql[i + 1] == '-') || (sql[i] == '/' && sql[i + 1] == '*');
}

Pieza SiguientePieza(const std::string& sql, std::size_t i) {
    const unsigned char c = static_cast<unsigned char>(sql[i]);
    auto desde = [&](Clase clase, std::size_t fin) { return Pieza{clase, std::string_view(sql).substr(i, fin - i)}; };
    if (EsEspacio(static_cast<char>(c)))
        return desde(Clase::Espacio,
                     FinMientras(sql, i, [](unsigned char x) { return EsEspacio(static_cast<char>(x)); }));
    if (IniciaComentario(sql, i)) return desde(Clase::Comentario, FinComentario(sql, i));
    if (c == '\'') return desde(Clase::Literal, FinDelimitado(sql, i, '\''));
    if (c == '"') return desde(Clase::Identificador, FinDelimitado(sql, i, '"'));
    if (c == '[') return desde(Clase::Identificador, FinDelimitado(sql, i, ']'));
    if (EsInicioPalabra(c)) return desde(Clase::Palabra, FinMientras(sql, i, EsParteDePalabra));
    if (EsDigito(c))
        return desde(Clase::Numero,
                     FinMientras(sql, i, [](unsigned char x) { return EsParteDePalabra(x) || x == '.'; }));
    return desde(Clase::Simbolo, i + 1);
}

std::vector<Pieza> Trocea(const std::string& sql) {
    std::vector<Pieza> piezas;
    for (std::size_t i = 0; i < sql.size(); i += piezas.back().texto.size()) piezas.push_back(SiguientePieza(sql, i));
    return piezas;
}

bool EsPalabra(const Pieza& pieza, const char* palabra) {
    if (pieza.clase != Clase::Palabra) return false;
    std::size_t i = 0;
    for (; i < pieza.texto.size() && palabra[i] != '\0'; ++i) {
        char c = pieza.texto[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != palabra[i]) return false;
    }
    return i == pieza.texto.size() && palabra[i] == '\0';
}

bool EsSimbolo(const Pieza& pieza, char simbolo) { return pieza.clase == Clase::Simbolo && pieza.texto[0] == simbolo; }

bool EsEntero(const Pieza& pieza) {
    if (pieza.clase != Clase::Numero) return false;
    for (char c : pieza.texto)
        if (!EsDigito(static_cast<unsigned char>(c))) return false;
    return true;
}

bool EsSignificativa(const Pieza& pieza) { return pieza.clase != Clase::Espacio && pieza.clase != Clase::Comentario; }

// "[a]]b]" → "\"a]b\"": the bracket's escapes undone, the double quote's applied.
std::string EntreComillas(std::string_view corchetes) {
    const bool cerrado = corchetes.size() >= 2 && corchetes.back() == ']';
    const std::string_view dentro = corchetes.substr(1, corchetes.size() - (cerrado ? 2 : 1));
    std::string resultado = "\"";
    for (std::size_t i = 0; i < dentro.size(); ++i) {
        if (dentro[i] == ']' && i + 1 < dentro.size() && dentro[i + 1] == ']') ++i;
        if (dentro[i] == '"') resultado += '"';
        resultado += dentro[i];
    }
    return resultado + "\"";
}

// 'It''s' → It's.
std::string ValorDeLiteral(std::string_view literal) {
    std::string valor;
    const bool cerrado = literal.size() >= 2 && literal.back() == '\'';
    for (std::size_t i = 1; i + (cerrado ? 1 : 0) < literal.size(); ++i) {
        valor += literal[i];
        if (literal[i] == '\'' && i + 1 < literal.size() && literal[i + 1] == '\'') ++i;
    }
    return valor;
}

// The texts as one PostgreSQL array literal, itself a string literal: '{"a","b \"c\""}'.
std::string ArregloDeTextos(const std::vector<std::string>& textos) {
    std::string arreglo = "'{";
    for (std::size_t t = 0; t < textos.size(); ++t) {
        arreglo += t == 0 ? "\"" : ",\"";
        for (char c : textos[t]) {
            if (c == '"' || c == '\\') arreglo += '\\';
            arreglo += c;
            if (c == '\'') arreglo += '\'';
        }
        arreglo += '"';
    }
    return arreglo + "}'";
}

// Walks the pieces once, keeping per parenthesis level the LIMIT its SELECT still owes.
class Reescritura {
public:
    Reescritura(std::vector<Pieza> piezas, Dialecto dialecto) : piezas_(std::move(piezas)), dialecto_(dialecto) {}

    std::string Resultado() {
        for (std::size_t i = 0; i < piezas_.size(); ++i) i = Procesa(i);
        while (!limites_.empty()) CierraNivel();
        std::size_t largo = 0;
        for (const Pieza& pieza : salida_) largo += pieza.texto.size();
        std::string texto;
        texto.reserve(largo);
        for (const Pieza& pieza : salida_) texto += pieza.texto;
        return texto;
    }

private:
    // Handles the piece at i and answers the index of the last piece it consumed.
    std::size_t Procesa(std::size_t i) {
        const Pieza& pieza = piezas_[i];
        if (EsPalabra(pieza, "select")) return QuitaTop(i);
        if (EsPalabra(pieza, "getdate")) return AhoraLocal(i);
        if (dialecto_ == Dialecto::PostgreSQL && EsPalabra(pieza, "in")) return ListaComoArreglo(i);
        if (EsPalabra(pieza, "isnull") && Siguiente(i, false) < piezas_.size() &&
            EsSimbolo(piezas_[Siguiente(i, false)], '(')) {
            salida_.push_back({Clase::Palabra, "coalesce"});
        } else if (EsSimbolo(pieza, '(')) {
            salida_.push_back(pieza);
            limites_.emplace_back();
        } else if (EsSimbolo(pieza, ')') && limites_.size() > 1) {
            CierraNivel();
            salida_.push_back(pieza);
        } else if (EsSimbolo(pieza, ';') && limites_.size() == 1) {
            PagaLimite();
            salida_.push_back(pieza);
        } else if (pieza.clase == Clase::Identificador && pieza.texto[0] == '[') {
            salida_.push_back({Clase::Identificador, Propio(EntreComillas(pieza.texto))});
        } else {
            salida_.push_back(pieza);
        }
        return i;
    }

    // Index of the next piece after i that is not blank (nor a comment, when asked).
    std::size_t Siguiente(std::size_t i, bool saltaComentarios = true) const {
        ++i;
        while (i < piezas_.size() &&
               (piezas_[i].clase == Clase::Espacio || (saltaComentarios && piezas_[i].clase == Clase::Comentario)))
            ++i;
        return i;
    }

    bool EsPalabraEn(std::size_t i, const char* palabra) const {
        return i < piezas_.size() && EsPalabra(piezas_[i], palabra);
    }

    // At "top": the count and the index of its last piece, for "top N" and "top (N)".
    std::optional<std::pair<std::string, std::size_t>> LeeTop(std::size_t top) const {
        const std::size_t n = Siguiente(top);
        if (n >= piezas_.size()) return std::nullopt;
        if (EsEntero(piezas_[n])) return std::make_pair(std::string(piezas_[n].texto), n);
        const std::size_t numero = Siguiente(n), cierre = Siguiente(numero);
        if (EsSimbolo(piezas_[n], '(') && cierre < piezas_.size() && EsEntero(piezas_[numero]) &&
            EsSimbolo(piezas_[cierre], ')'))
            return std::make_pair(std::string(piezas_[numero].texto), cierre);
        return std::nullopt;
    }

    // "getdate()": the server's local date and time, to the second.
    std::size_t AhoraLocal(std::size_t getdate) {
        const std::size_t abre = Siguiente(getdate), cierra = Siguiente(abre);
        if (cierra >= piezas_.size() || !EsSimbolo(piezas_[abre], '(') || !EsSimbolo(piezas_[cierra], ')')) {
            salida_.push_back(piezas_[getdate]);
            return getdate;
        }
        salida_.push_back(
            {Clase::Palabra, dialecto_ == Dialecto::PostgreSQL ? "LOCALTIMESTAMP(0)" : "datetime('now', 'localtime')"});
        return cierra;
    }

    // "IN ('a', 'b', …)" with many texts becomes "IN (SELECT unnest('{"a","b",…}'::text[]))": PostgreSQL
    // weighs every element of a list while planning (a fifth of a second for 15,000 folios), and
    // one array literal costs it nothing. Short lists and lists of anything else stay as they are.
    std::size_t ListaComoArreglo(std::size_t in) {
        constexpr std::size_t kMinimo = 32;
        salida_.push_back(piezas_[in]);
        std::vector<std::string> textos;
        std::size_t i = Siguiente(in);
        if (i >= piezas_.size() || !EsSimbolo(piezas_[i], '(')) return in;
        for (i = Siguiente(i); i < piezas_.size() && piezas_[i].clase == Clase::Literal; i = Siguiente(i)) {
            textos.push_back(ValorDeLiteral(piezas_[i].texto));
            i = Siguiente(i);
            if (i >= piezas_.size() || !EsSimbolo(piezas_[i], ',')) break;
        }
        if (i >= piezas_.size() || !EsSimbolo(piezas_[i], ')') || textos.size() < kMinimo) return in;
        salida_.push_back({Clase::Simbolo, Propio(" (SELECT unnest(" + ArregloDeTextos(textos) + "::text[]))")});
        return i;
    }

    std::size_t QuitaTop(std::size_t select) {
        std::size_t top = Siguiente(select);
        if (EsPalabraEn(top, "distinct") || EsPalabraEn(top, "all")) top = Siguiente(top);
        const auto cuenta = EsPalabraEn(top, "top") ? LeeTop(top) : std::nullopt;
        if (!cuenta) {
            salida_.push_back(piezas_[select]);
            return select;
        }
        for (std::size_t i = select; i < top; ++i) salida_.push_back(piezas_[i]);
        limites_.back() = cuenta->first;
        std::size_t fin = cuenta->second;
        if (fin + 1 < piezas_.size() && piezas_[fin + 1].clase == Clase::Espacio) ++fin;
        return fin;
    }

    // The LIMIT goes right after the last meaningful piece, so that trailing blanks and comments follow it.
    void PagaLimite() {
        if (!limites_.back()) return;
        auto posicion = salida_.end();
        while (posicion != salida_.begin() && !EsSignificativa(*(posicion - 1))) --posicion;
        salida_.insert(posicion, Pieza{Clase::Simbolo, Propio(" LIMIT " + *limites_.back())});
        limites_.back().reset();
    }

    void CierraNivel() {
        PagaLimite();
        limites_.pop_back();
    }

    // Keeps text the rewriting made for as long as the pieces that view it.
    std::string_view Propio(std::string texto) { return propios_.emplace_back(std::move(texto)); }

    std::vector<Pieza> piezas_;
    std::deque<std::string> propios_;
    Dialecto dialecto_;
    std::vector<Pieza> salida_;
    std::vector<std::optional<std::string>> limites_ = std::vector<std::optional<std::string>>(1);
};

}  // namespace

std::string AdaptaSql(const std::string& sql, Dialecto dialecto) {
    if (dialecto == Dialecto::SqlServer) return sql;
    return Reescritura(Trocea(sql), dialecto).Resultado();
}

Escrituras EscriturasDeNombres(const std::string& sql) {
    Escrituras escrituras;
    bool trasAs = false;
    for (const Pieza& pieza : Trocea(sql)) {
        if (!EsSignificativa(pieza)) continue;
        if (pieza.clase == Clase::Palabra) {
            std::string minusculas(pieza.texto);
            for (char& c : minusculas)
                if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
            if (trasAs)
                escrituras[minusculas] = std::string(pieza.texto);
            else
                escrituras.emplace(minusculas, std::string(pieza.texto));
        }
        trasAs = EsPalabra(pieza, "as");
    }
    return escrituras;
}

}  // namespace qivera::db
