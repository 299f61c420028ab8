#pragma once
#include <memory>
#include <vector>

#include <QSqlQuery>

#include "kx204/host/variant.hpp"
#include "qivera/db/canal.hpp"

namespace qivera::db {

// A statement without rows, compiled once and run with many sets of values:
// what bulk loading needs to take seconds rather than minutes. It runs on the
// connection that prepared it and must not outlive it.
class SentenciaPreparada {
public:
    SentenciaPreparada(QSqlQuery consulta, std::shared_ptr<Canal> canal);
    // One value per "?" of the statement, in order; answers how many rows it changed.
    long Ejecuta(const std::vector<kx204::host::Variant>& valores);

private:
    QSqlQuery consulta_;
    std::shared_ptr<Canal> canal_;
};

}  // namespace qivera::db
