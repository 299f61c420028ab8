#include "kx204/host/controls/formulario.hpp"

#include <algorithm>

#include "kx204/host/controls/campo_texto.hpp"
#include "kx204/host/controls/controles_simples.hpp"

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

void Formulario::SiguienteFoco() { MueveFoco(1); }

void Formulario::AnteriorFoco() { MueveFoco(-1); }

void Formulario::MueveFoco(int paso) {
    const int total = static_cast<int>(orden_.size());
    if (total == 0) return;
    int actual = paso > 0 ? -1 : total;
    for (int i = 0; i < total; ++i)
        if (orden_[static_cast<std::size_t>(i)] == foco_) actual = i;
    for (int n = 1; n <= total; ++n) {
        Control* candidato = orden_[static_cast<std::size_t>(((actual + paso * n) % total + total) % total)];
        if (candidato->TabStop() && candidato->Usable()) {
            foco_ = candidato;
            return;
        }
    }
}

namespace {

// The character a key types, 0 for keys that type none (function keys, shortcuts).
int Caracter(int tecla, int shift) {
    if (shift & (teclas::Ctrl | teclas::Alt)) return 0;
    if (tecla == teclas::Enter || tecla == teclas::Espacio || tecla == teclas::Escape) return tecla;
    if (tecla >= teclas::Cero && tecla <= teclas::Nueve) return tecla;
    if (tecla >= teclas::A && tecla <= teclas::Z) return (shift & teclas::Shift) ? tecla : tecla - 'A' + 'a';
    return 0;
}

}  // namespace

void Formulario::PulsaTecla(Control& control, int tecla, int shift) {
    SetFoco(control);
    control.KeyDown(tecla, shift);
    int caracter = Caracter(tecla, shift);
    if (caracter != 0) control.KeyPress(caracter);
    RespuestaPropia(control, tecla, shift, caracter);
    if (OnKeyUp) OnKeyUp(tecla, shift);
    control.KeyUp(tecla, shift);
}

void Formulario::RespuestaPropia(Control& control, int tecla, int shift, int caracter) {
    if (tecla == teclas::Tab) return (shift & teclas::Shift) ? AnteriorFoco() : SiguienteFoco();
    if (auto* campo = dynamic_cast<CampoTexto*>(&control); campo != nullptr && caracter == teclas::Enter) {
        if (campo->Confirma() && campo->Ajustes().tabonenter) SiguienteFoco();
    } else if (auto* casilla = dynamic_cast<CasillaVerificacion*>(&control);
               casilla != nullptr && caracter == teclas::Espacio) {
        casilla->Click();
    } else if (auto* boton = dynamic_cast<BotonPlano*>(&control);
               boton != nullptr && (caracter == teclas::Espacio || caracter == teclas::Enter)) {
        boton->Click();
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
