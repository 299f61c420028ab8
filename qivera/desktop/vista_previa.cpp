#include "qivera/desktop/vista_previa.hpp"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPdfDocument>
#include <QPdfPageNavigator>
#include <QPdfView>
#include <QPushButton>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "qivera/desktop/dialogo_comun.hpp"

namespace qivera::escritorio {

namespace {

constexpr double kPasoZoom = 1.25;
constexpr double kZoomMinimo = 0.1;
constexpr double kZoomMaximo = 8.0;

QString Motivo(QPdfDocument::Error error) {
    switch (error) {
        case QPdfDocument::Error::FileNotFound:
            return QStringLiteral("el archivo no existe.");
        case QPdfDocument::Error::InvalidFileFormat:
            return QStringLiteral("el archivo no es un PDF válido.");
        case QPdfDocument::Error::IncorrectPassword:
        case QPdfDocument::Error::UnsupportedSecurityScheme:
            return QStringLiteral("el PDF está protegido con contraseña.");
        default:
            return QStringLiteral("no se pudo leer el archivo.");
    }
}

QPushButton* Boton(const QString& texto, QWidget* padre) {
    auto* boton = new QPushButton(texto, padre);
    boton->setAutoDefault(false);
    return boton;
}

}  // namespace

VistaPrevia::VistaPrevia(const QString& ruta, QWidget* padre) : QDialog(padre), ruta_(ruta) {
    setWindowTitle(QStringLiteral("Vista previa — %1").arg(QFileInfo(ruta).fileName()));
    documento_ = new QPdfDocument(this);
    const QPdfDocument::Error error =
        QFileInfo::exists(ruta) ? documento_->load(ruta) : QPdfDocument::Error::FileNotFound;
    if (error != QPdfDocument::Error::None)
        error_ = QStringLiteral("No se puede mostrar %1: %2").arg(QDir::toNativeSeparators(ruta), Motivo(error));
    else if (documento_->pageCount() <= 0)
        error_ = QStringLiteral("No se puede mostrar %1: el documento no tiene páginas.")
                     .arg(QDir::toNativeSeparators(ruta));

    auto* disposicion = new QVBoxLayout(this);
    auto* herramientas = new QHBoxLayout;
    acercar_ = Boton(QStringLiteral("Acercar"), this);
    alejar_ = Boton(QStringLiteral("Alejar"), this);
    ajustar_ = Boton(QStringLiteral("Ajustar al ancho"), this);
    acercar_->setShortcut(QKeySequence::ZoomIn);
    alejar_->setShortcut(QKeySequence::ZoomOut);
    pagina_ = new QLabel(this);
    herramientas->addWidget(acercar_);
    herramientas->addWidget(alejar_);
    herramientas->addWidget(ajustar_);
    herramientas->addStretch(1);
    herramientas->addWidget(pagina_);
    disposicion->addLayout(herramientas);

    vista_ = new QPdfView(this);
    vista_->setPageMode(QPdfView::PageMode::MultiPage);
    vista_->setZoomMode(QPdfView::ZoomMode::FitToWidth);
    disposicion->addWidget(vista_, 1);
    aviso_ = new QLabel(error_, this);
    aviso_->setAlignment(Qt::AlignCenter);
    aviso_->setWordWrap(true);
    aviso_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    disposicion->addWidget(aviso_, 1);

    auto* pie = new QHBoxLayout;
    externo_ = Boton(QStringLiteral("Abrir con el visor del sistema"), this);
    pie->addWidget(externo_);
    pie->addStretch(1);
    pie->addWidget(BotonesDialogo(this, QDialogButtonBox::Close));
    disposicion->addLayout(pie);

    connect(acercar_, &QPushButton::clicked, this, &VistaPrevia::Acerca);
    connect(alejar_, &QPushButton::clicked, this, &VistaPrevia::Aleja);
    connect(ajustar_, &QPushButton::clicked, this, &VistaPrevia::AjustaAncho);
    connect(externo_, &QPushButton::clicked, this, &VistaPrevia::AbreExterno);

    const bool cargado = Cargado();
    // A document that failed to load is never handed to the view.
    if (cargado) {
        vista_->setDocument(documento_);
        connect(vista_->pageNavigator(), &QPdfPageNavigator::currentPageChanged, this, &VistaPrevia::ActualizaPagina);
    }
    vista_->setVisible(cargado);
    aviso_->setVisible(!cargado);
    for (QPushButton* boton : {acercar_, alejar_, ajustar_}) boton->setEnabled(cargado);
    externo_->setEnabled(QFileInfo::exists(ruta));
    ActualizaPagina();

    QSize tamano(820, 900);
    if (const QScreen* pantalla = padre != nullptr ? padre->screen() : screen())
        tamano = tamano.boundedTo(pantalla->availableGeometry().size() * 0.9);
    resize(tamano);
}

int VistaPrevia::Paginas() const { return Cargado() ? documento_->pageCount() : 0; }

void VistaPrevia::Acerca() { Amplia(kPasoZoom); }
void VistaPrevia::Aleja() { Amplia(1.0 / kPasoZoom); }
void VistaPrevia::AjustaAncho() { vista_->setZoomMode(QPdfView::ZoomMode::FitToWidth); }

void VistaPrevia::Amplia(double factor) {
    vista_->setZoomMode(QPdfView::ZoomMode::Custom);
    vista_->setZoomFactor(std::clamp(vista_->zoomFactor() * factor, kZoomMinimo, kZoomMaximo));
}

bool VistaPrevia::AbreExterno() {
    const bool abierto = QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(ruta_).absoluteFilePath()));
    if (!abierto) pagina_->setText(QStringLiteral("No hay un visor de PDF en el sistema"));
    return abierto;
}

void VistaPrevia::ActualizaPagina() {
    const int paginas = Paginas();
    if (paginas == 0) {
        pagina_->clear();
        return;
    }
    const int actual = std::clamp(vista_->pageNavigator()->currentPage() + 1, 1, paginas);
    pagina_->setText(paginas == 1 ? QStringLiteral("1 página")
                                  : QStringLiteral("Página %1 de %2").arg(actual).arg(paginas));
}

}  // namespace qivera::escritorio
