#pragma once
#include <memory>
#include <vector>

#include <QSqlQuery>
#include <QString>

#include "kx204/host/connection.hpp"
#include "qivera/db/limite_tiempo.hpp"

namespace qivera::db {

// The rows of one statement, read forward from the driver as they are asked for.
// A statement without rows answers an empty, already exhausted recordset.
class RecordsetQt : public kx204::host::Recordset {
public:
    RecordsetQt(QSqlQuery consulta, std::shared_ptr<LimiteTiempo> limite);

    bool Eof() const override;
    void MoveNext() override;
    int FieldCount() const override;
    std::string FieldName(int index) const override;
    kx204::host::Variant Field(const std::string& name) const override;
    kx204::host::Variant Field(int index) const override;
    void Close() override;

private:
    void Avanza();
    void ExigeAbierto() const;
    void ExigeRenglon() const;

    QSqlQuery consulta_;
    std::shared_ptr<LimiteTiempo> limite_;
    std::vector<QString> nombres_;
    bool eof_ = true;
    bool cerrado_ = false;
};

}  // namespace qivera::db
