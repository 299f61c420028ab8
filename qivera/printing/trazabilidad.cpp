#include "qivera/printing/trazabilidad.hpp"

#include <QStringList>

#include "qivera/printing/legible.hpp"

namespace qivera {

namespace {

constexpr int kPartesDeLote = 7;

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

QString Lote(const QString& entrada, const QString& unidad1, const QString& unidad2) {
    const QStringList p = entrada.split('@');
    if (p.size() != kPartesDeLote) return entrada;
    const QString &clave = p[0], &cantidad = p[1], &cantidad2 = p[2], &caducidad = p[3], &pedimento = p[4],
                  &aduana = p[6];
    QStringList partes{"Lote " + clave};
    if (!cantidad.isEmpty()) partes << Cantidad(cantidad, unidad1);
    if (!cantidad2.isEmpty() && cantidad2 != "0") partes << Cantidad(cantidad2, unidad2);
    if (!caducidad.isEmpty()) partes << "cad. " + FechaLegible(caducidad.toStdString()).value_or(caducidad);
    if (!pedimento.isEmpty())
        partes << "pedimento " + pedimento + (aduana.isEmpty() ? QString() : " (" + ComoNombre(aduana) + ")");
    return partes.join(QStringLiteral(" · "));
}

}  // namespace

QString LotesLegibles(const std::string& lotes, const std::string& unidad1, const std::string& unidad2) {
    QStringList legibles;
    for (const QString& entrada : Q(lotes).split('|', Qt::SkipEmptyParts))
        legibles << Lote(entrada, Q(unidad1), Q(unidad2));
    return legibles.join('\n');
}

QString SeriesLegibles(const std::string& series) {
    return Q(series).split('|', Qt::SkipEmptyParts).join(QStringLiteral(", "));
}

}  // namespace qivera
