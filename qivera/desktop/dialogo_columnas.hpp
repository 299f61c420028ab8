#pragma once
#include <QDialog>
#include <string>
#include <vector>

class QListWidget;
class QPushButton;

namespace qivera::escritorio {

// Marks, inside the arguments of Elige("columnas", …), where the captions end and the ones
// shown now begin: {todas…, kMarcaVisibles, visibles…}. Without it every column starts checked.
inline constexpr char kMarcaVisibles[] = "--visibles";

struct ArgumentosColumnas {
    std::vector<std::string> captions;
    std::vector<std::string> visibles;  // empty: all of them
};
ArgumentosColumnas SeparaColumnas(const std::vector<std::string>& args);

// The list's column chooser: one check box per caption. The answer is the checked captions in
// their order joined by '|'; a list needs one column, so it cannot be accepted with none.
class DialogoColumnas : public QDialog {
    Q_OBJECT
public:
    DialogoColumnas(const std::vector<std::string>& captions, const std::vector<std::string>& visibles,
                    QWidget* padre = nullptr);

    // "A|B|C" once accepted, "" when cancelled.
    std::string Elegidas() const;
    QListWidget* Lista() const { return lista_; }

    void accept() override;

private:
    std::vector<std::string> Marcadas() const;
    void ActualizaEstado();

    QListWidget* lista_;
    QPushButton* aceptar_;
};

}  // namespace qivera::escritorio
