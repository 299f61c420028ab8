#include <gtest/gtest.h>

#include "apoyo/entorno.hpp"

using kx204::host::Geometria;
using prueba::Entorno;

namespace {

int Derecha(const Geometria& g) { return g.left + g.width; }

}  // namespace

TEST(Disposicion, TheTabsListAndTotalsFollowTheWindowAndRefusedSizesKeepTheLastOne) {
    Entorno entorno;
    auto& pantalla = entorno.Abre();
    pantalla.Redimensiona(16500, 10200);
    const Geometria& tab = pantalla.ssTabQvr.Posicion();
    const Geometria& lista = pantalla.lvNotas.Posicion();
    const Geometria& totales = pantalla.frTotal.Posicion();
    EXPECT_EQ(tab.width, 16500 - 2 * tab.left);
    EXPECT_EQ(tab.height, 10200 - tab.top - 100);
    EXPECT_EQ(pantalla.fr0.Posicion().width, tab.width);
    EXPECT_EQ(pantalla.sh2.Posicion().width, tab.width);
    EXPECT_EQ(pantalla.frDetalle.Posicion().height, tab.height - pantalla.frDetalle.Posicion().top);
    EXPECT_EQ(lista.width, tab.width - 2 * lista.left);
    EXPECT_EQ(lista.top + lista.height + totales.height + 150, pantalla.frDetalle.Posicion().height);
    EXPECT_EQ(totales.top, lista.top + lista.height + 60);
    EXPECT_EQ(Derecha(totales), Derecha(lista));  // the totals stay right-aligned under the list
    const int altoLista = lista.height;

    // Too short for the list: it keeps its height while the frames still follow.
    pantalla.Redimensiona(9000, 1800);
    EXPECT_EQ(tab.height, 1800 - tab.top - 100);
    EXPECT_EQ(pantalla.frDetalle.Posicion().height, tab.height - pantalla.frDetalle.Posicion().top);
    EXPECT_EQ(lista.height, altoLista);
    EXPECT_EQ(lista.width, tab.width - 2 * lista.left);
    EXPECT_EQ(Derecha(totales), Derecha(lista));

    // Smaller than the tab control's own margins: nothing is refused loudly, nothing turns negative.
    pantalla.Redimensiona(100, 100);
    for (const kx204::host::Control* control : pantalla.Contenido()) {
        EXPECT_GE(control->Posicion().width, 0) << control->Nombre();
        EXPECT_GE(control->Posicion().height, 0) << control->Nombre();
    }
    EXPECT_EQ(tab.width, 9000 - 2 * tab.left);
}
