#pragma once
#include <array>
#include <functional>

#include <QStyle>
#include <QToolBar>

#include "kx204/host/controls/barra_herramientas.hpp"

class QAction;

namespace qivera::escritorio {

// The screen's toolbar: one action per command, the caption-driven buttons shown while they
// have a caption, and the enabled state the model gives each command.
class BarraQt : public QToolBar {
public:
    BarraQt(kx204::host::BarraHerramientas& barra, QWidget* padre);

    void Sincroniza();
    QAction* Accion(kx204::host::ComandoBarra comando) const;
    QAction* AccionCamposAdicionales() const { return camposAdicionales_; }

    // A person pressed a command.
    std::function<void(kx204::host::ComandoBarra)> OnComando;
    std::function<void()> OnCamposAdicionales;

private:
    QAction* Agrega(kx204::host::ComandoBarra comando, const QString& texto, QStyle::StandardPixmap icono);

    kx204::host::BarraHerramientas& barra_;
    std::array<QAction*, 10> acciones_{};
    QAction* camposAdicionales_ = nullptr;
};

}  // namespace qivera::escritorio
