#pragma once
#include <QDialog>
#include <memory>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QSortFilterProxyModel;
class QStringListModel;

namespace qivera::escritorio {

// A list to choose one text from, optionally with a filter box that narrows it as one types.
// Each option may show its description beside it ("01 — Av. Reforma 12"); the answer is the option.
// Enter or a double-click chooses; the answer is read with Elegido() after the dialog closes.
class DialogoEleccion : public QDialog {
    Q_OBJECT
public:
    DialogoEleccion(const QString& titulo, const QString& etiqueta, const std::vector<std::string>& opciones,
                    const std::vector<std::string>& descripciones, const std::string& actual, bool conFiltro,
                    QWidget* padre = nullptr);

    // The chosen text once accepted; "" when rejected or nothing was selected.
    std::string Elegido() const;
    // The text of the current row, whether or not the dialog was accepted.
    std::string Actual() const;
    // The rows the filter lets through.
    int Visibles() const;

    QLineEdit* Filtro() const { return filtro_; }  // null without a filter box
    QListView* Lista() const { return lista_; }

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void Filtra(const QString& texto);
    void ActualizaEstado();

    std::vector<std::string> opciones_;
    QStringListModel* modelo_;
    QSortFilterProxyModel* filtrado_;
    QLineEdit* filtro_ = nullptr;
    QListView* lista_;
    QLabel* conteo_;
    QPushButton* aceptar_;
};

// The chooser for a kind the host asks: "direccion" {catalogo, cliente, actual},
// "registro" {consulta, condicion}, "metodo_pago" {cliente, actual}, "motivo_cancelacion" {factura};
// any other kind is a generic list titled with the kind.
std::unique_ptr<DialogoEleccion> CreaEleccion(const std::string& tipo, const std::vector<std::string>& args,
                                              const std::vector<std::string>& opciones,
                                              const std::vector<std::string>& descripciones = {},
                                              QWidget* padre = nullptr);

}  // namespace qivera::escritorio
