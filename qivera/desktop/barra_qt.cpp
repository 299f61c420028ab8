#include "qivera/desktop/barra_qt.hpp"

#include <QAction>
#include <QStyle>

namespace qivera::escritorio {

using kx204::host::ComandoBarra;

namespace {

// The caption-driven buttons and their places in the model.
constexpr std::pair<ComandoBarra, int> kBotones[] = {
    {ComandoBarra::B1, 1}, {ComandoBarra::B2, 2}, {ComandoBarra::B3, 3}};

}  // namespace

BarraQt::BarraQt(kx204::host::BarraHerramientas& barra, QWidget* padre)
    : QToolBar(QString::fromStdString(barra.Ajustes().caption), padre), barra_(barra) {
    setObjectName(QString::fromStdString(barra.Nombre()));
    setMovable(false);
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setIconSize(QSize(22, 22));
    Agrega(ComandoBarra::Nuevo, QStringLiteral("Nuevo"), QStyle::SP_FileIcon);
    Agrega(ComandoBarra::Aceptar, QStringLiteral("Aceptar"), QStyle::SP_DialogApplyButton);
    Agrega(ComandoBarra::Cancelar, QStringLiteral("Cancelar"), QStyle::SP_DialogCancelButton);
    addSeparator();
    Agrega(ComandoBarra::Imprimir, QStringLiteral("Imprimir"), QStyle::SP_FileDialogDetailedView);
    Agrega(ComandoBarra::Visor, QStringLiteral("Visor"), QStyle::SP_FileDialogContentsView);
    Agrega(ComandoBarra::Eliminar, QStringLiteral("Eliminar"), QStyle::SP_TrashIcon);
    addSeparator();
    Agrega(ComandoBarra::B1, QString(), QStyle::SP_BrowserReload);
    Agrega(ComandoBarra::B2, QString(), QStyle::SP_DialogYesButton);
    Agrega(ComandoBarra::B3, QString(), QStyle::SP_FileDialogNewFolder);
    camposAdicionales_ = addAction(style()->standardIcon(QStyle::SP_FileDialogInfoView), QStringLiteral("Adicionales"));
    camposAdicionales_->setToolTip(QStringLiteral("Campos adicionales del documento"));
    connect(camposAdicionales_, &QAction::triggered, this, [this] {
        if (OnCamposAdicionales) OnCamposAdicionales();
    });
    auto* relleno = new QWidget(this);
    relleno->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    addWidget(relleno);
    if (barra.Ajustes().showexitbutton)
        Agrega(ComandoBarra::Salir, QStringLiteral("Salir"), QStyle::SP_DialogCloseButton);
    Sincroniza();
}

QAction* BarraQt::Agrega(ComandoBarra comando, const QString& texto, QStyle::StandardPixmap icono) {
    QAction* accion = addAction(style()->standardIcon(icono), texto);
    accion->setObjectName(texto);
    connect(accion, &QAction::triggered, this, [this, comando] {
        if (OnComando) OnComando(comando);
    });
    acciones_[static_cast<std::size_t>(comando)] = accion;
    return accion;
}

QAction* BarraQt::Accion(ComandoBarra comando) const { return acciones_[static_cast<std::size_t>(comando)]; }

void BarraQt::Sincroniza() {
    for (std::size_t i = 0; i < acciones_.size(); ++i)
        if (acciones_[i] != nullptr) acciones_[i]->setEnabled(barra_.Habilitado(static_cast<ComandoBarra>(i)));
    for (const auto& [comando, boton] : kBotones) {
        QAction* accion = Accion(comando);
        const QString caption = QString::fromStdString(barra_.CaptionBoton(boton));
        accion->setText(caption);
        accion->setVisible(!caption.isEmpty());
    }
}

}  // namespace qivera::escritorio
