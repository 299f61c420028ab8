#include "qivera/sesion/persona.hpp"

#include "kx204/host/servicios.hpp"

namespace qivera {

namespace {
constexpr int kMascaraBotones = 0x0F;
constexpr int kYesNoCancel = 3;
}  // namespace

bool OfreceEleccion(int botones) { return (botones & kMascaraBotones) != kx204::host::botones::Ok; }

int RespuestaOmision(int botones) {
    const int tipo = botones & kMascaraBotones;
    const bool siNo = tipo == kx204::host::botones::YesNo || tipo == kYesNoCancel;
    return siNo ? kx204::host::respuestas::Yes : kx204::host::respuestas::Ok;
}

}  // namespace qivera
