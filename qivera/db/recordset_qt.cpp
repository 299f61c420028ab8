#include "qivera/db/recordset_qt.hpp"

#include <QSqlRecord>

#include "kx204/host/runtime_error.hpp"
#include "qivera/db/valores_qt.hpp"

namespace qivera::db {

using kx204::host::RuntimeError;

namespace {

// ADO's numbers and texts, which the screen's error messages show.
RuntimeError ElementoInexistente() {
    return {3265, "Item cannot be found in the collection corresponding to the requested name or ordinal."};
}
RuntimeError SinRenglonActual() {
    return {3021,
            "Either BOF or EOF is True, or the current record has been deleted. "
            "Requested operation requires a current record."};
}
RuntimeError RecordsetCerrado() { return {3704, "Operation is not allowed when the object is closed."}; }

}  // namespace

RecordsetQt::RecordsetQt(QSqlQuery consulta, std::shared_ptr<LimiteTiempo> limite)
    : consulta_(std::move(consulta)), limite_(std::move(limite)) {
    if (!consulta_.isSelect()) return;
    const QSqlRecord registro = consulta_.record();
    for (int i = 0; i < registro.count(); ++i) nombres_.push_back(registro.fieldName(i));
    Avanza();
}

void RecordsetQt::Avanza() {
    eof_ = !limite_->Vigila([&] { return consulta_.next(); });
    if (!eof_) return;
    if (consulta_.lastError().isValid()) throw limite_->Error(consulta_.lastError());
    consulta_.finish();  // releases the engine's statement and its read lock at once
}

void RecordsetQt::ExigeAbierto() const {
    if (cerrado_) throw RecordsetCerrado();
}

void RecordsetQt::ExigeRenglon() const {
    ExigeAbierto();
    if (eof_) throw SinRenglonActual();
}

bool RecordsetQt::Eof() const {
    ExigeAbierto();
    return eof_;
}

void RecordsetQt::MoveNext() {
    ExigeRenglon();
    Avanza();
}

int RecordsetQt::FieldCount() const {
    ExigeAbierto();
    return static_cast<int>(nombres_.size());
}

std::string RecordsetQt::FieldName(int index) const {
    ExigeAbierto();
    if (index < 0 || index >= FieldCount()) throw ElementoInexistente();
    return nombres_[static_cast<std::size_t>(index)].toStdString();
}

kx204::host::Variant RecordsetQt::Field(const std::string& name) const {
    const QString buscado = QString::fromStdString(name);
    for (std::size_t i = 0; i < nombres_.size(); ++i)
        if (nombres_[i].compare(buscado, Qt::CaseInsensitive) == 0) return Field(static_cast<int>(i));
    ExigeAbierto();
    throw ElementoInexistente();
}

kx204::host::Variant RecordsetQt::Field(int index) const {
    if (index < 0 || index >= FieldCount()) throw ElementoInexistente();
    ExigeRenglon();
    return AVariant(consulta_.value(index));
}

void RecordsetQt::Close() {
    ExigeAbierto();
    consulta_.finish();
    cerrado_ = true;
}

}  // namespace qivera::db
