#include "qivera/desktop/ocupado.hpp"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>

namespace qivera::escritorio {

namespace {

constexpr int kMsAntesDeLaBarra = 300;  // shorter work shows only the cursor
constexpr int kMsEntrePintados = 80;

}  // namespace

IndicadorOcupado::IndicadorOcupado(QStatusBar& barra)
    : barra_(barra), progreso_(new QProgressBar(&barra)), tarea_(new QLabel(&barra)) {
    progreso_->setRange(0, 0);  // no known end: a moving bar
    progreso_->setMaximumWidth(180);
    progreso_->setMaximumHeight(14);
    progreso_->setTextVisible(false);
    barra_.addPermanentWidget(tarea_);
    barra_.addPermanentWidget(progreso_);
    progreso_->hide();
    tarea_->hide();
}

void IndicadorOcupado::Inicia(const QString& tarea) {
    activo_ = true;
    tarea_->setText(tarea + QStringLiteral("…"));
    reloj_.start();
    ultimoPintado_.start();
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void IndicadorOcupado::Termina() {
    if (!activo_) return;
    activo_ = false;
    progreso_->hide();
    tarea_->hide();
    QApplication::restoreOverrideCursor();
}

bool IndicadorOcupado::BarraVisible() const { return !progreso_->isHidden(); }

void IndicadorOcupado::Latido() {
    if (!activo_ || suspensiones_ > 0 || ultimoPintado_.elapsed() < kMsEntrePintados) return;
    if (reloj_.elapsed() < kMsAntesDeLaBarra) return;
    ultimoPintado_.restart();
    progreso_->show();
    tarea_->show();
    // Paint only: the person's clicks and keys wait until the command is over.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void IndicadorOcupado::Suspende() {
    if (activo_ && suspensiones_++ == 0) QApplication::restoreOverrideCursor();
}

void IndicadorOcupado::Reanuda() {
    if (activo_ && --suspensiones_ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
}

}  // namespace qivera::escritorio
