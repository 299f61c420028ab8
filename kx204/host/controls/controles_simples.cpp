#include "kx204/host/controls/controles_simples.hpp"

#include "kx204/host/runtime_error.hpp"

namespace kx204::host {

CasillaVerificacion::CasillaVerificacion(std::string nombre, int grupo, std::string caption)
    : Control(std::move(nombre), grupo), caption_(std::move(caption)) {}

void CasillaVerificacion::SetValue(int value) {
    if (value != 0 && value != 1) throw RuntimeError(380, "Invalid property value");
    if (value == value_) return;
    value_ = value;
    if (OnClick) OnClick();
}

void SelectorFecha::SetValue(const Date& value) {
    if (!Admite(value)) throw RuntimeError(380, "Invalid property value");
    if (value == value_) return;
    value_ = value;
    if (OnChange) OnChange();
}

const std::string& ControlPestanas::Caption(int tab) const {
    if (tab < 0 || tab >= Tabs()) throw RuntimeError(380, "Invalid property value");
    return captions_[static_cast<std::size_t>(tab)];
}

void ControlPestanas::SetTab(int tab) {
    if (tab < 0 || tab >= Tabs()) throw RuntimeError(380, "Invalid property value");
    if (tab == tab_) return;
    const int anterior = tab_;
    tab_ = tab;
    if (OnClick) OnClick(anterior);
}

}  // namespace kx204::host
