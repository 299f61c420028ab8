#include "qivera/desktop/lienzo.hpp"

#include <QKeyEvent>

#include "kx204/host/runtime_error.hpp"

namespace qivera::escritorio {

namespace host = kx204::host;

LienzoFormulario::LienzoFormulario(host::Formulario& forma, QWidget* padre) : QWidget(padre), forma_(forma) {
    setObjectName(QString::fromStdString(forma.Nombre()));
    for (host::Control* control : forma.Contenido()) VistaDe(*control);
    Sincroniza();
}

LienzoFormulario::~LienzoFormulario() {
    // The widgets go before the views their signals call, and the filter sees none of their last events.
    for (const auto& [widget, vista] : porWidget_) const_cast<QObject*>(widget)->removeEventFilter(this);
    qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
}

// Containers come first, so that each widget is born inside its container's.
Vista* LienzoFormulario::VistaDe(host::Control& control) {
    if (const auto it = porControl_.find(&control); it != porControl_.end()) return it->second;
    QWidget* padre = this;
    if (control.Contenedor() != nullptr) {
        Vista* contenedor = VistaDe(*control.Contenedor());
        if (contenedor != nullptr) padre = contenedor->Widget();
    }
    std::unique_ptr<Vista> vista = CreaVista(control, padre, *this);
    Vista* creada = vista.get();
    porControl_[&control] = creada;
    if (creada == nullptr) return nullptr;
    creada->Enfocable()->installEventFilter(this);
    porWidget_[creada->Enfocable()] = creada;
    vistas_.push_back(std::move(vista));
    return creada;
}

QWidget* LienzoFormulario::WidgetDe(const std::string& nombre) const {
    host::Control* control = forma_.Busca(nombre);
    const auto it = porControl_.find(control);
    return it == porControl_.end() || it->second == nullptr ? nullptr : it->second->Widget();
}

void LienzoFormulario::Sincroniza() {
    sincronizando_ = true;
    for (const auto& vista : vistas_) vista->Sincroniza();
    EnfocaModelo();
    sincronizando_ = false;
}

void LienzoFormulario::EnfocaModelo() {
    const auto it = porControl_.find(forma_.Foco());
    if (it == porControl_.end() || it->second == nullptr) return;
    QWidget* enfocable = it->second->Enfocable();
    if (enfocable->isVisibleTo(window()) && enfocable->isEnabled() && window()->focusWidget() != enfocable)
        enfocable->setFocus(Qt::OtherFocusReason);
}

void LienzoFormulario::Ejecuta(const std::function<void()>& accion) {
    // A handler may open a dialog whose answer leads to more input: only the outermost syncs.
    ++profundidad_;
    try {
        accion();
    } catch (const host::RuntimeError& error) {
        if (OnFalla) OnFalla(error.description);
    } catch (const std::exception& error) {
        if (OnFalla) OnFalla(error.what());
    }
    if (--profundidad_ > 0) return;
    Sincroniza();
    if (OnDespues) OnDespues();
}

void LienzoFormulario::resizeEvent(QResizeEvent* evento) {
    QWidget::resizeEvent(evento);
    Ejecuta([this] { forma_.Redimensiona(Twips(width()), Twips(height())); });
}

bool LienzoFormulario::TeclaPulsada(Vista& vista, const TeclaPantalla& tecla) {
    auto* campo = dynamic_cast<host::CampoTexto*>(&vista.Control());
    if (campo != nullptr && tecla.tecla == host::teclas::F2 && tecla.shift == 0 && OnBusqueda &&
        !campo->Ajustes().idconsulta.empty() && !campo->AyudaBusqueda().empty() && !campo->Locked()) {
        Ejecuta([this, campo] { OnBusqueda(*campo); });
        return true;
    }
    if (!vista.TomaTecla(tecla)) return false;
    Ejecuta([&] { forma_.PulsaTecla(vista.Control(), tecla.tecla, tecla.shift); });
    return true;
}

bool LienzoFormulario::eventFilter(QObject* objeto, QEvent* evento) {
    const auto it = porWidget_.find(objeto);
    if (it == porWidget_.end()) return QWidget::eventFilter(objeto, evento);
    Vista& vista = *it->second;
    switch (evento->type()) {
        case QEvent::KeyPress: {
            const auto tecla = TeclaDe(*static_cast<QKeyEvent*>(evento));
            return tecla && TeclaPulsada(vista, *tecla);
        }
        case QEvent::KeyRelease: {
            // Buttons act on release: the press already reached the model.
            const auto tecla = TeclaDe(*static_cast<QKeyEvent*>(evento));
            return tecla && vista.TomaTecla(*tecla);
        }
        case QEvent::FocusIn:
            if (!sincronizando_) forma_.SetFoco(vista.Control());
            return false;
        default:
            return false;
    }
}

}  // namespace qivera::escritorio
