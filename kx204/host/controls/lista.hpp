#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "kx204/host/controls/control.hpp"

namespace kx204::host {

enum class Alineacion { Izquierda, Derecha, Centro };
enum class Orden { Ascendente, Descendente };

struct ColumnaLista {
    std::string caption;
    Alineacion alineacion = Alineacion::Izquierda;
    int width = 1440;  // twips; 0 hides the column
};

struct ItemLista {
    std::string text;
    std::vector<std::string> sub;  // sub-item k is shown in column k + 1
    bool checked = false;
    bool selected = false;
};

// The report-view list with check boxes. Changing an item's check, by a person
// or by the program, raises the item-check notification.
class Lista : public Control {
public:
    Lista(std::string nombre, int grupo) : Control(std::move(nombre), grupo) {}

    const std::vector<ColumnaLista>& Columnas() const { return columnas_; }
    void SetColumnas(std::vector<ColumnaLista> columnas) {
        columnas_ = std::move(columnas);
        ++revision_;
    }

    int Count() const { return static_cast<int>(items_.size()); }
    const ItemLista& Item(int indice) const;
    // Text shown in 0-based column `columna` of an item: 0 the item text, k its sub-item k; empty past them.
    const std::string& Texto(int indice, int columna) const;
    // First item whose text equals `text` exactly, or -1.
    int Busca(const std::string& text) const;

    void Clear();
    // Appends rows (text and sub-items), keeping the sort order when sorting is on.
    void Agrega(std::vector<ItemLista> items);

    void SetChecked(int indice, bool checked);
    void SetSelected(int indice, bool selected);
    // The current item (the one with the focus rectangle), -1 when none.
    int Actual() const { return actual_; }
    void SetActual(int indice);

    bool Sorted() const { return sorted_; }
    int SortKey() const { return sortKey_; }
    Orden SortOrder() const { return sortOrder_; }
    // Sorting on, by one column in one order, sorted once.
    void SetOrden(int key, Orden orden);

    // Display option switched on while notes are captured, and the second flag (block selection).
    bool FullRowSelect() const { return fullRowSelect_; }
    void SetFullRowSelect(bool on) { fullRowSelect_ = on; }
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool on) { multiSelect_ = on; }

    // A person clicked a column header (1-based).
    void ClickEncabezado(int columna);

    // Grows whenever rows, their order or the columns change (not on checks or selection),
    // so that a view knows when to read the whole list again.
    std::uint64_t Revision() const { return revision_; }

    std::function<void(int indice)> OnItemCheck;
    std::function<void(int columna)> OnColumnClick;

    bool TabStop() const override { return true; }
    void Limpia() override { Clear(); }

private:
    void Ordena();

    std::vector<ColumnaLista> columnas_;
    std::vector<ItemLista> items_;
    int actual_ = -1;
    bool sorted_ = false;
    int sortKey_ = 0;
    Orden sortOrder_ = Orden::Ascendente;
    bool fullRowSelect_ = false;
    bool multiSelect_ = false;
    std::uint64_t revision_ = 0;
};

}  // namespace kx204::host
