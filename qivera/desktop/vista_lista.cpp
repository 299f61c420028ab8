#include "qivera/desktop/vista_lista.hpp"

#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QToolTip>
#include <QtDebug>
#include <algorithm>

#include "qivera/desktop/medidas.hpp"

namespace qivera::escritorio {

namespace host = kx204::host;

namespace {

// Enough rows to fit a column to what it shows, few enough for 50,000 notes.
constexpr int kFilasParaAjustar = 200;
// Room between a fitted column's text and the next one's.
constexpr int kHolgura = 10;

// A column's width on screen, rounded to the pixel; 0 for a hidden column.
int AnchoVisible(int twips) { return twips <= 0 ? 0 : (twips + kTwipsPorPixel / 2) / kTwipsPorPixel; }

bool MismasColumnas(const std::vector<host::ColumnaLista>& a, const std::vector<host::ColumnaLista>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
        return x.caption == y.caption && x.alineacion == y.alineacion && x.width == y.width;
    });
}

}  // namespace

VistaLista::VistaLista(host::Lista& lista, QWidget* parent)
    : QTableView(parent), lista_(lista), modelo_(new ModeloLista(lista, this)) {
    setModel(modelo_);
    modelo_->OnCambio = [this] {
        if (OnCambio) OnCambio();
    };
    modelo_->OnError = [this](const host::RuntimeError& error) { Falla(error); };

    setShowGrid(false);
    setAlternatingRowColors(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    setCornerButtonEnabled(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    // The list is sorted by the screen's header-click handler, never by Qt.
    setSortingEnabled(false);

    // One fixed height for every row: Qt then never measures rows, however many there are.
    QHeaderView* filas = verticalHeader();
    filas->hide();
    filas->setSectionResizeMode(QHeaderView::Fixed);
    filas->setDefaultSectionSize(std::max(fontMetrics().height() + 6, filas->minimumSectionSize()));

    QHeaderView* encabezado = horizontalHeader();
    encabezado->setSectionsClickable(true);
    encabezado->setSectionsMovable(false);
    encabezado->setHighlightSections(false);
    encabezado->setStretchLastSection(false);
    encabezado->setSectionResizeMode(QHeaderView::Interactive);
    encabezado->setResizeContentsPrecision(kFilasParaAjustar);
    encabezado->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(encabezado, &QHeaderView::sectionClicked, this, &VistaLista::ClickEncabezado);

    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &VistaLista::CambiaSeleccion);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& actual) { CambiaActual(actual); });

    AplicaColumnas();
    MuestraSeleccion();
    MuestraOrden();
    setSelectionMode(lista_.MultiSelect() ? ExtendedSelection : SingleSelection);
}

void VistaLista::Refresca() {
    if (modelo_->Refresca()) {
        AplicaColumnas();
        // A reset empties Qt's selection; the items keep theirs, also through a sort.
        MuestraSeleccion();
    }
    MuestraOrden();
    const auto modo = lista_.MultiSelect() ? ExtendedSelection : SingleSelection;
    if (selectionMode() != modo) setSelectionMode(modo);
}

int VistaLista::FilaActual() const {
    const QModelIndex actual = currentIndex();
    return actual.isValid() ? actual.row() : -1;
}

void VistaLista::AplicaColumnas() {
    const auto& columnas = lista_.Columnas();
    if (MismasColumnas(columnas, columnasAplicadas_)) return;
    int total = 0;
    for (const auto& columna : columnas) total += AnchoVisible(columna.width);
    // Wider than the view: each column narrows to what it shows and its title, so that the amounts at
    // the right are in view at the window's size. The screen's widths stay as they are.
    const bool ajusta = total > viewport()->width();
    for (int i = 0; i < static_cast<int>(columnas.size()); ++i) {
        const int ancho = AnchoVisible(columnas[static_cast<std::size_t>(i)].width);
        setColumnHidden(i, ancho <= 0);
        if (ancho <= 0) continue;
        // The title always shows whole.
        const int ajustado = std::max(std::min(ancho, sizeHintForColumn(i) + kHolgura),
                                      horizontalHeader()->sectionSizeHint(i) + kHolgura);
        setColumnWidth(i, ajusta ? ajustado : ancho);
    }
    columnasAplicadas_ = columnas;
}

void VistaLista::MuestraOrden() {
    QHeaderView* encabezado = horizontalHeader();
    encabezado->setSortIndicatorShown(lista_.Sorted());
    if (!lista_.Sorted()) return;
    const auto orden = lista_.SortOrder() == host::Orden::Ascendente ? Qt::AscendingOrder : Qt::DescendingOrder;
    if (encabezado->sortIndicatorSection() != lista_.SortKey() || encabezado->sortIndicatorOrder() != orden)
        encabezado->setSortIndicator(lista_.SortKey(), orden);
}

void VistaLista::MuestraSeleccion() {
    // Runs of selected items become one range each, so a block of 50,000 is one range.
    const int filas = std::min(lista_.Count(), modelo_->rowCount());
    const int ultima = modelo_->columnCount() - 1;
    QItemSelection seleccion;
    if (ultima >= 0) {
        for (int inicio = 0; inicio < filas;) {
            if (!lista_.Item(inicio).selected) {
                ++inicio;
                continue;
            }
            int fin = inicio;
            while (fin + 1 < filas && lista_.Item(fin + 1).selected) ++fin;
            seleccion.select(modelo_->index(inicio, 0), modelo_->index(fin, ultima));
            inicio = fin + 1;
        }
    }
    const int actual = lista_.Actual();
    reflejando_ = true;
    selectionModel()->select(seleccion, QItemSelectionModel::ClearAndSelect);
    selectionModel()->setCurrentIndex(actual >= 0 && actual < filas ? modelo_->index(actual, 0) : QModelIndex(),
                                      QItemSelectionModel::NoUpdate);
    reflejando_ = false;
}

void VistaLista::ClickEncabezado(int seccion) {
    // A disabled list ignores the click; the header may already have flipped its arrow.
    if (!lista_.Usable() || seccion < 0 || seccion >= static_cast<int>(lista_.Columnas().size())) {
        MuestraOrden();
        return;
    }
    try {
        lista_.ClickEncabezado(seccion + 1);
    } catch (const host::RuntimeError& error) {
        Falla(error);
    }
    Refresca();
    if (OnCambio) OnCambio();
}

void VistaLista::CambiaSeleccion(const QItemSelection& seleccionadas, const QItemSelection& deseleccionadas) {
    if (reflejando_) return;
    // Only the rows in the changed ranges are visited, whatever the length of the list.
    const int filas = lista_.Count();
    const auto marca = [&](const QItemSelection& rangos, bool seleccionada) {
        for (const QItemSelectionRange& rango : rangos)
            for (int fila = rango.top(); fila <= rango.bottom() && fila < filas; ++fila)
                lista_.SetSelected(fila, seleccionada);
    };
    marca(deseleccionadas, false);
    marca(seleccionadas, true);
}

void VistaLista::CambiaActual(const QModelIndex& actual) {
    if (reflejando_) return;
    lista_.SetActual(actual.isValid() && actual.row() < lista_.Count() ? actual.row() : -1);
}

void VistaLista::Falla(const host::RuntimeError& error) {
    if (OnError)
        OnError(error);
    else
        qWarning() << "lista" << QString::fromStdString(lista_.Nombre()) << error.what();
}

void VistaLista::keyPressEvent(QKeyEvent* evento) {
    // Qt would tick the current row; the screen's own key handling ticks the selection as a block.
    if (evento->key() == Qt::Key_Space || evento->key() == Qt::Key_Select) {
        evento->ignore();
        return;
    }
    QTableView::keyPressEvent(evento);
}

bool VistaLista::viewportEvent(QEvent* evento) {
    if (evento->type() != QEvent::ToolTip) return QTableView::viewportEvent(evento);
    // The full text of a cell, only when the column is too narrow to show it.
    const auto* ayuda = static_cast<QHelpEvent*>(evento);
    const QModelIndex indice = indexAt(ayuda->pos());
    const QRect celda = visualRect(indice);
    if (indice.isValid()) {
        QStyleOptionViewItem opcion;
        initViewItemOption(&opcion);
        opcion.rect = celda;
        if (itemDelegateForIndex(indice)->sizeHint(opcion, indice).width() > celda.width()) {
            QToolTip::showText(ayuda->globalPos(), indice.data().toString(), viewport(), celda);
            return true;
        }
    }
    QToolTip::hideText();
    return true;
}

}  // namespace qivera::escritorio
