#pragma once
#include <QDialogButtonBox>
#include <QString>
#include <string>

class QDialog;

namespace qivera::escritorio {

// The host's texts are UTF-8 with Windows line breaks; Qt wants bare '\n'.
QString TextoQt(const std::string& texto);
std::string TextoStd(const QString& texto);

// The Spanish caption of a standard button. QMessageBox and QDialogButtonBox share the values.
QString CaptionBoton(QDialogButtonBox::StandardButton boton);

// A button box with Spanish captions, wired to the dialog's accept and reject; the first
// accepting button is the default, so Enter anywhere in the dialog accepts.
QDialogButtonBox* BotonesDialogo(QDialog* dialogo, QDialogButtonBox::StandardButtons botones);

}  // namespace qivera::escritorio
