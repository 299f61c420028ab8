#include "kx204/component/pantalla.hpp"

#include "kx204/screen/frm_kx204.hpp"

namespace kx204 {

Componente::Componente(host::Fabrica& fabrica) : publico_(fabrica) {}

Componente::~Componente() = default;

frmKX204* Componente::Pantalla() {
    if (!pantalla_) {
        try {
            auto pantalla = std::make_unique<frmKX204>(publico_);
            pantalla->Form_Load();
            pantalla_ = std::move(pantalla);
        } catch (const std::exception&) {
            return nullptr;  // the host gets Nothing and may try again
        }
    }
    return pantalla_.get();
}

void Componente::DescargaPantalla() {
    if (!pantalla_) return;
    pantalla_->Form_Unload();
    pantalla_.reset();
}

}  // namespace kx204

extern "C" kx204::Componente* kx204_CargaComponente(kx204::host::Fabrica* fabrica) {
    static kx204::Componente componente(*fabrica);
    return &componente;
}

extern "C" kx204::Pantalla* kx204_CreaPantalla(kx204::Componente* componente) {
    return new kx204::Pantalla(*componente);
}

extern "C" void kx204_LiberaPantalla(kx204::Pantalla* pantalla) { delete pantalla; }
