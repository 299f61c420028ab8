#pragma once
#include <functional>
#include <memory>
#include <string>

#include "kx204/component/pantalla.hpp"
#include "qivera/db/conexion_qt.hpp"
#include "qivera/desktop/persona_qt.hpp"
#include "qivera/desktop/ventana_qivera.hpp"
#include "qivera/host/fabrica.hpp"

namespace qivera::escritorio {

// The person at the desktop while a command works: the busy cursor gives way to each question.
class PersonaEscritorio : public Persona {
public:
    PersonaEscritorio(Persona& persona, IndicadorOcupado*& indicador) : persona_(persona), indicador_(indicador) {}
    // The captions of the list's columns on view, so that the column chooser starts from them.
    std::function<std::vector<std::string>()> columnasVisibles;
    int Mensaje(const std::string& prompt, int botones, const std::string& titulo, const std::string& id) override;
    std::string Elige(const std::string& tipo, const std::vector<std::string>& args,
                      const std::vector<std::string>& opciones,
                      const std::vector<std::string>& descripciones = {}) override;
    void Muestra(const std::string& tipo, const std::vector<std::string>& args,
                 const std::vector<std::string>& contenido) override;

private:
    Persona& persona_;
    IndicadorOcupado*& indicador_;
};

// The desktop on one database: the clerk's session, the dialogs, the host's services and the window.
class Escritorio {
public:
    // The questions go to `persona` when given (scripted answers), to the window's dialogs otherwise.
    Escritorio(db::ConexionQt& conexion, const std::string& usuario, const QString& nombreBase,
               Persona* persona = nullptr);
    ~Escritorio();

    // Loads the component from its shared library through its entry points and shows the screen.
    void AbreBiblioteca(const std::string& biblioteca);
    // Shows the component linked into this program, created for this desktop alone.
    void Abre();

    VentanaQivera& Ventana() { return *ventana_; }
    Sesion& sesion() { return sesion_; }

private:
    void Muestra(kx204::Componente& componente, kx204::Pantalla& entrada);

    db::ConexionQt& conexion_;
    PersonaQt dialogos_;
    IndicadorOcupado* indicador_ = nullptr;
    PersonaEscritorio persona_;
    Sesion sesion_;
    FabricaQivera fabrica_;
    std::unique_ptr<kx204::Componente> propio_;
    // The component loaded from the library, unloaded through its own entry point.
    std::unique_ptr<kx204::Componente, void (*)(kx204::Componente*)> cargado_{nullptr, nullptr};
    std::unique_ptr<VentanaQivera> ventana_;
};

}  // namespace qivera::escritorio
