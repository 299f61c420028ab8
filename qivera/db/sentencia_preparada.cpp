#include "qivera/db/sentencia_preparada.hpp"

#include "qivera/db/valores_qt.hpp"

namespace qivera::db {

SentenciaPreparada::SentenciaPreparada(QSqlQuery consulta, std::shared_ptr<LimiteTiempo> limite)
    : consulta_(std::move(consulta)), limite_(std::move(limite)) {}

void SentenciaPreparada::Ejecuta(const std::vector<kx204::host::Variant>& valores) {
    for (std::size_t i = 0; i < valores.size(); ++i) consulta_.bindValue(static_cast<int>(i), AQVariant(valores[i]));
    if (!limite_->Vigila([&] { return consulta_.exec(); })) throw limite_->Error(consulta_.lastError());
}

}  // namespace qivera::db
