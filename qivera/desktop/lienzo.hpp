#pragma once
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include <QWidget>

#include "kx204/host/controls/campo_texto.hpp"
#include "kx204/host/controls/formulario.hpp"
#include "qivera/desktop/vistas.hpp"

namespace qivera::escritorio {

// The form drawn with Qt widgets: one view per control, placed as the model places it.
// A person's input goes to the models; after it, every view shows the models again, so a
// change the screen makes anywhere (a total, a caption, the focus) is what the person sees.
class LienzoFormulario : public QWidget, public Despachador {
public:
    LienzoFormulario(kx204::host::Formulario& forma, QWidget* padre = nullptr);
    ~LienzoFormulario() override;

    void Ejecuta(const std::function<void()>& accion) override;
    bool Sincronizando() const override { return sincronizando_; }
    // Whether some input is still running (a dialog it opened may be up).
    bool EnCurso() const { return profundidad_ > 0; }
    // Brings every view up to date with its model, the keyboard focus included.
    void Sincroniza();

    // The widget showing a control, nullptr for the toolbar and unknown names.
    QWidget* WidgetDe(const std::string& nombre) const;

    // A failure that reached the host: no handler of the screen trapped it.
    std::function<void(const std::string& descripcion)> OnFalla;
    // After every input, once the views show the models again.
    std::function<void()> OnDespues;
    // F2 on a key field that offers its catalog search.
    std::function<void(kx204::host::CampoTexto& campo)> OnBusqueda;

protected:
    void resizeEvent(QResizeEvent* evento) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    Vista* VistaDe(kx204::host::Control& control);
    bool TeclaPulsada(Vista& vista, const TeclaPantalla& tecla);
    void EnfocaModelo();

    kx204::host::Formulario& forma_;
    std::vector<std::unique_ptr<Vista>> vistas_;
    std::unordered_map<const kx204::host::Control*, Vista*> porControl_;
    std::unordered_map<const QObject*, Vista*> porWidget_;
    bool sincronizando_ = false;
    int profundidad_ = 0;
};

}  // namespace qivera::escritorio
