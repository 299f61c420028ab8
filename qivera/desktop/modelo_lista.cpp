#include "qivera/desktop/modelo_lista.hpp"

#include <QtDebug>

#include "qivera/printing/legible.hpp"

namespace qivera::escritorio {

namespace host = kx204::host;

namespace {

Qt::Alignment Alineado(host::Alineacion alineacion) {
    switch (alineacion) {
        case host::Alineacion::Derecha:
            return Qt::AlignRight | Qt::AlignVCenter;
        case host::Alineacion::Centro:
            return Qt::AlignHCenter | Qt::AlignVCenter;
        case host::Alineacion::Izquierda:
            break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

}  // namespace

// Amounts in a right-aligned column to the cent with separators, dates as dd/mm/yyyy: the view reads
// like a ledger while the screen's texts, which its totals and the CSV export use, stay as they are.
QString ModeloLista::Legible(const std::string& texto, int columna) const {
    if (const auto fecha = FechaLegible(texto)) return *fecha;
    const auto& columnas = lista_.Columnas();
    const bool derecha = columna < static_cast<int>(columnas.size()) &&
                         columnas[static_cast<std::size_t>(columna)].alineacion == host::Alineacion::Derecha;
    if (const auto importe = derecha ? ImporteEnTexto(texto) : std::nullopt) return ImporteLegible(*importe);
    return QString::fromStdString(texto);
}

ModeloLista::ModeloLista(host::Lista& lista, QObject* parent)
    : QAbstractTableModel(parent),
      lista_(lista),
      filas_(lista.Count()),
      columnas_(static_cast<int>(lista.Columnas().size())),
      revision_(lista.Revision()) {}

int ModeloLista::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : filas_; }

int ModeloLista::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : columnas_; }

QVariant ModeloLista::data(const QModelIndex& index, int role) const {
    const int fila = index.row();
    const int columna = index.column();
    // The list may have shrunk since the last Refresca (a repaint while the screen yields).
    if (!index.isValid() || fila >= lista_.Count()) return {};
    switch (role) {
        case Qt::DisplayRole:
            return Legible(lista_.Texto(fila, columna), columna);
        case Qt::CheckStateRole:
            if (columna != 0) return {};
            return static_cast<int>(lista_.Item(fila).checked ? Qt::Checked : Qt::Unchecked);
        case Qt::TextAlignmentRole: {
            const auto& columnas = lista_.Columnas();
            if (columna >= static_cast<int>(columnas.size())) return {};
            return Alineado(columnas[static_cast<std::size_t>(columna)].alineacion).toInt();
        }
        default:
            return {};
    }
}

QVariant ModeloLista::headerData(int section, Qt::Orientation orientation, int role) const {
    const auto& columnas = lista_.Columnas();
    if (orientation != Qt::Horizontal || section < 0 || section >= static_cast<int>(columnas.size())) return {};
    const host::ColumnaLista& columna = columnas[static_cast<std::size_t>(section)];
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(columna.caption);
        case Qt::TextAlignmentRole:
            return Alineado(columna.alineacion).toInt();
        default:
            return {};
    }
}

Qt::ItemFlags ModeloLista::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    // A disabled list, or one inside a disabled frame, takes no tick from a person.
    if (index.column() == 0 && lista_.Usable()) flags |= Qt::ItemIsUserCheckable;
    return flags;
}

bool ModeloLista::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || !index.isValid() || index.column() != 0) return false;
    const int fila = index.row();
    if (fila >= lista_.Count() || !lista_.Usable()) return false;
    const bool marcar = value.toInt() == Qt::Checked;
    try {
        lista_.SetChecked(fila, marcar);
    } catch (const host::RuntimeError& error) {
        // Qt's event handlers are not exception-safe: the failure stops here.
        if (OnError)
            OnError(error);
        else
            qWarning() << "lista" << QString::fromStdString(lista_.Nombre()) << error.what();
    }
    emit dataChanged(index, index, {Qt::CheckStateRole});
    if (OnCambio) OnCambio();
    return true;
}

bool ModeloLista::Refresca() {
    if (lista_.Revision() != revision_) {
        beginResetModel();
        filas_ = lista_.Count();
        columnas_ = static_cast<int>(lista_.Columnas().size());
        revision_ = lista_.Revision();
        endResetModel();
        return true;
    }
    // Checks do not move the revision: repaint column 0 of every row, which Qt turns into
    // one update of the viewport whatever the row count.
    if (filas_ > 0) emit dataChanged(index(0, 0), index(filas_ - 1, 0), {Qt::CheckStateRole});
    return false;
}

}  // namespace qivera::escritorio
