#pragma once
#include <array>
#include <functional>
#include <string>

#include "kx204/host/controls/control.hpp"

namespace kx204::host {

enum class ComandoBarra { Nuevo, Imprimir, Visor, Eliminar, Aceptar, Cancelar, Salir, B1, B2, B3 };

// Where the host keeps the toolbar's additional fields of a document.
class CamposAdicionales {
public:
    virtual ~CamposAdicionales() = default;
    virtual bool Graba(const std::string& tabla, const std::string& clave, std::string& error) = 0;
    virtual void Carga(const std::string& tabla, const std::string& clave) = 0;
};

struct AjustesBarra {
    std::string caption;
    std::string opc_table;
    std::string opc_key;
    bool showexitbutton = true;
    bool showwindowslist = true;
    bool showmenupopup = false;
    bool easyaccessenabled = false;
};

// The host's toolbar: fixed commands, three caption-driven buttons and the
// new-document state, on from its New command until the operation ends.
class BarraHerramientas : public Control {
public:
    BarraHerramientas(std::string nombre, AjustesBarra ajustes);

    const AjustesBarra& Ajustes() const { return ajustes_; }
    bool NuevoDocumento() const { return nuevoDocumento_; }

    // Print, record viewer and Delete are switched by the screen; the others follow the state.
    bool Habilitado(ComandoBarra comando) const;
    void SetHabilitado(ComandoBarra comando, bool habilitado);
    // Caption of button 1, 2 or 3; a button is offered while its caption is not empty.
    const std::string& CaptionBoton(int boton) const;
    void SetCaptionBoton(int boton, std::string caption);

    const std::string& ClaveDocumento() const { return claveDocumento_; }
    void SetClaveDocumento(std::string clave) { claveDocumento_ = std::move(clave); }

    // A person pressed a command: answers why it was refused, or empty when it ran.
    // The host may refuse it first (the clerk lacks a permission); Delete asks the person first
    // when the host gave a way to ask; a no raises nothing.
    std::string Pulsa(ComandoBarra comando);
    void SetConfirmaEliminar(std::function<bool()> confirma) { confirmaEliminar_ = std::move(confirma); }
    // Answers why the host refuses a command, empty when it allows it.
    void SetAutoriza(std::function<std::string(ComandoBarra)> autoriza) { autoriza_ = std::move(autoriza); }

    void TerminaOperacion() { nuevoDocumento_ = false; }
    // The save was abandoned; capture goes on.
    void CancelaOperacion() { ++operacionesCanceladas_; }
    int OperacionesCanceladas() const { return operacionesCanceladas_; }

    void SetCamposAdicionales(CamposAdicionales* campos) { campos_ = campos; }
    CamposAdicionales* Campos() const { return campos_; }
    bool GrabaCamposAdicionales(const std::string& clave);
    const std::string& ErrorCamposAdicionales() const { return errorCampos_; }
    void CargaCamposAdicionales(const std::string& clave);

    std::function<void(ComandoBarra)> OnComando;

private:
    AjustesBarra ajustes_;
    bool nuevoDocumento_ = false;
    bool imprimir_ = false, visor_ = false, eliminar_ = false;
    std::array<std::string, 3> captions_;
    std::string claveDocumento_;
    int operacionesCanceladas_ = 0;
    CamposAdicionales* campos_ = nullptr;
    std::function<bool()> confirmaEliminar_;
    std::function<std::string(ComandoBarra)> autoriza_;
    std::string errorCampos_;
};

}  // namespace kx204::host
