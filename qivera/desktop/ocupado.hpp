#pragma once
#include <QElapsedTimer>
#include <QString>

class QLabel;
class QProgressBar;
class QStatusBar;

namespace qivera::escritorio {

// Tells the person the window is working: the wait cursor from the start of a command, and a
// progress bar in the status bar once the work lasts long enough to notice. The work runs on
// the window's own thread, so the window is painted from the database's heartbeat.
class IndicadorOcupado {
public:
    explicit IndicadorOcupado(QStatusBar& barra);

    void Inicia(const QString& tarea);
    void Termina();
    bool Activo() const { return activo_; }
    // Called between steps of the work; cheap when nothing is due.
    void Latido();
    // While a dialog asks the person something, the window is not busy.
    void Suspende();
    void Reanuda();
    bool BarraVisible() const;

private:
    QStatusBar& barra_;
    QProgressBar* progreso_;
    QLabel* tarea_;
    QElapsedTimer reloj_, ultimoPintado_;
    bool activo_ = false;
    int suspensiones_ = 0;
};

// One command's busy time.
class Ocupado {
public:
    Ocupado(IndicadorOcupado& indicador, const QString& tarea) : indicador_(indicador) { indicador_.Inicia(tarea); }
    ~Ocupado() { indicador_.Termina(); }
    Ocupado(const Ocupado&) = delete;
    Ocupado& operator=(const Ocupado&) = delete;

private:
    IndicadorOcupado& indicador_;
};

// While a dialog asks the person something: the normal cursor, and no busy painting.
class PausaOcupado {
public:
    explicit PausaOcupado(IndicadorOcupado* indicador) : indicador_(indicador) {
        if (indicador_ != nullptr) indicador_->Suspende();
    }
    ~PausaOcupado() {
        if (indicador_ != nullptr) indicador_->Reanuda();
    }
    PausaOcupado(const PausaOcupado&) = delete;
    PausaOcupado& operator=(const PausaOcupado&) = delete;

private:
    IndicadorOcupado* indicador_;
};

}  // namespace qivera::escritorio
