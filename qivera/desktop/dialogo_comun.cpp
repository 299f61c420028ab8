#include "qivera/desktop/dialogo_comun.hpp"

#include <QDialog>
#include <QPushButton>

namespace qivera::escritorio {

QString TextoQt(const std::string& texto) {
    QString qt = QString::fromStdString(texto);
    qt.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    qt.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return qt;
}

std::string TextoStd(const QString& texto) { return texto.toStdString(); }

QString CaptionBoton(QDialogButtonBox::StandardButton boton) {
    switch (boton) {
        case QDialogButtonBox::Ok:
            return QStringLiteral("Aceptar");
        case QDialogButtonBox::Cancel:
            return QStringLiteral("Cancelar");
        case QDialogButtonBox::Close:
            return QStringLiteral("Cerrar");
        case QDialogButtonBox::Yes:
            return QStringLiteral("Sí");
        case QDialogButtonBox::No:
            return QStringLiteral("No");
        case QDialogButtonBox::Abort:
            return QStringLiteral("Anular");
        case QDialogButtonBox::Retry:
            return QStringLiteral("Reintentar");
        case QDialogButtonBox::Ignore:
            return QStringLiteral("Omitir");
        case QDialogButtonBox::Save:
            return QStringLiteral("Guardar");
        default:
            return {};
    }
}

QDialogButtonBox* BotonesDialogo(QDialog* dialogo, QDialogButtonBox::StandardButtons botones) {
    auto* caja = new QDialogButtonBox(botones, dialogo);
    bool hayOmision = false;
    for (QAbstractButton* boton : caja->buttons()) {
        const auto estandar = caja->standardButton(boton);
        if (const QString caption = CaptionBoton(estandar); !caption.isEmpty()) boton->setText(caption);
        auto* pulsable = qobject_cast<QPushButton*>(boton);
        const auto rol = caja->buttonRole(boton);
        if (pulsable != nullptr && !hayOmision &&
            (rol == QDialogButtonBox::AcceptRole || rol == QDialogButtonBox::YesRole)) {
            pulsable->setDefault(true);
            hayOmision = true;
        }
    }
    // A dialog that only closes: Enter closes it too.
    if (!hayOmision && !caja->buttons().isEmpty())
        if (auto* unico = qobject_cast<QPushButton*>(caja->buttons().front())) unico->setDefault(true);
    QObject::connect(caja, &QDialogButtonBox::accepted, dialogo, &QDialog::accept);
    QObject::connect(caja, &QDialogButtonBox::rejected, dialogo, &QDialog::reject);
    return caja;
}

}  // namespace qivera::escritorio
