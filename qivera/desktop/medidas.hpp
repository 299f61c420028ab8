#pragma once

namespace qivera::escritorio {

// Pixels to the form's twips and back, at the 96 dots per inch the layout is designed for.
constexpr int kTwipsPorPixel = 15;
constexpr int Pixeles(int twips) { return twips / kTwipsPorPixel; }
constexpr int Twips(int pixeles) { return pixeles * kTwipsPorPixel; }

}  // namespace qivera::escritorio
