#pragma once
#include <optional>

class QKeyEvent;

namespace qivera::escritorio {

// A Qt key as the screen's keyboard events know it: key code and shift state (1 Shift, 2 Ctrl, 4 Alt).
struct TeclaPantalla {
    int tecla = 0;
    int shift = 0;
};

// Pixels to the form's twips and back, at the 96 dots per inch the layout is designed for.
constexpr int kTwipsPorPixel = 15;
constexpr int Pixeles(int twips) { return twips / kTwipsPorPixel; }
constexpr int Twips(int pixeles) { return pixeles * kTwipsPorPixel; }

// Keys the screen has a code for; nullopt for the others (arrows, paging), which stay Qt's own.
std::optional<TeclaPantalla> TeclaDe(const QKeyEvent& evento);

}  // namespace qivera::escritorio
