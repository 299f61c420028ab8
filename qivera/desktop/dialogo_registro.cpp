#include "qivera/desktop/dialogo_registro.hpp"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include "qivera/desktop/dialogo_comun.hpp"

namespace qivera::escritorio {

namespace {

QTableWidgetItem* Celda(const QString& texto) {
    auto* celda = new QTableWidgetItem(texto);
    celda->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    celda->setToolTip(texto);
    return celda;
}

}  // namespace

DialogoRegistro::DialogoRegistro(const std::string& tabla, const std::string& campo, const std::string& clave,
                                 const std::vector<std::string>& renglon, QWidget* padre)
    : DialogoRegistro(QStringLiteral("Visor de registros — %1 %2").arg(TextoQt(tabla), TextoQt(clave)),
                      QStringLiteral("%1: %2 = %3").arg(TextoQt(tabla), TextoQt(campo), TextoQt(clave)), renglon,
                      QStringLiteral("No existe en %1 un registro con %2 = %3.")
                          .arg(TextoQt(tabla), TextoQt(campo), TextoQt(clave)),
                      padre) {}

DialogoRegistro::DialogoRegistro(const QString& titulo, const QString& encabezado,
                                 const std::vector<std::string>& renglon, const QString& aviso, QWidget* padre)
    : QDialog(padre) {
    setWindowTitle(titulo);
    auto* disposicion = new QVBoxLayout(this);
    if (!encabezado.isEmpty()) {
        auto* rotulo = new QLabel(encabezado, this);
        rotulo->setTextInteractionFlags(Qt::TextSelectableByMouse);
        disposicion->addWidget(rotulo);
    }
    tabla_ = new QTableWidget(static_cast<int>(renglon.size()), 2, this);
    tabla_->setHorizontalHeaderLabels({QStringLiteral("Campo"), QStringLiteral("Valor")});
    tabla_->verticalHeader()->hide();
    tabla_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tabla_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tabla_->setAlternatingRowColors(true);
    tabla_->setWordWrap(true);
    for (int i = 0; i < static_cast<int>(renglon.size()); ++i) {
        const QString linea = TextoQt(renglon[static_cast<std::size_t>(i)]);
        // Field names hold no ": ", values may.
        const qsizetype corte = linea.indexOf(QStringLiteral(": "));
        tabla_->setItem(i, 0, Celda(corte < 0 ? QString() : linea.left(corte)));
        tabla_->setItem(i, 1, Celda(corte < 0 ? linea : linea.mid(corte + 2)));
    }
    tabla_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    tabla_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    tabla_->resizeRowsToContents();
    if (!renglon.empty()) tabla_->setCurrentCell(0, 0);
    disposicion->addWidget(tabla_, 1);

    aviso_ = new QLabel(aviso, this);
    aviso_->setAlignment(Qt::AlignCenter);
    aviso_->setWordWrap(true);
    disposicion->addWidget(aviso_, 1);
    tabla_->setVisible(!renglon.empty());
    aviso_->setVisible(renglon.empty());

    disposicion->addWidget(BotonesDialogo(this, QDialogButtonBox::Close));
    resize(renglon.empty() ? QSize(420, 180) : QSize(560, 520));
}

QString DialogoRegistro::Aviso() const { return tabla_->isVisibleTo(this) ? QString() : aviso_->text(); }

}  // namespace qivera::escritorio
