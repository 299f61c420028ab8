#include "qivera/desktop/escritorio.hpp"

#include <dlfcn.h>

#include "kx204/host/runtime_error.hpp"
#include "qivera/desktop/dialogo_columnas.hpp"

namespace qivera::escritorio {

namespace host = kx204::host;

int PersonaEscritorio::Mensaje(const std::string& prompt, int botones, const std::string& titulo,
                               const std::string& id) {
    PausaOcupado pausa(indicador_);
    return persona_.Mensaje(prompt, botones, titulo, id);
}

std::string PersonaEscritorio::Elige(const std::string& tipo, const std::vector<std::string>& args,
                                     const std::vector<std::string>& opciones,
                                     const std::vector<std::string>& descripciones) {
    std::vector<std::string> argumentos = args;
    if (tipo == "columnas" && columnasVisibles) {
        argumentos.push_back(kMarcaVisibles);
        for (std::string& caption : columnasVisibles()) argumentos.push_back(std::move(caption));
    }
    PausaOcupado pausa(indicador_);
    return persona_.Elige(tipo, argumentos, opciones, descripciones);
}

void PersonaEscritorio::Muestra(const std::string& tipo, const std::vector<std::string>& args,
                                const std::vector<std::string>& contenido) {
    PausaOcupado pausa(indicador_);
    persona_.Muestra(tipo, args, contenido);
}

namespace {

template <class Funcion>
Funcion PuntoDeEntrada(void* biblioteca, const char* nombre) {
    auto funcion = reinterpret_cast<Funcion>(dlsym(biblioteca, nombre));
    if (funcion == nullptr)
        throw host::RuntimeError(453, std::string("El componente no tiene el punto de entrada ") + nombre);
    return funcion;
}

}  // namespace

Escritorio::Escritorio(db::ConexionQt& conexion, const std::string& usuario, const QString& nombreBase,
                       Persona* persona)
    : conexion_(conexion),
      persona_(persona != nullptr ? *persona : dialogos_, indicador_),
      sesion_{conexion, persona_, usuario, {}, nullptr, {}},
      fabrica_(sesion_),
      ventana_(std::make_unique<VentanaQivera>(sesion_, nombreBase)) {
    dialogos_.Padre(ventana_.get());
    indicador_ = &ventana_->Indicador();
    sesion_.registra = [this](const std::string& evento, const std::string& folio, const std::string& archivo) {
        ventana_->Registra(evento, folio, archivo);
    };
    conexion_.SetLatido([this] { ventana_->Latido(); });
    persona_.columnasVisibles = [this] {
        std::vector<std::string> visibles;
        if (const kx204::frmKX204* pantalla = ventana_->Pantalla())
            for (const auto& columna : pantalla->lvNotas.Columnas())
                if (columna.width > 0) visibles.push_back(columna.caption);
        return visibles;
    };
}

Escritorio::~Escritorio() {
    conexion_.SetLatido({});
    ventana_.reset();
    cargado_.reset();
    indicador_ = nullptr;
}

void Escritorio::Abre() {
    propio_ = std::make_unique<kx204::Componente>(fabrica_);
    kx204::Pantalla entrada(*propio_);
    Muestra(*propio_, entrada);
}

void Escritorio::Muestra(kx204::Componente& componente, kx204::Pantalla& entrada) {
    ventana_->Muestra(componente, entrada);
}

void Escritorio::AbreBiblioteca(const std::string& biblioteca) {
    // The library stays loaded for the life of the process; the component goes with this desktop.
    void* cargada = dlopen(biblioteca.c_str(), RTLD_NOW);
    if (cargada == nullptr) throw host::RuntimeError(429, std::string("No se pudo cargar el componente: ") + dlerror());
    auto carga = PuntoDeEntrada<kx204::Componente* (*)(host::Fabrica*)>(cargada, "kx204_CargaComponente");
    auto crea = PuntoDeEntrada<kx204::Pantalla* (*)(kx204::Componente*)>(cargada, "kx204_CreaPantalla");
    auto libera = PuntoDeEntrada<void (*)(kx204::Pantalla*)>(cargada, "kx204_LiberaPantalla");
    auto descarga = PuntoDeEntrada<void (*)(kx204::Componente*)>(cargada, "kx204_DescargaComponente");
    cargado_ = {carga(&fabrica_), descarga};
    std::unique_ptr<kx204::Pantalla, decltype(libera)> entrada(crea(cargado_.get()), libera);
    Muestra(*cargado_, *entrada);
}

}  // namespace qivera::escritorio
