#pragma once
#include <QDialog>
#include <map>
#include <string>

class QLabel;
class QTableWidget;

namespace qivera::escritorio {

// The toolbar's additional fields of a document: a table of field and value with rows to add
// and remove. Accepting writes the table back into `valores`; cancelling leaves it untouched.
class DialogoCamposAdicionales : public QDialog {
    Q_OBJECT
public:
    explicit DialogoCamposAdicionales(std::map<std::string, std::string>& valores, QWidget* padre = nullptr);

    QTableWidget* Tabla() const { return tabla_; }
    // Appends a row and starts editing its field name.
    void AgregaRenglon(const QString& campo = {}, const QString& valor = {});
    // Removes the selected rows, or the current one.
    void QuitaRenglon();
    // Why the last accept was refused (a field without a name, or named twice); empty otherwise.
    QString Error() const;

    // Refuses to close while the table holds a field it cannot store.
    void accept() override;

private:
    std::map<std::string, std::string>& valores_;
    QTableWidget* tabla_;
    QLabel* error_;
};

}  // namespace qivera::escritorio
