#include "qivera/db/valores_qt.hpp"

#include <QDateTime>

#include "kx204/host/runtime_error.hpp"

namespace qivera::db {

using kx204::host::Variant;

namespace {

bool EsEntero(int tipo) {
    switch (tipo) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Long:
        case QMetaType::ULong:
        case QMetaType::Char:
        case QMetaType::SChar:
        case QMetaType::UChar:
            return true;
        default:
            return false;
    }
}

kx204::host::Date AFecha(const QDate& fecha, const QTime& hora = QTime(0, 0)) {
    return kx204::host::Date::FromYmd(fecha.year(), fecha.month(), fecha.day(), hora.hour(), hora.minute(),
                                      hora.second());
}

// Digits of a decimal text past its leading zeros, trailing zeros of the fraction left out.
int DigitosSignificativos(const QString& texto, int* decimales) {
    const qsizetype punto = texto.indexOf('.');
    QString digitos = texto;
    digitos.remove('-').remove('+');
    if (punto >= 0) {
        while (digitos.endsWith('0')) digitos.chop(1);
        if (digitos.endsWith('.')) digitos.chop(1);
    }
    const qsizetype puntoRecortado = digitos.indexOf('.');
    *decimales = puntoRecortado < 0 ? 0 : static_cast<int>(digitos.size() - puntoRecortado - 1);
    digitos.remove('.');
    qsizetype inicio = 0;
    while (inicio < digitos.size() && digitos[inicio] == '0') ++inicio;
    return static_cast<int>(digitos.size() - inicio);
}

}  // namespace

Variant ADecimal(const QString& texto) {
    constexpr int kDigitosDeUnDouble = 15;
    int decimales = 0;
    const int digitos = DigitosSignificativos(texto, &decimales);
    bool convertido = false;
    const double valor = texto.toDouble(&convertido);
    if (!convertido) return Variant(texto.toStdString());
    if (digitos <= kDigitosDeUnDouble || decimales > 4) return Variant(valor);
    try {
        return Variant(kx204::host::Currency::Parse(texto.toStdString()));
    } catch (const kx204::host::RuntimeError&) {
        return Variant(valor);  // beyond the currency's range
    }
}

Variant AVariant(const QVariant& valor) {
    if (!valor.isValid() || valor.isNull()) return Variant::Null;
    const int tipo = valor.typeId();
    if (tipo == QMetaType::Bool) return Variant(valor.toBool());
    if (EsEntero(tipo)) return Variant(static_cast<long long>(valor.toLongLong()));
    if (tipo == QMetaType::Double || tipo == QMetaType::Float) return Variant(valor.toDouble());
    if (tipo == QMetaType::QDate) return Variant(AFecha(valor.toDate()));
    if (tipo == QMetaType::QDateTime) return Variant(AFecha(valor.toDateTime().date(), valor.toDateTime().time()));
    if (tipo == QMetaType::QByteArray) return Variant(valor.toByteArray().toStdString());
    return Variant(valor.toString().toStdString());
}

QVariant AQVariant(const Variant& valor) {
    switch (valor.type()) {
        case Variant::Type::Empty:
        case Variant::Type::Null:
            return QVariant();
        case Variant::Type::Boolean:
            return QVariant(valor.ToBool());
        case Variant::Type::Integer:
            return QVariant(static_cast<qlonglong>(std::stoll(valor.ToText())));
        case Variant::Type::Double:
            return QVariant(valor.ToDouble());
        case Variant::Type::Currency:
        case Variant::Type::Date:
        case Variant::Type::Text:
            return QVariant(QString::fromStdString(valor.ToText()));
    }
    return QVariant();
}

}  // namespace qivera::db
