#include "kx204/host/controls/control.hpp"

#include "kx204/host/runtime_error.hpp"

namespace kx204::host {

Control::Control(std::string nombre, int grupo) : nombre_(std::move(nombre)), grupo_(grupo) {}

bool Control::Usable() const { return MotivoNoUsable().empty(); }

std::string Control::MotivoNoUsable() const {
    if (!enabled_) return "disabled";
    if (!visible_) return "hidden";
    for (const Control* c = contenedor_; c != nullptr; c = c->contenedor_)
        if (!c->enabled_) return "inside disabled " + c->nombre_;
    return {};
}

namespace {

int Medida(int valor) {
    if (valor < 0) throw RuntimeError(380, "Invalid property value");
    return valor;
}

}  // namespace

void Control::SetWidth(int width) { posicion_.width = Medida(width); }

void Control::SetHeight(int height) { posicion_.height = Medida(height); }

void Control::Coloca(int left, int top, int width, int height) {
    posicion_ = Geometria{left, top, Medida(width), Medida(height)};
}

}  // namespace kx204::host
