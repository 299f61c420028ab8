#include "kx204/host/controls/barra_herramientas.hpp"

#include "kx204/host/runtime_error.hpp"

namespace kx204::host {

namespace {

std::size_t IndiceBoton(int boton) {
    if (boton < 1 || boton > 3) throw RuntimeError(380, "Invalid property value");
    return static_cast<std::size_t>(boton - 1);
}

}  // namespace

BarraHerramientas::BarraHerramientas(std::string nombre, AjustesBarra ajustes)
    : Control(std::move(nombre)), ajustes_(std::move(ajustes)) {}

bool BarraHerramientas::Habilitado(ComandoBarra comando) const {
    switch (comando) {
        case ComandoBarra::Nuevo:
            return !nuevoDocumento_;
        case ComandoBarra::Imprimir:
            return imprimir_ && !nuevoDocumento_;
        case ComandoBarra::Visor:
            return visor_ && !nuevoDocumento_;
        case ComandoBarra::Eliminar:
            return eliminar_ && !nuevoDocumento_;
        case ComandoBarra::Aceptar:
            return nuevoDocumento_;
        case ComandoBarra::Cancelar:
            return true;
        case ComandoBarra::Salir:
            return ajustes_.showexitbutton;
        case ComandoBarra::B1:
            return !captions_[0].empty();
        case ComandoBarra::B2:
            return !captions_[1].empty();
        case ComandoBarra::B3:
            return !captions_[2].empty();
    }
    return false;
}

void BarraHerramientas::SetHabilitado(ComandoBarra comando, bool habilitado) {
    switch (comando) {
        case ComandoBarra::Imprimir:
            imprimir_ = habilitado;
            break;
        case ComandoBarra::Visor:
            visor_ = habilitado;
            break;
        case ComandoBarra::Eliminar:
            eliminar_ = habilitado;
            break;
        default:
            throw RuntimeError(383, "Property is read-only");
    }
}

const std::string& BarraHerramientas::CaptionBoton(int boton) const { return captions_[IndiceBoton(boton)]; }

void BarraHerramientas::SetCaptionBoton(int boton, std::string caption) {
    captions_[IndiceBoton(boton)] = std::move(caption);
}

std::string BarraHerramientas::Pulsa(ComandoBarra comando) {
    if (!Usable()) return MotivoNoUsable();
    if (!Habilitado(comando)) return "command not available";
    if (autoriza_)
        if (std::string motivo = autoriza_(comando); !motivo.empty()) return motivo;
    if (comando == ComandoBarra::Eliminar && confirmaEliminar_ && !confirmaEliminar_()) return {};
    if (comando == ComandoBarra::Nuevo) nuevoDocumento_ = true;
    if (comando == ComandoBarra::Cancelar) nuevoDocumento_ = false;
    if (OnComando) OnComando(comando);
    return {};
}

bool BarraHerramientas::GrabaCamposAdicionales(const std::string& clave) {
    errorCampos_.clear();
    return campos_ == nullptr || campos_->Graba(ajustes_.opc_table, clave, errorCampos_);
}

void BarraHerramientas::CargaCamposAdicionales(const std::string& clave) {
    if (campos_ != nullptr) campos_->Carga(ajustes_.opc_table, clave);
}

}  // namespace kx204::host
