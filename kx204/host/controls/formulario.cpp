#include "kx204/host/controls/formulario.hpp"

#include <algorithm>

#include "kx204/host/controls/campo_texto.hpp"

namespace kx204::host {

Formulario::Formulario(std::string nombre, std::string caption)
    : nombre_(std::move(nombre)), caption_(std::move(caption)) {}

void Formulario::Registra(std::unique_ptr<Control> control) {
    if (porNombre_.count(control->Nombre()) != 0)
        throw RuntimeError(360, "Object already loaded: " + control->Nombre());
    porNombre_[control->Nombre()] = control.get();
    orden_.push_back(control.get());
    controles_.push_back(std::move(control));
}

Control* Formulario::Busca(const std::string& nombre) const {
    const auto it = porNombre_.find(nombre);
    return it == porNombre_.end() ? nullptr : it->second;
}

void Formulario::SetFoco(Control& control) {
    if (control.Usable()) foco_ = &control;
}

void Formulario::SiguienteFoco() {
    if (orden_.empty()) return;
    std::size_t inicio = 0;
    for (std::size_t i = 0; i < orden_.size(); ++i)
        if (orden_[i] == foco_) inicio = i + 1;
    for (std::size_t paso = 0; paso < orden_.size(); ++paso) {
        Control* candidato = orden_[(inicio + paso) % orden_.size()];
        if (candidato->TabStop() && candidato->Usable()) {
            foco_ = candidato;
            return;
        }
    }
}

void Formulario::Redimensiona(int width, int height) {
    width_ = width;
    height_ = height;
    if (OnResize) OnResize();
}

void Formulario::LimpiaGrupo(int grupo) {
    // A locked key holds a value imposed on the user (their branch): it stays, with its description.
    std::vector<const Control*> impuestos;
    for (Control* control : orden_) {
        const auto* campo = dynamic_cast<const CampoTexto*>(control);
        if (campo != nullptr && campo->Ajustes().esclave && campo->Locked()) {
            impuestos.push_back(campo);
            impuestos.push_back(campo->ControlResultado());
        }
    }
    for (Control* control : orden_) {
        if (control->Grupo() != grupo || std::find(impuestos.begin(), impuestos.end(), control) != impuestos.end())
            continue;
        control->Limpia();
        // Read-only displays stay as they are; what takes input is switched off.
        if (control->TabStop()) control->SetEnabled(false);
    }
}

void Formulario::HabilitaGrupo(int grupo) {
    for (Control* control : orden_)
        if (control->Grupo() == grupo) control->SetEnabled(true);
}

}  // namespace kx204::host
