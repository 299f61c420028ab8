#include "qivera/desktop/dialogo_acceso.hpp"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "qivera/sesion/acceso.hpp"

namespace qivera::escritorio {

DialogoAcceso::DialogoAcceso(db::ConexionQt& conexion, const QString& usuario, const QString& motivo, QWidget* padre)
    : QDialog(padre),
      conexion_(conexion),
      usuario_(new QLineEdit(usuario)),
      clave_(new QLineEdit),
      motivo_(new QLabel(motivo)) {
    setWindowTitle(QStringLiteral("Qivera — Iniciar sesión"));
    clave_->setEchoMode(QLineEdit::Password);
    motivo_->setWordWrap(true);
    motivo_->setStyleSheet(QStringLiteral("color: #b00020"));
    motivo_->setVisible(!motivo.isEmpty());
    auto* formulario = new QFormLayout;
    formulario->addRow(QStringLiteral("&Usuario:"), usuario_);
    formulario->addRow(QStringLiteral("&Contraseña:"), clave_);
    auto* botones = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    botones->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Entrar"));
    botones->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));
    connect(botones, &QDialogButtonBox::accepted, this, &DialogoAcceso::accept);
    connect(botones, &QDialogButtonBox::rejected, this, &DialogoAcceso::reject);
    auto* disposicion = new QVBoxLayout(this);
    disposicion->addLayout(formulario);
    disposicion->addWidget(motivo_);
    disposicion->addWidget(botones);
    (usuario.isEmpty() ? usuario_ : clave_)->setFocus();
    setMinimumWidth(360);
}

QString DialogoAcceso::Usuario() const { return usuario_->text().trimmed(); }

QString DialogoAcceso::Motivo() const { return motivo_->isVisible() ? motivo_->text() : QString(); }

void DialogoAcceso::accept() {
    try {
        Autentica(conexion_, Usuario().toStdString(), clave_->text().toStdString());
    } catch (const AccesoDenegado& error) {
        Rechaza(QString::fromStdString(error.what()));
        return;
    } catch (const std::exception& error) {  // nothing may leave a slot: the clerk is told and may retry
        Rechaza(QStringLiteral("No se pudo comprobar el acceso: %1").arg(QString::fromStdString(error.what())));
        return;
    }
    clave_->clear();
    QDialog::accept();
}

void DialogoAcceso::Rechaza(const QString& motivo) {
    motivo_->setText(motivo);
    motivo_->setVisible(true);
    clave_->clear();
    clave_->setFocus();
}

std::optional<std::string> IniciaSesion(db::ConexionQt& conexion, const std::optional<std::string>& usuario) {
    QString motivo;
    if (usuario && !PideClave(conexion, *usuario)) {
        try {
            Autentica(conexion, *usuario, {});
            return usuario;
        } catch (const AccesoDenegado& error) {
            motivo = QString::fromStdString(error.what());
        }
    }
    DialogoAcceso dialogo(conexion, QString::fromStdString(usuario.value_or("")), motivo);
    if (dialogo.exec() != QDialog::Accepted) return std::nullopt;
    return dialogo.Usuario().toStdString();
}

}  // namespace qivera::escritorio
