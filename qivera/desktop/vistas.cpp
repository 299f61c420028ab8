#include "qivera/desktop/vistas.hpp"

#include <QCheckBox>
#include <QDateEdit>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTabBar>

#include "kx204/host/controls/campo_serie.hpp"
#include "kx204/host/controls/campo_texto.hpp"
#include "kx204/host/controls/controles_simples.hpp"
#include "kx204/host/controls/lista.hpp"
#include "kx204/host/runtime_error.hpp"
#include "qivera/desktop/vista_lista.hpp"

namespace qivera::escritorio {

namespace host = kx204::host;
namespace teclas = host::teclas;

namespace {

QString Texto(const std::string& texto) { return QString::fromStdString(texto); }

QDate FechaQt(const host::Date& fecha) { return QDate(fecha.Year(), fecha.Month(), fecha.Day()); }

}  // namespace

bool Vista::TomaTecla(const TeclaPantalla& tecla) const {
    return tecla.tecla == teclas::Tab || tecla.tecla == teclas::Enter || tecla.tecla == teclas::Espacio ||
           tecla.tecla >= teclas::F1 || (tecla.shift & teclas::Alt);
}

bool Vista::VisibleEnModelo() const {
    const host::Control* contenedor = control_.Contenedor();
    const auto* pestanas = dynamic_cast<const host::ControlPestanas*>(contenedor);
    if (pestanas != nullptr && control_.Pagina() >= 0 && control_.Pagina() != pestanas->Tab()) return false;
    return control_.Visible();
}

void Vista::Sincroniza() {
    const host::Geometria& g = control_.Posicion();
    const QRect lugar(Pixeles(g.left), Pixeles(g.top), Pixeles(g.width), Pixeles(g.height));
    if (widget_->geometry() != lugar) widget_->setGeometry(lugar);
    widget_->setEnabled(control_.Enabled());
    widget_->setVisible(VisibleEnModelo());
    MuestraContenido();
}

namespace {

// The smallest text a display shrinks to before it lets a text be cut.
constexpr qreal kPuntosMinimos = 6;

// A display that takes no input never cuts what it shows (a total of nine digits): its text gets
// smaller instead, and back to `base` when it fits again.
void AjustaAlAncho(QLineEdit& edicion, const QFont& base) {
    if (base.pointSizeF() <= 0) return;
    QFont fuente = base;
    const int margen = 2 * edicion.style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 6;
    const int disponible = edicion.width() - margen;
    while (fuente.pointSizeF() > kPuntosMinimos && QFontMetrics(fuente).horizontalAdvance(edicion.text()) > disponible)
        fuente.setPointSizeF(fuente.pointSizeF() - 0.5);
    if (edicion.font() != fuente) edicion.setFont(fuente);
}

// A text, amount or key field. Typing reaches the model as it happens; the model may change
// it (upper case, character limit) and the field shows what the model holds.
class VistaCampo : public Vista {
public:
    VistaCampo(host::CampoTexto& campo, QWidget* padre, Despachador& despachador)
        : Vista(campo, new QLineEdit(padre)),
          campo_(campo),
          edicion_(static_cast<QLineEdit*>(Widget())),
          fuente_(edicion_->font()) {
        const host::AjustesCampo& ajustes = campo.Ajustes();
        if (ajustes.tipodato != host::TipoDato::Texto || ajustes.formato != host::formatos::Ninguno)
            edicion_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (!ajustes.idconsulta.empty()) edicion_->setToolTip(QStringLiteral("F2: buscar en el catálogo"));
        QObject::connect(edicion_, &QLineEdit::textEdited, edicion_, [this, &despachador](const QString& texto) {
            if (!despachador.Sincronizando())
                despachador.Ejecuta([this, texto] { campo_.Teclea(texto.toStdString()); });
        });
    }

    bool TomaTecla(const TeclaPantalla& tecla) const override { return TomaTeclaSalvoEspacio(tecla); }

protected:
    void MuestraContenido() override {
        const QString texto = Texto(campo_.Text());
        if (edicion_->text() != texto) {
            const int cursor = edicion_->cursorPosition();
            edicion_->setText(texto);
            edicion_->setCursorPosition(std::min(cursor, static_cast<int>(texto.size())));
        }
        if (edicion_->isReadOnly() != campo_.Locked()) {
            edicion_->setReadOnly(campo_.Locked());
            edicion_->style()->unpolish(edicion_);  // the style sheet tells read-only fields apart
            edicion_->style()->polish(edicion_);
        }
        if (campo_.Locked())
            AjustaAlAncho(*edicion_, fuente_);
        else if (edicion_->font() != fuente_)
            edicion_->setFont(fuente_);
    }

private:
    host::CampoTexto& campo_;
    QLineEdit* edicion_;
    QFont fuente_;  // the field's own, which a long display text shrinks from
};

// The series-and-number field: read-only, it shows what the branch will issue.
class VistaSerie : public Vista {
public:
    VistaSerie(host::CampoSerie& serie, QWidget* padre) : Vista(serie, new QLineEdit(padre)), serie_(serie) {
        auto* edicion = static_cast<QLineEdit*>(Widget());
        edicion->setReadOnly(true);
    }

protected:
    void MuestraContenido() override {
        std::string texto = serie_.Serie();
        if (!serie_.Numero().empty()) texto += (texto.empty() ? "" : " - ") + serie_.Numero();
        static_cast<QLineEdit*>(Widget())->setText(Texto(texto));
    }

private:
    host::CampoSerie& serie_;
};

class VistaFecha : public Vista {
public:
    VistaFecha(host::SelectorFecha& selector, QWidget* padre, Despachador& despachador)
        : Vista(selector, new QDateEdit(padre)), selector_(selector), fecha_(static_cast<QDateEdit*>(Widget())) {
        fecha_->setCalendarPopup(true);
        fecha_->setDateRange(FechaQt(host::SelectorFecha::Minima()), FechaQt(host::SelectorFecha::Maxima()));
        fecha_->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
        // A date typed digit by digit reaches the screen once, complete, not at every step.
        fecha_->setKeyboardTracking(false);
        QObject::connect(fecha_, &QDateEdit::dateChanged, fecha_, [this, &despachador](QDate fecha) {
            if (!despachador.Sincronizando())
                despachador.Ejecuta([this, fecha] {
                    selector_.SetValue(host::Date::FromYmd(fecha.year(), fecha.month(), fecha.day()));
                });
        });
    }

    bool TomaTecla(const TeclaPantalla& tecla) const override { return TomaTeclaSalvoEspacio(tecla); }

protected:
    void MuestraContenido() override {
        const QDate fecha = FechaQt(selector_.Value());
        if (fecha_->date() != fecha) fecha_->setDate(fecha);
    }

private:
    host::SelectorFecha& selector_;
    QDateEdit* fecha_;
};

// A check box: a click reaches the model, which decides the value shown.
class VistaCasilla : public Vista {
public:
    VistaCasilla(host::CasillaVerificacion& casilla, QWidget* padre, Despachador& despachador)
        : Vista(casilla, new QCheckBox(padre)), casilla_(casilla), caja_(static_cast<QCheckBox*>(Widget())) {
        QObject::connect(caja_, &QCheckBox::clicked, caja_, [this, &despachador] {
            if (!despachador.Sincronizando()) despachador.Ejecuta([this] { casilla_.Click(); });
        });
    }

protected:
    void MuestraContenido() override {
        caja_->setText(Texto(casilla_.Caption()));
        caja_->setChecked(casilla_.Value() == 1);
    }

private:
    host::CasillaVerificacion& casilla_;
    QCheckBox* caja_;
};

class VistaBoton : public Vista {
public:
    VistaBoton(host::BotonPlano& boton, QWidget* padre, Despachador& despachador)
        : Vista(boton, new QPushButton(padre)), boton_(boton) {
        auto* pulsador = static_cast<QPushButton*>(Widget());
        pulsador->setAutoDefault(false);
        QObject::connect(pulsador, &QPushButton::clicked, pulsador, [this, &despachador] {
            if (!despachador.Sincronizando()) despachador.Ejecuta([this] { boton_.Click(); });
        });
    }

protected:
    void MuestraContenido() override { static_cast<QPushButton*>(Widget())->setText(Texto(boton_.caption)); }

private:
    host::BotonPlano& boton_;
};

class VistaEtiqueta : public Vista {
public:
    VistaEtiqueta(host::Etiqueta& etiqueta, QWidget* padre) : Vista(etiqueta, new QLabel(padre)), etiqueta_(etiqueta) {
        static_cast<QLabel*>(Widget())->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }

protected:
    void MuestraContenido() override { static_cast<QLabel*>(Widget())->setText(Texto(etiqueta_.caption)); }

private:
    host::Etiqueta& etiqueta_;
};

// Frames group; the shapes (named sh…) are the thin rules heading each tab's frame.
class VistaMarco : public Vista {
public:
    VistaMarco(host::Marco& marco, QWidget* padre) : Vista(marco, new QFrame(padre)) {
        auto* frame = static_cast<QFrame*>(Widget());
        const bool regla = marco.Nombre().rfind("sh", 0) == 0;
        frame->setProperty("regla", regla);
        if (marco.Contenedor() != nullptr && !regla && marco.Pagina() < 0) frame->setFrameShape(QFrame::StyledPanel);
    }
    bool TomaTecla(const TeclaPantalla&) const override { return false; }
};

// The tab control: a tab bar over the area where each tab's frame shows.
class VistaPestanas : public Vista {
public:
    VistaPestanas(host::ControlPestanas& pestanas, QWidget* padre, Despachador& despachador)
        : Vista(pestanas, new QWidget(padre)), pestanas_(pestanas), barra_(new QTabBar(Widget())) {
        for (int i = 0; i < pestanas.Tabs(); ++i) barra_->addTab(Texto(pestanas.Caption(i)));
        barra_->setFocusPolicy(Qt::StrongFocus);
        barra_->setDrawBase(false);
        barra_->setExpanding(false);
        QObject::connect(barra_, &QTabBar::currentChanged, barra_, [this, &despachador](int tab) {
            if (!despachador.Sincronizando() && tab >= 0) despachador.Ejecuta([this, tab] { pestanas_.SetTab(tab); });
        });
    }
    QWidget* Enfocable() const override { return barra_; }

protected:
    void MuestraContenido() override {
        if (barra_->currentIndex() != pestanas_.Tab()) barra_->setCurrentIndex(pestanas_.Tab());
        barra_->setGeometry(0, 0, Widget()->width(), barra_->sizeHint().height());
    }

private:
    host::ControlPestanas& pestanas_;
    QTabBar* barra_;
};

// The note list: the table shows the model through an item model of its own.
class VistaNotas : public Vista {
public:
    VistaNotas(host::Lista& lista, QWidget* padre, Despachador& despachador)
        : Vista(lista, new VistaLista(lista, padre)), tabla_(static_cast<VistaLista*>(Widget())) {
        tabla_->OnCambio = [&despachador] { despachador.Ejecuta([] {}); };
        // A failure of the list's own handlers reaches the person as any other does.
        tabla_->OnError = [&despachador](const host::RuntimeError& error) {
            despachador.Ejecuta([error] { throw error; });
        };
    }
    // Letters and the space go to the list's own handlers; arrows stay the table's.
    bool TomaTecla(const TeclaPantalla& tecla) const override {
        return Vista::TomaTecla(tecla) || (tecla.tecla >= teclas::Cero && tecla.tecla <= teclas::Z);
    }

protected:
    void MuestraContenido() override { tabla_->Refresca(); }

private:
    VistaLista* tabla_;
};

}  // namespace

std::unique_ptr<Vista> CreaVista(host::Control& control, QWidget* padre, Despachador& despachador) {
    std::unique_ptr<Vista> vista;
    if (auto* campo = dynamic_cast<host::CampoTexto*>(&control))
        vista = std::make_unique<VistaCampo>(*campo, padre, despachador);
    else if (auto* serie = dynamic_cast<host::CampoSerie*>(&control))
        vista = std::make_unique<VistaSerie>(*serie, padre);
    else if (auto* fecha = dynamic_cast<host::SelectorFecha*>(&control))
        vista = std::make_unique<VistaFecha>(*fecha, padre, despachador);
    else if (auto* casilla = dynamic_cast<host::CasillaVerificacion*>(&control))
        vista = std::make_unique<VistaCasilla>(*casilla, padre, despachador);
    else if (auto* boton = dynamic_cast<host::BotonPlano*>(&control))
        vista = std::make_unique<VistaBoton>(*boton, padre, despachador);
    else if (auto* etiqueta = dynamic_cast<host::Etiqueta*>(&control))
        vista = std::make_unique<VistaEtiqueta>(*etiqueta, padre);
    else if (auto* marco = dynamic_cast<host::Marco*>(&control))
        vista = std::make_unique<VistaMarco>(*marco, padre);
    else if (auto* pestanas = dynamic_cast<host::ControlPestanas*>(&control))
        vista = std::make_unique<VistaPestanas>(*pestanas, padre, despachador);
    else if (auto* lista = dynamic_cast<host::Lista*>(&control))
        vista = std::make_unique<VistaNotas>(*lista, padre, despachador);
    if (vista) vista->Widget()->setObjectName(QString::fromStdString(control.Nombre()));
    return vista;
}

}  // namespace qivera::escritorio
