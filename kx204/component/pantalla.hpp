#pragma once
#include <memory>
#include <string>

#include "kx204/component/publico.hpp"

namespace kx204 {

class frmKX204;

// The loaded component: its shared services and the one default instance of its screen.
class Componente {
public:
    explicit Componente(host::Fabrica& fabrica);
    ~Componente();
    Componente(const Componente&) = delete;
    Componente& operator=(const Componente&) = delete;

    Publico& publico() { return publico_; }
    // The screen, created and loaded on first use; nullptr when that failed.
    frmKX204* Pantalla();
    // Unloads the screen; the next use creates it anew.
    void DescargaPantalla();

private:
    Publico publico_;
    std::unique_ptr<frmKX204> pantalla_;
};

// What the host creates to reach the screen.
class Pantalla {
public:
    explicit Pantalla(Componente& componente) : componente_(componente) {}
    // The screen's shared instance; nullptr (Nothing) when it could not be created.
    frmKX204* GetPantalla() { return componente_.Pantalla(); }
    std::string Modulo() const { return "VENTAS"; }

private:
    Componente& componente_;
};

}  // namespace kx204

// The plugin's entry points, looked up by name by a host that loads libkx204.so.
// The component is loaded once per factory (nullptr for none); the host unloads it with
// kx204_DescargaComponente before its factory goes.
extern "C" kx204::Componente* kx204_CargaComponente(kx204::host::Fabrica* fabrica);
extern "C" void kx204_DescargaComponente(kx204::Componente* componente);
extern "C" kx204::Pantalla* kx204_CreaPantalla(kx204::Componente* componente);
extern "C" void kx204_LiberaPantalla(kx204::Pantalla* pantalla);
