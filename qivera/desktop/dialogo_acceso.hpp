#pragma once
#include <QDialog>
#include <optional>
#include <string>

#include "qivera/db/conexion_qt.hpp"

class QLabel;
class QLineEdit;

namespace qivera::escritorio {

// The sign-in window: user and password, checked against the database before it closes.
// A refusal, or a failure of the database, is shown in the window; the clerk corrects and tries
// again, or cancels.
class DialogoAcceso : public QDialog {
public:
    DialogoAcceso(db::ConexionQt& conexion, const QString& usuario, const QString& motivo = {},
                  QWidget* padre = nullptr);

    QString Usuario() const;
    QLineEdit& CampoUsuario() { return *usuario_; }
    QLineEdit& CampoClave() { return *clave_; }
    QString Motivo() const;

    // Signs in; the window closes only when the user is let in.
    void accept() override;

private:
    void Rechaza(const QString& motivo);

    db::ConexionQt& conexion_;
    QLineEdit* usuario_;
    QLineEdit* clave_;
    QLabel* motivo_;
};

// Who signs in on the desktop: `usuario` at once when given and without a password, through the
// sign-in window otherwise. Nothing when the clerk closes the window.
std::optional<std::string> IniciaSesion(db::ConexionQt& conexion, const std::optional<std::string>& usuario);

}  // namespace qivera::escritorio
