#pragma once

namespace prueba {

// Makes sure a QGuiApplication exists, created once for the whole test program on the
// offscreen platform unless another was asked for: printing lays out text, which needs one.
void AplicacionGrafica();

}  // namespace prueba
