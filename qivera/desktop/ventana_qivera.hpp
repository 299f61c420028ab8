#pragma once
#include <memory>
#include <string>
#include <vector>

#include <QMainWindow>

#include "kx204/component/pantalla.hpp"
#include "kx204/screen/frm_kx204.hpp"
#include "qivera/desktop/barra_qt.hpp"
#include "qivera/desktop/lienzo.hpp"
#include "qivera/desktop/ocupado.hpp"
#include "qivera/host/padre_qivera.hpp"
#include "qivera/services/campos_adicionales.hpp"

class QLabel;

namespace qivera::escritorio {

// The host window (the screen's Padre): the toolbar, the folio and the tabs drawn from the
// screen's models, a status bar with the clerk and the database, the busy indication, and the
// preview of every invoice printed.
class VentanaQivera : public QMainWindow {
public:
    VentanaQivera(Sesion& sesion, const QString& baseDatos);
    ~VentanaQivera() override;

    // Obtains the component's screen through its entry class, gives it this window as Padre,
    // shows and activates it.
    void Muestra(kx204::Componente& componente, kx204::Pantalla& entrada);

    kx204::frmKX204* Pantalla() const { return pantalla_; }
    LienzoFormulario* Lienzo() const { return lienzo_; }
    BarraQt* Barra() const { return barra_; }
    IndicadorOcupado& Indicador() { return *indicador_; }

    // The database reached another step: keeps the window painted while a command works.
    void Latido() { indicador_->Latido(); }
    // A document was printed, signed or mailed.
    void Registra(const std::string& evento, const std::string& folio, const std::string& archivo);
    // Whether printed invoices open in the preview (off for tests that only check the file).
    void SetVistaPrevia(bool muestra) { vistaPrevia_ = muestra; }

protected:
    void closeEvent(QCloseEvent* evento) override;

private:
    void Comando(kx204::host::ComandoBarra comando);
    void EditaCamposAdicionales();
    void Busca(kx204::host::CampoTexto& campo);
    void Falla(const std::string& descripcion);
    void Despues();
    void MuestraImpresos();

    Sesion& sesion_;
    PadreQivera padre_;
    QString baseDatos_;
    kx204::Componente* componente_ = nullptr;
    kx204::frmKX204* pantalla_ = nullptr;
    LienzoFormulario* lienzo_ = nullptr;
    BarraQt* barra_ = nullptr;
    QLabel* estado_ = nullptr;
    std::unique_ptr<IndicadorOcupado> indicador_;
    std::vector<std::string> impresos_;
    bool vistaPrevia_ = true;
};

}  // namespace qivera::escritorio
