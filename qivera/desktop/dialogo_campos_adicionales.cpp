#include "qivera/desktop/dialogo_campos_adicionales.hpp"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <set>

#include "qivera/desktop/dialogo_comun.hpp"

namespace qivera::escritorio {

namespace {

QString TextoCelda(const QTableWidget* tabla, int fila, int columna) {
    const QTableWidgetItem* celda = tabla->item(fila, columna);
    return celda == nullptr ? QString() : celda->text();
}

}  // namespace

DialogoCamposAdicionales::DialogoCamposAdicionales(std::map<std::string, std::string>& valores, QWidget* padre)
    : QDialog(padre), valores_(valores) {
    setWindowTitle(QStringLiteral("Campos adicionales"));
    auto* disposicion = new QVBoxLayout(this);
    tabla_ = new QTableWidget(0, 2, this);
    tabla_->setHorizontalHeaderLabels({QStringLiteral("Campo"), QStringLiteral("Valor")});
    tabla_->verticalHeader()->hide();
    tabla_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tabla_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Interactive);
    tabla_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    tabla_->setColumnWidth(0, 180);
    // Taken verbatim, line breaks included, so a value nobody touched goes back unchanged.
    for (const auto& [campo, valor] : valores) {
        const int fila = tabla_->rowCount();
        tabla_->insertRow(fila);
        tabla_->setItem(fila, 0, new QTableWidgetItem(QString::fromStdString(campo)));
        tabla_->setItem(fila, 1, new QTableWidgetItem(QString::fromStdString(valor)));
    }
    if (tabla_->rowCount() > 0) tabla_->setCurrentCell(0, 1);
    disposicion->addWidget(tabla_, 1);

    auto* agregar = new QPushButton(QStringLiteral("Agregar"), this);
    auto* quitar = new QPushButton(QStringLiteral("Quitar"), this);
    agregar->setAutoDefault(false);
    quitar->setAutoDefault(false);
    connect(agregar, &QPushButton::clicked, this, [this] { AgregaRenglon(); });
    connect(quitar, &QPushButton::clicked, this, &DialogoCamposAdicionales::QuitaRenglon);
    auto* fila = new QHBoxLayout;
    fila->addWidget(agregar);
    fila->addWidget(quitar);
    fila->addStretch(1);
    disposicion->addLayout(fila);

    error_ = new QLabel(this);
    error_->setStyleSheet(QStringLiteral("color: #b00020;"));
    error_->setWordWrap(true);
    error_->hide();
    disposicion->addWidget(error_);
    disposicion->addWidget(BotonesDialogo(this, QDialogButtonBox::Ok | QDialogButtonBox::Cancel));
    resize(540, 380);
}

void DialogoCamposAdicionales::AgregaRenglon(const QString& campo, const QString& valor) {
    const int fila = tabla_->rowCount();
    tabla_->insertRow(fila);
    tabla_->setItem(fila, 0, new QTableWidgetItem(campo));
    tabla_->setItem(fila, 1, new QTableWidgetItem(valor));
    tabla_->setCurrentCell(fila, 0);
    if (isVisible()) tabla_->editItem(tabla_->item(fila, 0));
}

void DialogoCamposAdicionales::QuitaRenglon() {
    std::set<int, std::greater<>> filas;
    for (const QModelIndex& indice : tabla_->selectionModel()->selectedRows()) filas.insert(indice.row());
    if (filas.empty() && tabla_->currentRow() >= 0) filas.insert(tabla_->currentRow());
    for (int fila : filas) tabla_->removeRow(fila);
}

QString DialogoCamposAdicionales::Error() const { return error_->text(); }

void DialogoCamposAdicionales::accept() {
    std::map<std::string, std::string> nuevos;
    QString problema;
    for (int fila = 0; fila < tabla_->rowCount() && problema.isEmpty(); ++fila) {
        const QString campo = TextoCelda(tabla_, fila, 0).trimmed();
        const QString valor = TextoCelda(tabla_, fila, 1);
        if (campo.isEmpty()) {
            // A row left blank is a slip, not a field.
            if (!valor.trimmed().isEmpty())
                problema = QStringLiteral("Falta el nombre del campo del renglón %1.").arg(fila + 1);
        } else if (!nuevos.emplace(TextoStd(campo), TextoStd(valor)).second) {
            problema = QStringLiteral("El campo «%1» está repetido.").arg(campo);
        }
        if (!problema.isEmpty()) tabla_->setCurrentCell(fila, 0);
    }
    error_->setText(problema);
    error_->setVisible(!problema.isEmpty());
    if (!problema.isEmpty()) return;
    valores_ = std::move(nuevos);
    QDialog::accept();
}

}  // namespace qivera::escritorio
