#include "qivera/desktop/ventana_qivera.hpp"

#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QLabel>
#include <QStatusBar>
#include <optional>

#include "kx204/host/runtime_error.hpp"
#include "qivera/desktop/dialogo_campos_adicionales.hpp"
#include "qivera/desktop/vista_previa.hpp"
#include "qivera/mail/correo.hpp"
#include "qivera/services/catalogo.hpp"

namespace qivera::escritorio {

namespace host = kx204::host;
using host::ComandoBarra;

namespace {

// Fields that take input look white; what only shows a value is tinted, so the clerk sees at
// a glance where to type.
constexpr const char* kEstilo = R"(
QLineEdit[readOnly="true"] { background: #eef2f7; color: #1d2a38; border: 1px solid #c5cfdb; }
QLineEdit:disabled, QDateEdit:disabled { background: #f3f3f3; color: #8a8a8a; }
QFrame[regla="true"] { background: #2f6ea5; border: none; }
QFrame#frTotal { background: #f7f9fc; border: 1px solid #c5cfdb; border-radius: 3px; }
QFrame#frTotal QLineEdit { font-weight: bold; }
QLabel { color: #2b2b2b; }
QTableView { selection-background-color: #cfe0f3; selection-color: #102030; alternate-background-color: #f6f8fb; }
)";

// The work each command does, as the busy indication names it; empty for the quick ones.
QString Tarea(ComandoBarra comando) {
    switch (comando) {
        case ComandoBarra::Aceptar:
            return QStringLiteral("Generando la factura");
        case ComandoBarra::B1:
            return QStringLiteral("Cargando ventas");
        case ComandoBarra::B2:
            return QStringLiteral("Firmando");
        case ComandoBarra::B3:
            return QStringLiteral("Agregando la venta");
        case ComandoBarra::Imprimir:
            return QStringLiteral("Imprimiendo");
        case ComandoBarra::Eliminar:
            return QStringLiteral("Eliminando la factura");
        case ComandoBarra::Nuevo:
            return QStringLiteral("Preparando la factura");
        default:
            return {};
    }
}

}  // namespace

VentanaQivera::VentanaQivera(Sesion& sesion, const QString& baseDatos)
    : sesion_(sesion), padre_(sesion), baseDatos_(baseDatos) {
    setObjectName(QStringLiteral("Qivera"));
    setStyleSheet(QString::fromUtf8(kEstilo));
    estado_ = new QLabel(this);
    statusBar()->addWidget(estado_);
    indicador_ = std::make_unique<IndicadorOcupado>(*statusBar());
    padre_.OnDescarga = [this] { QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection); };
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState estado) {
        // Only a return from another application activates the screen again: the window's own
        // dialogs come and go in the middle of a command.
        if (estado == Qt::ApplicationActive && pantalla_ != nullptr && !lienzo_->EnCurso())
            lienzo_->Ejecuta([this] { pantalla_->Form_Activate(); });
    });
}

VentanaQivera::~VentanaQivera() {
    if (pantalla_ != nullptr) close();
}

void VentanaQivera::Muestra(kx204::Componente& componente, kx204::Pantalla& entrada) {
    componente_ = &componente;
    pantalla_ = &padre_.Acoge(entrada);
    setWindowTitle(QString::fromStdString(pantalla_->Controles.Ajustes().caption) + QStringLiteral(" — Qivera"));
    const host::Date hoy = sesion_.Ahora();
    estado_->setText(QStringLiteral("Usuario: %1   ·   Base de datos: %2   ·   Fecha: %3")
                         .arg(QString::fromStdString(sesion_.usuario), baseDatos_,
                              QDate(hoy.Year(), hoy.Month(), hoy.Day()).toString(QStringLiteral("dd/MM/yyyy"))));

    barra_ = new BarraQt(pantalla_->Controles, this);
    barra_->OnComando = [this](ComandoBarra comando) { Comando(comando); };
    barra_->OnCamposAdicionales = [this] { EditaCamposAdicionales(); };
    addToolBar(barra_);

    lienzo_ = new LienzoFormulario(*pantalla_, this);
    lienzo_->OnFalla = [this](const std::string& descripcion) { Falla(descripcion); };
    lienzo_->OnDespues = [this] { Despues(); };
    lienzo_->OnBusqueda = [this](host::CampoTexto& campo) { Busca(campo); };
    setCentralWidget(lienzo_);
    resize(1180, 760);
    show();
    lienzo_->Ejecuta([this] { pantalla_->Form_Activate(); });
}

void VentanaQivera::Comando(ComandoBarra comando) {
    {
        const QString tarea = Tarea(comando);
        std::optional<Ocupado> ocupado;
        if (!tarea.isEmpty()) ocupado.emplace(*indicador_, tarea);
        lienzo_->Ejecuta([this, comando] { pantalla_->Controles.Pulsa(comando); });
    }
    MuestraImpresos();
}

void VentanaQivera::Busca(host::CampoTexto& campo) {
    const std::string clave = BuscaEnCatalogo(sesion_, campo.Ajustes().idconsulta, campo.Filtro());
    if (clave.empty()) return;
    // The chosen key is typed and confirmed, as if the person had done it.
    campo.Teclea(clave);
    pantalla_->PulsaTecla(campo, host::teclas::Enter, 0);
}

void VentanaQivera::EditaCamposAdicionales() {
    auto* campos = dynamic_cast<CamposAdicionalesQivera*>(pantalla_->Controles.Campos());
    if (campos == nullptr) return;
    DialogoCamposAdicionales dialogo(campos->Valores(), this);
    dialogo.exec();
}

void VentanaQivera::Falla(const std::string& descripcion) { sesion_.persona.Mensaje(descripcion, 16, "Qivera", ""); }

void VentanaQivera::Despues() {
    if (barra_ != nullptr) barra_->Sincroniza();
    if (!indicador_->Activo()) MuestraImpresos();
}

void VentanaQivera::Registra(const std::string& evento, const std::string& folio, const std::string& archivo) {
    if (evento == "ajuste") {
        statusBar()->showMessage(
            QStringLiteral("Factura %1: su total se ajustó %2 por redondeo para coincidir con su CFDI")
                .arg(QString::fromStdString(folio), QString::fromStdString(archivo)),
            15000);
        return;
    }
    if (evento == "sustitucion") {
        statusBar()->showMessage(QStringLiteral("CFDI sustituido de la factura %1: %2")
                                     .arg(QString::fromStdString(folio), QString::fromStdString(archivo)),
                                 15000);
        return;
    }
    if (evento == "print") impresos_.push_back(archivo);
    // Mail always reaches the outbox; it was sent only when a server is configured (a failure registers nothing).
    const QString que = evento == "print"                 ? QStringLiteral("impresa")
                        : evento == "sign"                ? QStringLiteral("firmada")
                        : ServidorCorreo(sesion_).empty() ? QStringLiteral("en bandeja de salida")
                                                          : QStringLiteral("enviada por correo");
    statusBar()->showMessage(
        QStringLiteral("Factura %1 %2: %3").arg(QString::fromStdString(folio), que, QString::fromStdString(archivo)),
        15000);
}

void VentanaQivera::MuestraImpresos() {
    std::vector<std::string> impresos;
    impresos.swap(impresos_);
    if (!vistaPrevia_) return;
    for (const std::string& archivo : impresos) {
        VistaPrevia vista(QString::fromStdString(archivo), this);
        vista.exec();
    }
}

void VentanaQivera::closeEvent(QCloseEvent* evento) {
    if (pantalla_ != nullptr) {
        // The views go before the models they show.
        delete takeCentralWidget();
        removeToolBar(barra_);
        delete barra_;
        lienzo_ = nullptr;
        barra_ = nullptr;
        pantalla_ = nullptr;
        sesion_.ventanaActiva = nullptr;
        componente_->DescargaPantalla();
    }
    QMainWindow::closeEvent(evento);
}

}  // namespace qivera::escritorio
