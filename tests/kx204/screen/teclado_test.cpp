#include <gtest/gtest.h>

#include "apoyo/entorno.hpp"

using prueba::Entorno;

TEST(Teclado, EnterMovesOnFromTheCheckBoxesAndTabsAndAltDigitsSwitchTabsFromAnyField) {
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
    // Space is the check box's own click.
    pantalla.PulsaTecla(pantalla.chkFechas, teclas::Espacio, 0);
    EXPECT_EQ(pantalla.chkFechas.Value(), 1);

    // The form sees Alt+2 first, whichever field has the focus. The desktop's window test covers
    // Alt+Shift+2, Alt+1 and Enter and Shift+Tab on the detail tab through Qt's own key events.
    pantalla.PulsaTecla(pantalla.txt_Comentario, teclas::Dos, teclas::Alt);
    EXPECT_EQ(pantalla.ssTabQvr.Tab(), 1);
    EXPECT_FALSE(pantalla.fr0.Enabled());
    EXPECT_EQ(pantalla.txt_Comentario.Text(), "");  // a shortcut types nothing
}
