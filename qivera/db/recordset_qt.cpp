#include "qivera/db/recordset_qt.hpp"

#include <QSqlField>
#include <QSqlRecord>

#include "kx204/host/runtime_error.hpp"
#include "kx204/host/texto.hpp"
#include "qivera/db/valores_qt.hpp"

namespace qivera::db {

namespace {

QString Escrito(const QString& nombre, const Escrituras& escrituras) {
    const auto escrito = escrituras.find(nombre.toStdString());
    return escrito == escrituras.end() ? nombre : QString::fromStdString(escrito->second);
}

}  // namespace

RecordsetQt::RecordsetQt(QSqlQuery consulta, std::shared_ptr<Canal> canal, std::optional<std::string> sentencia)
    : consulta_(std::move(consulta)), canal_(std::move(canal)), sentencia_(std::move(sentencia)) {
    if (!consulta_.isSelect()) return;
    const QSqlRecord registro = consulta_.record();
    for (int i = 0; i < registro.count(); ++i) {
        nombres_.push_back(registro.fieldName(i));
        decimales_.push_back(registro.field(i).metaType().id() == QMetaType::Double);
    }
    canal_->AbreLectura(consulta_.lastQuery().simplified().toStdString());
    leyendo_ = true;
    Avanza();
}

RecordsetQt::~RecordsetQt() {
    if (leyendo_) canal_->CierraLectura();
}

void RecordsetQt::Avanza() {
    eof_ = !canal_->Corre([&] { return consulta_.next(); });
    if (!eof_) return;
    Termina();
    if (consulta_.lastError().isValid()) throw canal_->Falla(consulta_.lastError());
    consulta_.finish();  // releases the engine's statement and its read lock at once
}

void RecordsetQt::Termina() {
    if (leyendo_) canal_->CierraLectura();
    leyendo_ = false;
}

void RecordsetQt::ExigeAbierto() const {
    if (cerrado_) throw kx204::host::ObjectClosedError();
}

void RecordsetQt::ExigeRenglon() const {
    ExigeAbierto();
    if (eof_) throw kx204::host::NoCurrentRecordError();
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
    if (index < 0 || index >= FieldCount()) throw kx204::host::ItemNotFoundError();
    if (sentencia_) {
        const Escrituras escrituras = EscriturasDeNombres(*sentencia_);
        for (QString& nombre : nombres_) nombre = Escrito(nombre, escrituras);
        sentencia_.reset();
    }
    return nombres_[static_cast<std::size_t>(index)].toStdString();
}

// A field asked for by name row after row (a long invoice's lines) is found without comparing every name.
kx204::host::Variant RecordsetQt::Field(const std::string& name) const {
    if (indices_.empty())
        for (std::size_t i = 0; i < nombres_.size(); ++i)
            indices_.emplace(kx204::host::Mayusculas(nombres_[i].toStdString()), static_cast<int>(i));
    const auto indice = indices_.find(kx204::host::Mayusculas(name));
    if (indice != indices_.end()) return Field(indice->second);
    ExigeAbierto();
    throw kx204::host::ItemNotFoundError();
}

kx204::host::Variant RecordsetQt::Field(int index) const {
    if (index < 0 || index >= FieldCount()) throw kx204::host::ItemNotFoundError();
    ExigeRenglon();
    const QVariant valor = consulta_.value(index);
    if (decimales_[static_cast<std::size_t>(index)] && valor.typeId() == QMetaType::QString)
        return ADecimal(valor.toString());
    return AVariant(valor);
}

void RecordsetQt::Close() {
    ExigeAbierto();
    consulta_.finish();
    Termina();
    cerrado_ = true;
}

}  // namespace qivera::db
