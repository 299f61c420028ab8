#include "kx204/host/recordset_leido.hpp"

#include <algorithm>
#include <cctype>
#include <utility>

#include "kx204/host/runtime_error.hpp"

namespace kx204::host {

namespace {

// Field names compare as ADO compares them: without regard to case.
bool MismoNombre(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

RecordsetLeido::RecordsetLeido(Recordset& origen) {
    const int columnas = origen.FieldCount();
    for (int i = 0; i < columnas; ++i) nombres_.push_back(origen.FieldName(i));
    for (; !origen.Eof(); origen.MoveNext()) {
        std::vector<Variant>& fila = filas_.emplace_back();
        fila.reserve(static_cast<std::size_t>(columnas));
        for (int i = 0; i < columnas; ++i) fila.push_back(origen.Field(i));
    }
    origen.Close();
}

RecordsetLeido::RecordsetLeido(std::vector<std::string> nombres, std::vector<std::vector<Variant>> filas)
    : nombres_(std::move(nombres)), filas_(std::move(filas)) {}

void RecordsetLeido::ExigeAbierto() const {
    if (cerrado_) throw ObjectClosedError();
}

bool RecordsetLeido::Eof() const {
    ExigeAbierto();
    return actual_ >= filas_.size();
}

void RecordsetLeido::MoveNext() {
    if (Eof()) throw NoCurrentRecordError();
    ++actual_;
}

int RecordsetLeido::FieldCount() const {
    ExigeAbierto();
    return static_cast<int>(nombres_.size());
}

std::string RecordsetLeido::FieldName(int index) const {
    if (index < 0 || index >= FieldCount()) throw ItemNotFoundError();
    return nombres_[static_cast<std::size_t>(index)];
}

Variant RecordsetLeido::Field(const std::string& name) const {
    ExigeAbierto();
    const auto nombre = std::find_if(nombres_.begin(), nombres_.end(),
                                     [&](const std::string& candidato) { return MismoNombre(candidato, name); });
    if (nombre == nombres_.end()) throw ItemNotFoundError();
    return Field(static_cast<int>(nombre - nombres_.begin()));
}

Variant RecordsetLeido::Field(int index) const {
    if (index < 0 || index >= FieldCount()) throw ItemNotFoundError();
    if (Eof()) throw NoCurrentRecordError();
    return filas_[actual_][static_cast<std::size_t>(index)];
}

void RecordsetLeido::Close() {
    ExigeAbierto();
    cerrado_ = true;
}

std::unique_ptr<Recordset> LeeCompleto(std::unique_ptr<Recordset> origen) {
    return std::make_unique<RecordsetLeido>(*origen);
}

}  // namespace kx204::host
