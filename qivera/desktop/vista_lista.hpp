#pragma once
#include <QTableView>
#include <functional>
#include <vector>

#include "kx204/host/controls/lista.hpp"
#include "qivera/desktop/modelo_lista.hpp"

namespace qivera::escritorio {

// The desktop's report view of a Lista: rows, check boxes, column widths, the sort arrow and the
// selection come from the list, and a person's ticks, header clicks and selection go back into
// it. Keys are not handled here: the window routes them to the form (the space bar is left to
// it, as the screen ticks a whole selection with it).
class VistaLista : public QTableView {
    Q_OBJECT

public:
    explicit VistaLista(kx204::host::Lista& lista, QWidget* parent = nullptr);

    kx204::host::Lista& Lista() const { return lista_; }
    ModeloLista& Modelo() const { return *modelo_; }

    // Brings the view up to the list after the screen may have changed it: rows and columns
    // when the list's revision moved (the selection is then shown again from the items'
    // flags), otherwise just the checks; the sort arrow and the selection mode always.
    void Refresca();

    // The row with the focus rectangle, -1 when none.
    int FilaActual() const;

    // After a person ticked an item or clicked a header, so the window re-reads the screen.
    std::function<void()> OnCambio;
    // A failure that escaped the screen's handlers; unset, it is only logged.
    std::function<void(const kx204::host::RuntimeError&)> OnError;

protected:
    void keyPressEvent(QKeyEvent* evento) override;
    bool viewportEvent(QEvent* evento) override;

private:
    void AplicaColumnas();
    void MuestraOrden();
    void MuestraSeleccion();
    void ClickEncabezado(int seccion);
    void CambiaSeleccion(const QItemSelection& seleccionadas, const QItemSelection& deseleccionadas);
    void CambiaActual(const QModelIndex& actual);
    void Falla(const kx204::host::RuntimeError& error);

    kx204::host::Lista& lista_;
    ModeloLista* modelo_;
    // The column settings last applied, so a reset that only reorders rows keeps the widths a
    // person dragged.
    std::vector<kx204::host::ColumnaLista> columnasAplicadas_;
    // Set while the view shows the list's own selection, which must not be written back.
    bool reflejando_ = false;
};

}  // namespace qivera::escritorio
