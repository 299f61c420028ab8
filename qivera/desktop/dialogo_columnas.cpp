#include "qivera/desktop/dialogo_columnas.hpp"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "qivera/desktop/dialogo_comun.hpp"

namespace qivera::escritorio {

ArgumentosColumnas SeparaColumnas(const std::vector<std::string>& args) {
    const auto marca = std::find(args.begin(), args.end(), kMarcaVisibles);
    if (marca == args.end()) return {args, {}};
    return {std::vector<std::string>(args.begin(), marca), std::vector<std::string>(marca + 1, args.end())};
}

DialogoColumnas::DialogoColumnas(const std::vector<std::string>& captions, const std::vector<std::string>& visibles,
                                 QWidget* padre)
    : QDialog(padre) {
    setWindowTitle(QStringLiteral("Columnas visibles"));
    auto* disposicion = new QVBoxLayout(this);
    disposicion->addWidget(new QLabel(QStringLiteral("Marque las columnas que desea ver:"), this));
    lista_ = new QListWidget(this);
    for (const auto& caption : captions) {
        auto* item = new QListWidgetItem(TextoQt(caption), lista_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        const bool visible = visibles.empty() || std::find(visibles.begin(), visibles.end(), caption) != visibles.end();
        item->setCheckState(visible ? Qt::Checked : Qt::Unchecked);
        // Kept apart from the shown text so the answer names the caption exactly as given.
        item->setData(Qt::UserRole, QByteArray::fromStdString(caption));
    }
    if (lista_->count() > 0) lista_->setCurrentRow(0);
    disposicion->addWidget(lista_, 1);

    auto* todas = new QPushButton(QStringLiteral("Todas"), this);
    auto* ninguna = new QPushButton(QStringLiteral("Ninguna"), this);
    todas->setAutoDefault(false);
    ninguna->setAutoDefault(false);
    auto marcaTodas = [this](Qt::CheckState estado) {
        for (int i = 0; i < lista_->count(); ++i) lista_->item(i)->setCheckState(estado);
    };
    connect(todas, &QPushButton::clicked, this, [marcaTodas] { marcaTodas(Qt::Checked); });
    connect(ninguna, &QPushButton::clicked, this, [marcaTodas] { marcaTodas(Qt::Unchecked); });
    auto* fila = new QHBoxLayout;
    fila->addWidget(todas);
    fila->addWidget(ninguna);
    fila->addStretch(1);
    disposicion->addLayout(fila);

    QDialogButtonBox* botones = BotonesDialogo(this, QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    aceptar_ = botones->button(QDialogButtonBox::Ok);
    disposicion->addWidget(botones);
    connect(lista_, &QListWidget::itemChanged, this, &DialogoColumnas::ActualizaEstado);
    ActualizaEstado();
    resize(340, 420);
}

std::vector<std::string> DialogoColumnas::Marcadas() const {
    std::vector<std::string> marcadas;
    for (int i = 0; i < lista_->count(); ++i)
        if (lista_->item(i)->checkState() == Qt::Checked)
            marcadas.push_back(lista_->item(i)->data(Qt::UserRole).toByteArray().toStdString());
    return marcadas;
}

std::string DialogoColumnas::Elegidas() const {
    if (result() != QDialog::Accepted) return {};
    const std::vector<std::string> marcadas = Marcadas();
    std::string unidas;
    for (std::size_t i = 0; i < marcadas.size(); ++i) unidas += (i == 0 ? "" : "|") + marcadas[i];
    return unidas;
}

void DialogoColumnas::accept() {
    if (Marcadas().empty()) return;
    QDialog::accept();
}

void DialogoColumnas::ActualizaEstado() { aceptar_->setEnabled(!Marcadas().empty()); }

}  // namespace qivera::escritorio
