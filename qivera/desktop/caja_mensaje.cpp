#include "qivera/desktop/caja_mensaje.hpp"

#include <QGuiApplication>
#include <QPushButton>
#include <vector>

#include "qivera/desktop/dialogo_comun.hpp"

namespace qivera::escritorio {

namespace {

using Boton = QMessageBox::StandardButton;

// The buttons in VB's order, which the default-button bits index.
std::vector<Boton> BotonesVb(int botones) {
    switch (botones & 0x0F) {
        case 1:
            return {QMessageBox::Ok, QMessageBox::Cancel};
        case 2:
            return {QMessageBox::Abort, QMessageBox::Retry, QMessageBox::Ignore};
        case 3:
            return {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
        case 4:
            return {QMessageBox::Yes, QMessageBox::No};
        case 5:
            return {QMessageBox::Retry, QMessageBox::Cancel};
        default:
            return {QMessageBox::Ok};
    }
}

QMessageBox::Icon Icono(int botones) {
    switch (botones & 0x70) {
        case 16:
            return QMessageBox::Critical;
        case 32:
            return QMessageBox::Question;
        case 48:
            return QMessageBox::Warning;
        case 64:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

// VB offers no Escape on Yes/No or Abort/Retry/Ignore; Qt always has one, so it takes the
// answer that does nothing (No, Abort) rather than letting Qt guess.
Boton BotonEscape(const std::vector<Boton>& orden) {
    for (Boton candidato : {QMessageBox::Cancel, QMessageBox::No, QMessageBox::Abort})
        for (Boton boton : orden)
            if (boton == candidato) return boton;
    return orden.front();
}

int ValorVb(Boton boton) {
    switch (boton) {
        case QMessageBox::Ok:
            return 1;
        case QMessageBox::Cancel:
            return 2;
        case QMessageBox::Abort:
            return 3;
        case QMessageBox::Retry:
            return 4;
        case QMessageBox::Ignore:
            return 5;
        case QMessageBox::Yes:
            return 6;
        case QMessageBox::No:
            return 7;
        default:
            return 2;
    }
}

}  // namespace

std::unique_ptr<QMessageBox> CajaMensaje(const std::string& prompt, int botones, const std::string& titulo,
                                         const std::string& id, QWidget* padre) {
    auto caja = std::make_unique<QMessageBox>(padre);
    caja->setWindowTitle(titulo.empty() ? QGuiApplication::applicationDisplayName() : TextoQt(titulo));
    // The host's prompts are plain text: a '<' must not turn them into HTML.
    caja->setTextFormat(Qt::PlainText);
    caja->setText(TextoQt(prompt));
    caja->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    if (!id.empty()) caja->setInformativeText(QStringLiteral("<small>%1</small>").arg(TextoQt(id).toHtmlEscaped()));
    caja->setIcon(Icono(botones));

    const std::vector<Boton> orden = BotonesVb(botones);
    for (Boton boton : orden) {
        QAbstractButton* creado = caja->addButton(boton);
        creado->setText(CaptionBoton(static_cast<QDialogButtonBox::StandardButton>(boton)));
    }
    const std::size_t omision = static_cast<std::size_t>((botones >> 8) & 0x03);
    caja->setDefaultButton(orden[omision < orden.size() ? omision : 0]);
    caja->setEscapeButton(BotonEscape(orden));
    return caja;
}

int RespuestaCaja(const QMessageBox& caja) {
    QAbstractButton* boton = caja.clickedButton();
    if (boton == nullptr) boton = caja.escapeButton();
    return boton == nullptr ? 2 : ValorVb(caja.standardButton(boton));
}

}  // namespace qivera::escritorio
