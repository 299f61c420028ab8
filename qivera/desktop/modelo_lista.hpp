#pragma once
#include <QAbstractTableModel>
#include <cstdint>
#include <functional>

#include "kx204/host/controls/lista.hpp"
#include "kx204/host/runtime_error.hpp"

namespace qivera::escritorio {

// Qt's table model over the screen's list: it reads the rows straight from the Lista and keeps
// no copy of them, so 50,000 notes cost nothing beyond the cells on screen.
class ModeloLista : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit ModeloLista(kx204::host::Lista& lista, QObject* parent = nullptr);

    kx204::host::Lista& Lista() const { return lista_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // A person's tick in column 0: goes to the list, whose item-check notification the screen handles.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // Brings the view up to the list: a reset when rows, order or columns changed, otherwise
    // one repaint of the check column (checks the screen set itself). Answers whether it reset.
    bool Refresca();

    // After a person's tick reached the list, so the window re-reads what the screen changed.
    std::function<void()> OnCambio;
    // A failure that left the screen's handler without a trap; unset, it is only logged.
    std::function<void(const kx204::host::RuntimeError&)> OnError;

private:
    QString Legible(const std::string& texto, int columna) const;

    kx204::host::Lista& lista_;
    // The shape last told to Qt: between a change of the list and the next Refresca the view
    // must keep seeing the counts it was given, whatever the list holds by then.
    int filas_ = 0;
    int columnas_ = 0;
    std::uint64_t revision_ = 0;
};

}  // namespace qivera::escritorio
