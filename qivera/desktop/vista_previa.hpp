#pragma once
#include <QDialog>
#include <QString>

class QLabel;
class QPdfDocument;
class QPdfView;
class QPushButton;

namespace qivera::escritorio {

// The print preview of a PDF file: its pages with zoom, the page count, and a way out to the
// system's own viewer. A file that cannot be read shows the reason instead of the pages.
class VistaPrevia : public QDialog {
    Q_OBJECT
public:
    explicit VistaPrevia(const QString& ruta, QWidget* padre = nullptr);

    bool Cargado() const { return error_.isEmpty(); }
    int Paginas() const;
    // Why the file could not be shown; empty when it was.
    QString Error() const { return error_; }
    QPdfView* Vista() const { return vista_; }

    void Acerca();
    void Aleja();
    void AjustaAncho();
    // Hands the file to the desktop's PDF viewer; false when there is none.
    bool AbreExterno();

private:
    void Amplia(double factor);
    void ActualizaPagina();

    QString ruta_;
    QString error_;
    QPdfDocument* documento_;
    QPdfView* vista_;
    QLabel* aviso_;
    QLabel* pagina_;
    QPushButton* acercar_;
    QPushButton* alejar_;
    QPushButton* ajustar_;
    QPushButton* externo_;
};

}  // namespace qivera::escritorio
