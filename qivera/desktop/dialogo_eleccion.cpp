#include "qivera/desktop/dialogo_eleccion.hpp"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStringListModel>
#include <QVBoxLayout>
#include <algorithm>

#include "qivera/desktop/dialogo_comun.hpp"

namespace qivera::escritorio {

namespace {

// Short lists are read at a glance; longer ones get a filter box.
constexpr std::size_t kOpcionesSinFiltro = 12;

std::string Argumento(const std::vector<std::string>& args, std::size_t i) {
    return i < args.size() ? args[i] : std::string();
}

}  // namespace

DialogoEleccion::DialogoEleccion(const QString& titulo, const QString& etiqueta,
                                 const std::vector<std::string>& opciones,
                                 const std::vector<std::string>& descripciones, const std::string& actual,
                                 bool conFiltro, QWidget* padre)
    : QDialog(padre), opciones_(opciones) {
    setWindowTitle(titulo);
    QStringList textos;
    for (std::size_t i = 0; i < opciones.size(); ++i) {
        const std::string descripcion = Argumento(descripciones, i);
        textos << (descripcion.empty() ? TextoQt(opciones[i]) : TextoQt(opciones[i] + " — " + descripcion));
    }
    modelo_ = new QStringListModel(textos, this);
    filtrado_ = new QSortFilterProxyModel(this);
    filtrado_->setSourceModel(modelo_);
    filtrado_->setFilterCaseSensitivity(Qt::CaseInsensitive);

    auto* disposicion = new QVBoxLayout(this);
    if (!etiqueta.isEmpty()) {
        auto* encabezado = new QLabel(etiqueta, this);
        encabezado->setWordWrap(true);
        disposicion->addWidget(encabezado);
    }
    if (conFiltro) {
        auto* fila = new QHBoxLayout;
        auto* rotulo = new QLabel(QStringLiteral("Buscar:"), this);
        filtro_ = new QLineEdit(this);
        filtro_->setClearButtonEnabled(true);
        rotulo->setBuddy(filtro_);
        fila->addWidget(rotulo);
        fila->addWidget(filtro_, 1);
        disposicion->addLayout(fila);
        connect(filtro_, &QLineEdit::textChanged, this, &DialogoEleccion::Filtra);
        // The arrows move through the list while the caret stays in the filter box.
        filtro_->installEventFilter(this);
    }
    lista_ = new QListView(this);
    lista_->setModel(filtrado_);
    lista_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lista_->setSelectionMode(QAbstractItemView::SingleSelection);
    lista_->setUniformItemSizes(true);
    disposicion->addWidget(lista_, 1);
    conteo_ = new QLabel(this);
    conteo_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    disposicion->addWidget(conteo_);
    QDialogButtonBox* botones = BotonesDialogo(this, QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    aceptar_ = botones->button(QDialogButtonBox::Ok);
    disposicion->addWidget(botones);

    connect(lista_, &QListView::doubleClicked, this, &QDialog::accept);
    connect(lista_->selectionModel(), &QItemSelectionModel::currentChanged, this, &DialogoEleccion::ActualizaEstado);

    const auto posicion = std::find(opciones.begin(), opciones.end(), actual);
    const int fila = posicion == opciones.end() ? 0 : static_cast<int>(posicion - opciones.begin());
    if (!opciones.empty()) lista_->setCurrentIndex(filtrado_->index(fila, 0));
    ActualizaEstado();
    resize(conFiltro ? QSize(460, 480) : QSize(400, 340));
    if (filtro_ != nullptr)
        filtro_->setFocus();
    else
        lista_->setFocus();
}

std::string DialogoEleccion::Elegido() const { return result() == QDialog::Accepted ? Actual() : std::string(); }

std::string DialogoEleccion::Actual() const {
    const QModelIndex actual = filtrado_->mapToSource(lista_->currentIndex());
    return actual.isValid() ? opciones_.at(static_cast<std::size_t>(actual.row())) : std::string();
}

int DialogoEleccion::Visibles() const { return filtrado_->rowCount(); }

bool DialogoEleccion::eventFilter(QObject* objeto, QEvent* evento) {
    if (objeto == filtro_ && evento->type() == QEvent::KeyPress) {
        const int tecla = static_cast<QKeyEvent*>(evento)->key();
        if (tecla == Qt::Key_Up || tecla == Qt::Key_Down || tecla == Qt::Key_PageUp || tecla == Qt::Key_PageDown) {
            QKeyEvent copia(QEvent::KeyPress, tecla, static_cast<QKeyEvent*>(evento)->modifiers());
            QCoreApplication::sendEvent(lista_, &copia);
            return true;
        }
    }
    return QDialog::eventFilter(objeto, evento);
}

void DialogoEleccion::Filtra(const QString& texto) {
    // Keep the row the person had while it still matches; otherwise the first one that does.
    const QModelIndex antes = filtrado_->mapToSource(lista_->currentIndex());
    filtrado_->setFilterFixedString(texto);
    const QModelIndex despues = filtrado_->mapFromSource(antes);
    if (despues.isValid())
        lista_->setCurrentIndex(despues);
    else if (filtrado_->rowCount() > 0)
        lista_->setCurrentIndex(filtrado_->index(0, 0));
    lista_->scrollTo(lista_->currentIndex());
    ActualizaEstado();
}

void DialogoEleccion::ActualizaEstado() {
    const int total = modelo_->rowCount();
    if (total == 0)
        conteo_->setText(QStringLiteral("No hay elementos para elegir"));
    else if (filtrado_->rowCount() == total)
        conteo_->setText(total == 1 ? QStringLiteral("1 elemento") : QStringLiteral("%1 elementos").arg(total));
    else
        conteo_->setText(QStringLiteral("%1 de %2").arg(filtrado_->rowCount()).arg(total));
    aceptar_->setEnabled(lista_->currentIndex().isValid());
}

std::unique_ptr<DialogoEleccion> CreaEleccion(const std::string& tipo, const std::vector<std::string>& args,
                                              const std::vector<std::string>& opciones,
                                              const std::vector<std::string>& descripciones, QWidget* padre) {
    const bool largo = opciones.size() > kOpcionesSinFiltro;
    if (tipo == "direccion")
        return std::make_unique<DialogoEleccion>(
            QStringLiteral("Dirección de entrega"),
            QStringLiteral("Direcciones de entrega de %1:").arg(TextoQt(Argumento(args, 1))), opciones, descripciones,
            Argumento(args, 2), largo, padre);
    if (tipo == "metodo_pago")
        return std::make_unique<DialogoEleccion>(
            QStringLiteral("Método de pago"),
            QStringLiteral("Método de pago del cliente %1:").arg(TextoQt(Argumento(args, 0))), opciones, descripciones,
            Argumento(args, 1), largo, padre);
    if (tipo == "motivo_cancelacion")
        return std::make_unique<DialogoEleccion>(
            QStringLiteral("Motivo de cancelación"),
            QStringLiteral("Motivo de cancelación del CFDI de la factura %1:").arg(TextoQt(Argumento(args, 0))),
            opciones, descripciones, std::string(), false, padre);
    if (tipo == "registro" || tipo == "catalogo") {
        const QString consulta = TextoQt(Argumento(args, 0));
        return std::make_unique<DialogoEleccion>(
            consulta.isEmpty() ? QStringLiteral("Búsqueda") : QStringLiteral("Búsqueda — %1").arg(consulta), QString(),
            opciones, descripciones, std::string(), true, padre);
    }
    return std::make_unique<DialogoEleccion>(TextoQt(tipo), QString(), opciones, descripciones, std::string(), largo,
                                             padre);
}

}  // namespace qivera::escritorio
