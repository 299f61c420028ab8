#include <gtest/gtest.h>

#include "apoyo/entorno.hpp"

using prueba::Entorno;

TEST(Teclado, EnterMovesOnFromTheCheckBoxesAndTheTabsWithoutAClick) {
    Entorno entorno;
    auto& pantalla = entorno.Abre();
    pantalla.Controles.Pulsa(kx204::host::ComandoBarra::Nuevo);
    namespace teclas = kx204::teclas;

    // Enter on the header's check boxes and on the tab control moves the focus, without a click.
    for (kx204::host::Control* control : std::initializer_list<kx204::host::Control*>{
             &pantalla.chkFiltrarCondicion, &pantalla.chkFechas, &pantalla.ssTabQvr}) {
        pantalla.PulsaTecla(*control, teclas::Enter, 0);
        EXPECT_NE(pantalla.Foco(), control) << control->Nombre();
    }
    EXPECT_EQ(pantalla.chkFiltrarCondicion.Value(), 0);
    EXPECT_EQ(pantalla.chkFechas.Value(), 0);
    // Space, Alt+2 and the other shortcuts go through Qt's own key events in the desktop's window test.
}
