#include "qivera/printing/trazabilidad.hpp"

#include <QStringList>

#include "qivera/printing/legible.hpp"

namespace qivera {

namespace {

constexpr std::size_t kPartesDeLote = 7;

QString Q(const std::string& texto) { return QString::fromStdString(texto); }

// "VERACRUZ" → "Veracruz", "CIUDAD JUÁREZ" → "Ciudad Juárez": the customs office as a name.
QString ComoNombre(const QString& texto) {
    QString nombre = texto.toLower();
    for (qsizetype i = 0; i < nombre.size(); ++i)
        if (i == 0 || nombre[i - 1].isSpace()) nombre[i] = nombre[i].toUpper();
    return nombre;
}

// "6" and "PZA" → "6 PZA".
QString Cantidad(const QString& cantidad, const QString& unidad) {
    return unidad.isEmpty() ? cantidad : cantidad + " " + unidad;
}

QString Lote(const std::string& entrada, const QString& unidad1, const QString& unidad2) {
    const std::optional<LoteGuardado> lote = LeeLote(entrada);
    if (!lote) return Q(entrada);
    QStringList partes{"Lote " + Q(lote->clave)};
    if (!lote->cantidad1.empty()) partes << Cantidad(Q(lote->cantidad1), unidad1);
    if (!lote->cantidad2.empty() && lote->cantidad2 != "0") partes << Cantidad(Q(lote->cantidad2), unidad2);
    if (!lote->caducidad.empty()) partes << "cad. " + FechaLegible(lote->caducidad).value_or(Q(lote->caducidad));
    if (!lote->pedimento.empty())
        partes << "pedimento " + Q(lote->pedimento) +
                      (lote->aduana.empty() ? QString() : " (" + ComoNombre(Q(lote->aduana)) + ")");
    return partes.join(QStringLiteral(" · "));
}

std::vector<std::string> Partes(const std::string& texto, char separador) {
    std::vector<std::string> partes;
    std::size_t inicio = 0;
    for (std::size_t fin = texto.find(separador); fin != std::string::npos; fin = texto.find(separador, inicio)) {
        partes.push_back(texto.substr(inicio, fin - inicio));
        inicio = fin + 1;
    }
    partes.push_back(texto.substr(inicio));
    return partes;
}

}  // namespace

std::vector<std::string> EntradasDeLotes(const std::string& lotes) {
    std::vector<std::string> entradas;
    for (std::string& entrada : Partes(lotes, '|'))
        if (!entrada.empty()) entradas.push_back(std::move(entrada));
    return entradas;
}

std::optional<LoteGuardado> LeeLote(const std::string& entrada) {
    std::vector<std::string> p = Partes(entrada, '@');
    if (p.size() != kPartesDeLote) return std::nullopt;
    return LoteGuardado{p[0], p[1], p[2], p[3], p[4], p[5], p[6]};
}

QString LotesLegibles(const std::string& lotes, const std::string& unidad1, const std::string& unidad2) {
    QStringList legibles;
    for (const std::string& entrada : EntradasDeLotes(lotes)) legibles << Lote(entrada, Q(unidad1), Q(unidad2));
    return legibles.join('\n');
}

QString SeriesLegibles(const std::string& series) {
    return Q(series).split('|', Qt::SkipEmptyParts).join(QStringLiteral(", "));
}

}  // namespace qivera
