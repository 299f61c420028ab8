#pragma once
#include <functional>
#include <memory>

#include <QWidget>

#include "kx204/host/controls/control.hpp"
#include "qivera/desktop/medidas.hpp"
#include "qivera/desktop/teclas_qt.hpp"

namespace qivera::escritorio {

// Where a view hands a person's input: runs it against the models, shows any failure and
// brings every view up to date. While views are being brought up to date, the signals their
// widgets raise are not input.
class Despachador {
public:
    virtual ~Despachador() = default;
    virtual void Ejecuta(const std::function<void()>& accion) = 0;
    virtual bool Sincronizando() const = 0;
};

// One Qt widget showing one control model: its place, enabled state and visibility, and what
// its kind shows. A view never keeps state of its own beyond what Qt needs to draw.
class Vista {
public:
    Vista(kx204::host::Control& control, QWidget* widget) : control_(control), widget_(widget) {}
    virtual ~Vista() = default;
    Vista(const Vista&) = delete;
    Vista& operator=(const Vista&) = delete;

    kx204::host::Control& Control() const { return control_; }
    QWidget* Widget() const { return widget_; }
    // Where the widget takes the keyboard (the tab bar of a tab control).
    virtual QWidget* Enfocable() const { return widget_; }
    // Whether a key goes to the screen or stays with the widget (typing, arrows).
    virtual bool TomaTecla(const TeclaPantalla& tecla) const;
    // Shows the model's state.
    void Sincroniza();

protected:
    // Fields that take typing keep the space for themselves.
    bool TomaTeclaSalvoEspacio(const TeclaPantalla& tecla) const {
        return tecla.tecla != kx204::host::teclas::Espacio && Vista::TomaTecla(tecla);
    }
    virtual void MuestraContenido() {}
    virtual bool VisibleEnModelo() const;

private:
    kx204::host::Control& control_;
    QWidget* widget_;
};

// The view of a control, created as a child of `padre`, or nullptr for the kinds the window
// shows by itself (the toolbar).
std::unique_ptr<Vista> CreaVista(kx204::host::Control& control, QWidget* padre, Despachador& despachador);

}  // namespace qivera::escritorio
