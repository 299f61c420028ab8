#include "qivera/db/valores_qt.hpp"

#include <QDateTime>

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

}  // namespace

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
