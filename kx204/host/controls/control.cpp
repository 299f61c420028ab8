#include "kx204/host/controls/control.hpp"

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

}  // namespace kx204::host
