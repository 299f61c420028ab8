#include "qivera/db/lecturas_factura.hpp"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string_view>

#include "kx204/host/recordset_leido.hpp"
#include "kx204/host/texto.hpp"
#include "kx204/invoicing/sentencias_factura.hpp"

namespace qivera::db {

using kx204::host::Recordset;

namespace {

namespace sentencias = kx204::sentencias;

constexpr std::string_view kProductoDelLote = "Lote_Documento.Pr_Cve_Producto = ";
constexpr std::string_view kTablaDelLote = "Lote_Documento.Ld_Tabla = ";
constexpr std::string_view kDocumentosDelLote = "Lote_Documento.Ld_Documento IN (";
constexpr std::string_view kFinDocumentosDelLote = ") GROUP BY";
constexpr std::string_view kDocumentosDeLaSerie = "Sd_Documento in(";
constexpr std::string_view kProductoDeLaSerie = ") and    Pr_Cve_Producto = ";
constexpr std::string_view kFoliosDeLasLineas = "Vn_Folio IN (";
constexpr std::string_view kFinFoliosDeLasLineas = ") ORDER BY";
constexpr std::string_view kNotasDeLasCuentas = "cxc.Cxc_Documento IN (";
constexpr std::string_view kFinNotasDeLasCuentas = ") AND    cxc.Es_Cve_Estado";

// The SQL literal that opens at `inicio`, its quotes undoubled.
std::optional<std::string> LiteralEn(std::string_view sql, std::size_t inicio) {
    if (inicio >= sql.size() || sql[inicio] != '\'') return std::nullopt;
    std::string valor;
    for (std::size_t i = inicio + 1; i < sql.size(); ++i) {
        if (sql[i] != '\'') {
            valor += sql[i];
        } else if (i + 1 < sql.size() && sql[i + 1] == '\'') {
            valor += '\'';
            ++i;
        } else {
            return valor;
        }
    }
    return std::nullopt;
}

std::optional<std::string> LiteralTras(std::string_view sql, std::string_view antes) {
    const std::size_t donde = sql.find(antes);
    if (donde == std::string_view::npos) return std::nullopt;
    return LiteralEn(sql, donde + antes.size());
}

// What stands between the first `antes` and the last `despues`.
std::optional<std::string> Entre(std::string_view sql, std::string_view antes, std::string_view despues) {
    const std::size_t desde = sql.find(antes);
    const std::size_t hasta = sql.rfind(despues);
    if (desde == std::string_view::npos || hasta == std::string_view::npos || hasta < desde + antes.size())
        return std::nullopt;
    return std::string(sql.substr(desde + antes.size(), hasta - desde - antes.size()));
}

// The characters the literal of `valor` takes in SQL: its quotes, and each quote inside doubled.
std::size_t LargoLiteral(const std::string& valor) {
    return 2 + valor.size() + static_cast<std::size_t>(std::count(valor.begin(), valor.end(), '\''));
}

// The values of a list of literals ("'A', 'B'"); nothing when it is anything else.
std::optional<std::vector<std::string>> Literales(std::string_view lista) {
    std::vector<std::string> valores;
    std::size_t i = 0;
    while (true) {
        while (i < lista.size() && lista[i] == ' ') ++i;
        auto valor = LiteralEn(lista, i);
        if (!valor) return std::nullopt;
        i += LargoLiteral(*valor);
        valores.push_back(std::move(*valor));
        while (i < lista.size() && lista[i] == ' ') ++i;
        if (i == lista.size()) return valores;
        if (lista[i++] != ',') return std::nullopt;
    }
}

// Whether `lista` holds two literals or more, and nothing else.
bool VariosLiterales(std::string_view lista) {
    const auto valores = Literales(lista);
    return valores && valores->size() >= 2;
}

// What a statement's text is built around, and the text before the first of it.
constexpr char kArgumento[] = "\x1e";
std::string Cabeza(const std::string& conArgumentos) { return conArgumentos.substr(0, conArgumentos.find(kArgumento)); }

bool Empieza(std::string_view sql, std::string_view cabeza) { return sql.substr(0, cabeza.size()) == cabeza; }

// Keys compare as the engines compare these columns: without regard to case.
std::string Clave(const std::vector<std::string>& partes) {
    std::string clave;
    for (const std::string& parte : partes) clave += kx204::host::Mayusculas(parte) + '\x1f';
    return clave;
}

bool EsLectura(std::string_view sql) {
    const std::size_t inicio = sql.find_first_not_of(" \t\r\n");
    return inicio != std::string_view::npos && kx204::host::Mayusculas(std::string(sql.substr(inicio, 6))) == "SELECT";
}

bool EsParteDeNombre(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// The table an "INSERT INTO t …" writes, in capitals; "" for any other statement.
std::string TablaQueInserta(std::string_view sql) {
    std::size_t i = 0;
    auto palabra = [&] {
        i = std::min(sql.find_first_not_of(" \t\r\n", i), sql.size());
        const std::size_t inicio = i;
        while (i < sql.size() && EsParteDeNombre(sql[i])) ++i;
        return kx204::host::Mayusculas(std::string(sql.substr(inicio, i - inicio)));
    };
    if (palabra() != "INSERT" || palabra() != "INTO") return {};
    return palabra();
}

// Whether `sql`, in capitals, names the table `tabla` (in capitals).
bool Nombra(const std::string& sql, const std::string& tabla) {
    for (std::size_t i = sql.find(tabla); i != std::string::npos; i = sql.find(tabla, i + 1))
        if ((i == 0 || !EsParteDeNombre(sql[i - 1])) &&
            (i + tabla.size() == sql.size() || !EsParteDeNombre(sql[i + tabla.size()])))
            return true;
    return false;
}

// The lots of every product over `documentos`, summed per product or per note and product; keys first.
std::string LotesDeTodos(const std::string& tabla, const std::string& documentos, bool porNota) {
    const std::string llaves =
        porNota ? "Lote_Documento.Pr_Cve_Producto, Lote_Documento.Ld_Documento, " : "Lote_Documento.Pr_Cve_Producto, ";
    const std::string lote =
        "Lote.Lt_Cve_Lote, Lote.Lt_Fecha_Caducidad, Lote.Lt_Pedimento, Lote.Lt_Fecha_Pedimento, Lote.Lt_Aduana";
    return "SELECT " + llaves + lote +
           ", ISNULL(SUM(Lote_Documento.Lt_Cantidad_Control_1),0) as Lt_Cantidad_Control_1, "
           "ISNULL(SUM(Lote_Documento.Lt_Cantidad_Control_2),0) AS Lt_Cantidad_Control_2 "
           "FROM Lote_Documento "
           "INNER JOIN PRODUCTO ON PRODUCTO.PR_CVE_PRODUCTO = LOTE_DOCUMENTO.PR_CVE_PRODUCTO "
           "INNER JOIN Lote ON Lote_Documento.Lt_Cve_Lote = Lote.Lt_Cve_Lote AND Lote.Pr_Cve_Producto = "
           "(CASE Producto.Pr_Equivalencia_Producto WHEN '' THEN Producto.Pr_Cve_Producto "
           "ELSE Producto.Pr_Equivalencia_Producto END) "
           "WHERE Lote_Documento.Ld_Tabla = '" +
           kx204::host::SqlText(tabla) + "' AND Lote_Documento.Ld_Documento IN (" + documentos + ") GROUP BY " +
           llaves + lote + " ORDER BY " + llaves + lote;
}

// The serial numbers of every product over `folios`; keys first. Of the rows the screen asks for with
// "Select *" it reads the serial number alone: only that is kept, however many the notes carry.
std::string SeriesDeTodos(const std::string& folios, bool porNota) {
    const std::string llaves = porNota ? "Pr_Cve_Producto, Sd_Documento" : "Pr_Cve_Producto";
    return "SELECT " + llaves + ", Sr_Cve_Serie FROM Serie_Documento WHERE Sd_Tabla = 'VENTA' AND Sd_Documento IN (" +
           folios + ") ORDER BY " + llaves;
}

// Every row of `rs`, read to its end, each shown to `porFila` as it is read.
std::unique_ptr<Recordset> Entero(Recordset& rs, const std::function<void(const Recordset&)>& porFila) {
    std::vector<std::string> nombres;
    for (int i = 0; i < rs.FieldCount(); ++i) nombres.push_back(rs.FieldName(i));
    std::vector<std::vector<kx204::host::Variant>> filas;
    for (; !rs.Eof(); rs.MoveNext()) {
        auto& fila = filas.emplace_back();
        for (int i = 0; i < rs.FieldCount(); ++i) fila.push_back(rs.Field(i));
        porFila(rs);
    }
    rs.Close();
    return std::make_unique<kx204::host::RecordsetLeido>(std::move(nombres), std::move(filas));
}

}  // namespace

std::unique_ptr<Recordset> LecturasFactura::Responde(const std::string& sql, const Lector& lee) {
    if (!EsLectura(sql)) {
        // Rows put into a table nothing read ahead reads cannot change it: the relations a line-by-line
        // invoice writes in batches between its lines leave its lots and serial numbers read.
        if (!SinEfectoEnLoLeido(TablaQueInserta(sql))) Olvida();
        return nullptr;
    }
    // Told first by how each statement begins: the lists inside run to hundreds of kilobytes.
    static const std::string renglones = Cabeza(sentencias::LineasPorRenglon(kArgumento));
    static const std::string lotes = Cabeza(sentencias::LotesDeProducto(kArgumento, kArgumento, kArgumento));
    static const std::string series = Cabeza(sentencias::SeriesDeProducto(kArgumento, kArgumento));
    static const std::string cuentas = Cabeza(sentencias::CuentasPorSaldar(kArgumento));
    if (Empieza(sql, renglones)) {
        if (const auto folios = Entre(sql, kFoliosDeLasLineas, kFinFoliosDeLasLineas);
            folios && sentencias::LineasPorRenglon(*folios) == sql)
            return LeeRenglones(sql, *folios, lee);
    } else if (Empieza(sql, lotes)) {
        const auto producto = LiteralTras(sql, kProductoDelLote);
        const auto tabla = LiteralTras(sql, kTablaDelLote);
        const auto documentos = Entre(sql, kDocumentosDelLote, kFinDocumentosDelLote);
        if (producto && tabla && documentos && sentencias::LotesDeProducto(*tabla, *documentos, *producto) == sql)
            return Lotes(*tabla, *documentos, *producto, lee);
    } else if (Empieza(sql, series)) {
        if (const std::size_t fin = sql.rfind(kProductoDeLaSerie); fin != std::string::npos) {
            const auto folios = Entre(sql, kDocumentosDeLaSerie, kProductoDeLaSerie);
            const auto deLaSerie = LiteralEn(sql, fin + kProductoDeLaSerie.size());
            if (folios && deLaSerie && sentencias::SeriesDeProducto(*folios, *deLaSerie) == sql)
                return Series(*folios, *deLaSerie, lee);
        }
    } else if (Empieza(sql, cuentas)) {
        if (const auto notas = Entre(sql, kNotasDeLasCuentas, kFinNotasDeLasCuentas);
            notas && sentencias::CuentasPorSaldar(*notas) == sql)
            return LeeCuentasPorSaldar(sql, *notas, lee);
    }
    return nullptr;
}

std::unique_ptr<Recordset> LecturasFactura::LeeRenglones(const std::string& sql, const std::string& folios,
                                                         const Lector& lee) {
    const auto lista = Literales(folios);
    if (!lista) return nullptr;
    notas_ = folios;
    folios_.clear();
    renglones_.clear();
    for (const std::string& folio : *lista) folios_.insert(Clave({folio}));
    auto leido = Entero(*lee(sql), [this](const Recordset& fila) {
        renglones_.insert(Clave({fila.Field("Vn_Folio").ToTextOrEmpty(), fila.Field("Vn_Id").ToText()}));
    });
    // Lots and serial numbers read per note before belong to another set of notes.
    lecturas_.erase("lotes por nota");
    lecturas_.erase("series por nota");
    return leido;
}

std::unique_ptr<Recordset> LecturasFactura::LeeCuentasPorSaldar(const std::string& sql, const std::string& notas,
                                                                const Lector& lee) {
    std::string ultima;
    auto leido = Entero(*lee(sql), [&](const Recordset& fila) { ultima = fila.Field(0).ToTextOrEmpty(); });
    porSaldar_ = {notas, ultima};
    return leido;
}

std::string LecturasFactura::NotaLeida(const std::string& documentos) const {
    // A single literal and nothing after it; a list of thousands is told at its first comma.
    const std::size_t inicio = std::min(documentos.find_first_not_of(' '), documentos.size());
    const auto nota = LiteralEn(documentos, inicio);
    if (!nota) return {};
    if (documentos.find_first_not_of(' ', inicio + LargoLiteral(*nota)) != std::string::npos ||
        !folios_.count(Clave({*nota})))
        return {};
    return *nota;
}

std::unique_ptr<Recordset> LecturasFactura::Lotes(const std::string& tabla, const std::string& documentos,
                                                  const std::string& producto, const Lector& lee) {
    const std::string nota = NotaLeida(documentos);
    if (!nota.empty())
        return Sirve(
            "lotes por nota", Clave({tabla}), [&] { return LotesDeTodos(tabla, notas_, true); }, 2,
            Clave({producto, nota}), lee);
    return Sirve(
        "lotes", tabla + '\x1f' + documentos,
        [&]() -> std::optional<std::string> {
            if (!VariosLiterales(documentos)) return std::nullopt;
            return LotesDeTodos(tabla, documentos, false);
        },
        1, Clave({producto}), lee);
}

std::unique_ptr<Recordset> LecturasFactura::Series(const std::string& documentos, const std::string& producto,
                                                   const Lector& lee) {
    const std::string nota = NotaLeida(documentos);
    if (!nota.empty())
        return Sirve(
            "series por nota", {}, [&] { return SeriesDeTodos(notas_, true); }, 2, Clave({producto, nota}), lee);
    return Sirve(
        "series", documentos,
        [&]() -> std::optional<std::string> {
            if (!VariosLiterales(documentos)) return std::nullopt;
            return SeriesDeTodos(documentos, false);
        },
        1, Clave({producto}), lee);
}

std::unique_ptr<Recordset> LecturasFactura::Sirve(const std::string& nombre, const std::string& origen,
                                                  const Sentencia& sentencia, int llaves, const std::string& clave,
                                                  const Lector& lee) {
    auto lectura = lecturas_.find(nombre);
    if (lectura == lecturas_.end() || lectura->second.origen != origen) {
        const std::optional<std::string> texto = sentencia();
        if (!texto) return nullptr;
        Lectura nueva{origen, kx204::host::Mayusculas(*texto), {}, {}};
        auto rs = lee(*texto);
        const int columnas = rs->FieldCount();
        for (int i = llaves; i < columnas; ++i) nueva.nombres.push_back(rs->FieldName(i));
        for (; !rs->Eof(); rs->MoveNext()) {
            std::vector<std::string> partes;
            for (int i = 0; i < llaves; ++i) partes.push_back(rs->Field(i).ToTextOrEmpty());
            auto& fila = nueva.filas[Clave(partes)].emplace_back();
            for (int i = llaves; i < columnas; ++i) fila.push_back(rs->Field(i));
        }
        rs->Close();
        lectura = lecturas_.insert_or_assign(nombre, std::move(nueva)).first;
    }
    const auto filas = lectura->second.filas.find(clave);
    return std::make_unique<kx204::host::RecordsetLeido>(
        lectura->second.nombres, filas == lectura->second.filas.end() ? Filas{} : filas->second);
}

bool LecturasFactura::RenglonLeido(const std::string& folio, long id) const {
    return renglones_.count(Clave({folio, std::to_string(id)})) > 0;
}

bool LecturasFactura::SinEfectoEnLoLeido(const std::string& tabla) const {
    return !tabla.empty() && std::none_of(lecturas_.begin(), lecturas_.end(),
                                          [&](const auto& lectura) { return Nombra(lectura.second.sentencia, tabla); });
}

void LecturasFactura::Olvida() { lecturas_.clear(); }

void LecturasFactura::Termina() {
    Olvida();
    porSaldar_ = {};
    notas_.clear();
    folios_.clear();
    renglones_.clear();
}

}  // namespace qivera::db
