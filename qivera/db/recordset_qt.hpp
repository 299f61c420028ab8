#pragma once
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
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
    // `sentencia`, when given, is the statement as written: the column names the engine folded get its
    // spelling back, when they are first asked for.
    RecordsetQt(QSqlQuery consulta, std::shared_ptr<Canal> canal, std::optional<std::string> sentencia = {});
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
    mutable std::vector<QString> nombres_;
    mutable std::unordered_map<std::string, int> indices_;  // names in capitals, made at the first asked for
    std::vector<bool> decimales_;                   // numeric columns, which may come as the server's decimal text
    mutable std::optional<std::string> sentencia_;  // until the names are spelt as it writes them
    bool eof_ = true;
    bool leyendo_ = false;
    bool cerrado_ = false;
};

}  // namespace qivera::db
