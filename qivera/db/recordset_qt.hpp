#pragma once
#include <memory>
#include <vector>

#include <QSqlQuery>
#include <QString>

#include "kx204/host/connection.hpp"
#include "qivera/db/canal.hpp"
#include "qivera/db/dialecto.hpp"

namespace qivera::db {

// The rows of one statement, read forward from the driver as they are asked for.
// A statement without rows answers an empty, already exhausted recordset. Until its last row
// is read, or it is closed or destroyed, the connection refuses other statements.
class RecordsetQt : public kx204::host::Recordset {
public:
    // `escrituras`, when given, restores the spelling of the column names the engine folded.
    RecordsetQt(QSqlQuery consulta, std::shared_ptr<Canal> canal, const Escrituras* escrituras = nullptr);
    ~RecordsetQt() override;
    RecordsetQt(const RecordsetQt&) = delete;
    RecordsetQt& operator=(const RecordsetQt&) = delete;

    bool Eof() const override;
    void MoveNext() override;
    int FieldCount() const override;
    std::string FieldName(int index) const override;
    kx204::host::Variant Field(const std::string& name) const override;
    kx204::host::Variant Field(int index) const override;
    void Close() override;

private:
    void Avanza();
    void Termina();
    void ExigeAbierto() const;
    void ExigeRenglon() const;

    QSqlQuery consulta_;
    std::shared_ptr<Canal> canal_;
    std::vector<QString> nombres_;
    bool eof_ = true;
    bool leyendo_ = false;
    bool cerrado_ = false;
};

}  // namespace qivera::db
