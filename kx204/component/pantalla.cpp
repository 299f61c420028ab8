#include "kx204/component/pantalla.hpp"

#include <map>
#include <mutex>

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

namespace {

// One component per factory loaded through the entry points: a second sign-in in the same process
// brings its own factory and gets a component of its own, never one holding an earlier factory.
struct Cargados {
    std::mutex cerrojo;
    std::map<kx204::host::Fabrica*, std::unique_ptr<kx204::Componente>> porFabrica;
};

Cargados& Componentes() {
    static Cargados cargados;
    return cargados;
}

}  // namespace

extern "C" kx204::Componente* kx204_CargaComponente(kx204::host::Fabrica* fabrica) {
    if (fabrica == nullptr) return nullptr;
    Cargados& cargados = Componentes();
    const std::lock_guard cerrado(cargados.cerrojo);
    auto& componente = cargados.porFabrica[fabrica];
    if (!componente) componente = std::make_unique<kx204::Componente>(*fabrica);
    return componente.get();
}

extern "C" void kx204_DescargaComponente(kx204::Componente* componente) {
    if (componente == nullptr) return;
    componente->DescargaPantalla();
    Cargados& cargados = Componentes();
    const std::lock_guard cerrado(cargados.cerrojo);
    std::erase_if(cargados.porFabrica, [componente](const auto& par) { return par.second.get() == componente; });
}

extern "C" kx204::Pantalla* kx204_CreaPantalla(kx204::Componente* componente) {
    return new kx204::Pantalla(*componente);
}

extern "C" void kx204_LiberaPantalla(kx204::Pantalla* pantalla) { delete pantalla; }
