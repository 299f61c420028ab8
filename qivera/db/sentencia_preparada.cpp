#include "qivera/db/sentencia_preparada.hpp"

#include "qivera/db/valores_qt.hpp"

namespace qivera::db {

SentenciaPreparada::SentenciaPreparada(QSqlQuery consulta, std::shared_ptr<Canal> canal)
    : consulta_(std::move(consulta)), canal_(std::move(canal)) {}

long SentenciaPreparada::Ejecuta(const std::vector<kx204::host::Variant>& valores) {
    for (std::size_t i = 0; i < valores.size(); ++i) consulta_.bindValue(static_cast<int>(i), AQVariant(valores[i]));
    canal_->ExigeSinLecturas();
    if (canal_->antesDeEscribir) canal_->antesDeEscribir();
    if (!canal_->Corre([&] { return consulta_.exec(); })) throw canal_->Falla(consulta_.lastError());
    return consulta_.numRowsAffected();
}

}  // namespace qivera::db
