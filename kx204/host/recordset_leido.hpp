#pragma once
#include <memory>
#include <string>
#include <vector>

#include "kx204/host/connection.hpp"

namespace kx204::host {

// Every row of a recordset, read to the end and kept. A connection runs one statement at a time
// (PostgreSQL drops the rows still unread, SQL Server without MARS refuses the next statement), so
// rows used while other statements run are read first.
class RecordsetLeido : public Recordset {
public:
    // Reads `origen` to its end and closes it.
    explicit RecordsetLeido(Recordset& origen);
    // Rows already read, a value per name in each.
    RecordsetLeido(std::vector<std::string> nombres, std::vector<std::vector<Variant>> filas);

    bool Eof() const override;
    void MoveNext() override;
    int FieldCount() const override;
    std::string FieldName(int index) const override;
    Variant Field(const std::string& name) const override;
    Variant Field(int index) const override;
    void Close() override;

private:
    void ExigeAbierto() const;

    std::vector<std::string> nombres_;
    std::vector<std::vector<Variant>> filas_;
    std::size_t actual_ = 0;
    bool cerrado_ = false;
};

// What a statement answers, read whole.
std::unique_ptr<Recordset> LeeCompleto(std::unique_ptr<Recordset> origen);

}  // namespace kx204::host
