#pragma once
#include <optional>

class QKeyEvent;

namespace qivera::escritorio {

// A Qt key as the screen's keyboard events know it: key code and shift state (1 Shift, 2 Ctrl, 4 Alt).
struct TeclaPantalla {
    int tecla = 0;
    int shift = 0;
};

// Keys the screen has a code for; nullopt for the others (arrows, paging), which stay Qt's own.
std::optional<TeclaPantalla> TeclaDe(const QKeyEvent& evento);

}  // namespace qivera::escritorio
