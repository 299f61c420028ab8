#include "kx204/host/controls/lista.hpp"

#include <algorithm>

#include "kx204/host/runtime_error.hpp"

namespace kx204::host {

namespace {

const std::string kVacio;

// Lower case of a byte of UTF-8 text given the byte before it: ASCII letters and
// the Latin-1 capitals À..Þ (but not ×), which follow a 0xC3 lead byte.
int Minuscula(const std::string& text, std::size_t i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 'A' && c <= 'Z') return c + 32;
    const bool latin1 = i > 0 && static_cast<unsigned char>(text[i - 1]) == 0xC3;
    if (latin1 && c >= 0x80 && c <= 0x9E && c != 0x97) return c + 0x20;
    return c;
}

// The list compares texts as the platform does: without regard to case.
int ComparaSinMayusculas(const std::string& a, const std::string& b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const int ca = Minuscula(a, i);
        const int cb = Minuscula(b, i);
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

void ValidaIndice(int indice, int count) {
    if (indice < 0 || indice >= count) throw RuntimeError(35600, "Index out of bounds");
}

}  // namespace

const ItemLista& Lista::Item(int indice) const {
    ValidaIndice(indice, Count());
    return items_[static_cast<std::size_t>(indice)];
}

const std::string& Lista::Texto(int indice, int columna) const {
    const ItemLista& item = Item(indice);
    if (columna == 0) return item.text;
    const auto sub = static_cast<std::size_t>(columna - 1);
    return sub < item.sub.size() ? item.sub[sub] : kVacio;
}

int Lista::Busca(const std::string& text) const {
    for (int i = 0; i < Count(); ++i)
        if (items_[static_cast<std::size_t>(i)].text == text) return i;
    return -1;
}

void Lista::Clear() {
    items_.clear();
    actual_ = -1;
    ++revision_;
}

void Lista::Agrega(std::vector<ItemLista> items) {
    items_.reserve(items_.size() + items.size());
    std::move(items.begin(), items.end(), std::back_inserter(items_));
    ++revision_;
    if (sorted_) Ordena();
}

void Lista::SetChecked(int indice, bool checked) {
    ValidaIndice(indice, Count());
    ItemLista& item = items_[static_cast<std::size_t>(indice)];
    if (item.checked == checked) return;
    item.checked = checked;
    if (OnItemCheck) OnItemCheck(indice);
}

void Lista::SetSelected(int indice, bool selected) {
    ValidaIndice(indice, Count());
    items_[static_cast<std::size_t>(indice)].selected = selected;
}

void Lista::SetActual(int indice) {
    if (indice != -1) ValidaIndice(indice, Count());
    actual_ = indice;
}

void Lista::SetOrden(int key, Orden orden) {
    if (key < 0) throw RuntimeError(380, "Invalid property value");
    sortKey_ = key;
    sortOrder_ = orden;
    sorted_ = true;
    Ordena();
}

void Lista::Ordena() {
    // The current item follows its row through the sort.
    const ItemLista* actual = actual_ >= 0 ? &items_[static_cast<std::size_t>(actual_)] : nullptr;
    std::vector<std::size_t> orden(items_.size());
    for (std::size_t i = 0; i < orden.size(); ++i) orden[i] = i;
    const int columna = sortKey_;
    const bool descendente = sortOrder_ == Orden::Descendente;
    std::stable_sort(orden.begin(), orden.end(), [&](std::size_t a, std::size_t b) {
        const int c = ComparaSinMayusculas(Texto(static_cast<int>(a), columna), Texto(static_cast<int>(b), columna));
        return descendente ? c > 0 : c < 0;
    });
    std::vector<ItemLista> ordenados;
    ordenados.reserve(items_.size());
    int nuevoActual = -1;
    for (std::size_t i : orden) {
        if (&items_[i] == actual) nuevoActual = static_cast<int>(ordenados.size());
        ordenados.push_back(std::move(items_[i]));
    }
    items_ = std::move(ordenados);
    actual_ = nuevoActual;
    ++revision_;
}

void Lista::ClickEncabezado(int columna) {
    if (columna < 1 || columna > static_cast<int>(columnas_.size())) throw RuntimeError(35600, "Index out of bounds");
    if (OnColumnClick) OnColumnClick(columna);
}

}  // namespace kx204::host
