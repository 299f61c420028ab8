#include "qivera/desktop/teclas_qt.hpp"

#include <QKeyEvent>

#include "kx204/host/controls/control.hpp"

namespace qivera::escritorio {

namespace teclas = kx204::host::teclas;

std::optional<TeclaPantalla> TeclaDe(const QKeyEvent& evento) {
    const Qt::KeyboardModifiers modificadores = evento.modifiers();
    int shift = 0;
    if (modificadores & Qt::ShiftModifier) shift |= teclas::Shift;
    if (modificadores & Qt::ControlModifier) shift |= teclas::Ctrl;
    if (modificadores & Qt::AltModifier) shift |= teclas::Alt;
    const int clave = evento.key();
    switch (clave) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return TeclaPantalla{teclas::Enter, shift};
        case Qt::Key_Tab:
            return TeclaPantalla{teclas::Tab, shift};
        case Qt::Key_Backtab:
            return TeclaPantalla{teclas::Tab, shift | teclas::Shift};
        case Qt::Key_Space:
            return TeclaPantalla{teclas::Espacio, shift};
        case Qt::Key_Escape:
            return TeclaPantalla{teclas::Escape, shift};
        default:
            break;
    }
    if (clave >= Qt::Key_F1 && clave <= Qt::Key_F12) return TeclaPantalla{teclas::F1 + (clave - Qt::Key_F1), shift};
    if (clave >= Qt::Key_0 && clave <= Qt::Key_9) return TeclaPantalla{teclas::Cero + (clave - Qt::Key_0), shift};
    if (clave >= Qt::Key_A && clave <= Qt::Key_Z) return TeclaPantalla{teclas::A + (clave - Qt::Key_A), shift};
    return std::nullopt;
}

}  // namespace qivera::escritorio
