// The list model: item-check events, search, index checks and sorting (the desktop's list test
// covers selection and the current item following a sort).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kx204/host/controls/lista.hpp"
#include "kx204/host/runtime_error.hpp"

using kx204::host::ItemLista;
using kx204::host::Lista;
using kx204::host::Orden;
using kx204::host::RuntimeError;
using Textos = std::vector<std::string>;

namespace {

Textos TextosDe(const Lista& lista) {
    Textos textos;
    for (int i = 0; i < lista.Count(); ++i) textos.push_back(lista.Item(i).text);
    return textos;
}

}  // namespace

TEST(Lista, ItemCheckOnlyOnChangeExactSearchAndBadIndexFails) {
    Lista lista("lv", 1);
    lista.SetColumnas({{"Folio"}, {"Fecha"}});
    lista.Agrega({{"F-10", {}}, {"F-1", {}}});
    EXPECT_EQ(lista.Busca("F-1"), 1);
    EXPECT_EQ(lista.Busca("f-1"), -1);
    EXPECT_EQ(lista.Busca("F-1 "), -1);

    std::vector<int> notificados;
    lista.OnItemCheck = [&](int indice) { notificados.push_back(indice); };
    lista.SetChecked(1, true);
    lista.SetChecked(1, true);
    lista.SetChecked(0, false);
    lista.SetChecked(1, false);
    EXPECT_EQ(notificados, (std::vector<int>{1, 1}));

    EXPECT_THROW(lista.SetChecked(2, true), RuntimeError);
    EXPECT_THROW(lista.SetSelected(-1, true), RuntimeError);
    EXPECT_THROW(lista.ClickEncabezado(3), RuntimeError);
}

TEST(Lista, SortingFoldsCaseAndAccentsAndKeepsNewItemsInOrder) {
    Lista lista("lv", 1);
    lista.SetOrden(1, Orden::Descendente);
    lista.Agrega({{"A1", {"beta"}}, {"A2", {"Alfa"}}, {"A3", {"GAMMA"}}});
    EXPECT_EQ(TextosDe(lista), (Textos{"A3", "A1", "A2"}));
    lista.Agrega({{"A4", {"Delta"}}, {"A5", {}}});
    EXPECT_EQ(TextosDe(lista), (Textos{"A3", "A4", "A1", "A2", "A5"}));

    lista.SetOrden(1, Orden::Ascendente);
    EXPECT_EQ(TextosDe(lista), (Textos{"A5", "A2", "A1", "A4", "A3"}));

    // Accented capitals fold too; equal keys keep their order.
    lista.Clear();
    lista.SetOrden(0, Orden::Ascendente);
    lista.Agrega({{"Ñb", {}}, {"ña", {}}, {"ÁRBOL", {}}, {"árbol", {}}});
    EXPECT_EQ(TextosDe(lista), (Textos{"ÁRBOL", "árbol", "ña", "Ñb"}));
}
