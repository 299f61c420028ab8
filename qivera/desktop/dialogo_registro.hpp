#pragma once
#include <QDialog>
#include <string>
#include <vector>

class QLabel;
class QTableWidget;

namespace qivera::escritorio {

// A read-only two-column table (field, value) of "Campo: valor" lines: the record viewer, or
// anything else the host only shows.
class DialogoRegistro : public QDialog {
    Q_OBJECT
public:
    // The record viewer of `tabla` where `campo` = `clave`; an empty `renglon` means there is no such record.
    DialogoRegistro(const std::string& tabla, const std::string& campo, const std::string& clave,
                    const std::vector<std::string>& renglon, QWidget* padre = nullptr);
    // Lines shown under `titulo`, with `aviso` in place of the table when there are none.
    DialogoRegistro(const QString& titulo, const QString& encabezado, const std::vector<std::string>& renglon,
                    const QString& aviso, QWidget* padre = nullptr);

    QTableWidget* Tabla() const { return tabla_; }
    // The note shown instead of the table; empty when the table is shown.
    QString Aviso() const;

private:
    QTableWidget* tabla_;
    QLabel* aviso_;
};

}  // namespace qivera::escritorio
