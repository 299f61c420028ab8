#include "qivera/db/configuracion.hpp"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <utility>

#include "kx204/host/runtime_error.hpp"

namespace qivera::db {

namespace {

constexpr long kErrorArchivo = 75;  // VB's "Path/File access error"

// A value QSettings splits at its unquoted commas comes back as the text that was written.
QString Texto(const QVariant& valor) {
    if (valor.typeId() == QMetaType::QStringList) return valor.toStringList().join(QStringLiteral(", "));
    return valor.toString().trimmed();
}

// Puts in `destino` each key `archivo` names.
void Lee(const QString& archivo, ConfiguracionEquipo& destino) {
    if (!QFileInfo::exists(archivo)) return;
    const QSettings ajustes(archivo, QSettings::IniFormat);
    const std::pair<const char*, std::string*> claves[] = {{"base_datos/url", &destino.url},
                                                           {"timbrado/comando", &destino.comandoTimbrado},
                                                           {"documentos/carpeta", &destino.carpetaDocumentos}};
    for (const auto& [clave, valor] : claves)
        if (ajustes.contains(clave)) *valor = Texto(ajustes.value(clave)).toStdString();
}

}  // namespace

std::string ArchivoDelEquipo() { return "/etc/qivera/qivera.conf"; }

std::string ArchivoDelUsuario() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("qivera/qivera.conf"))
        .toStdString();
}

ConfiguracionEquipo LeeConfiguracion() {
    ConfiguracionEquipo configuracion;
    Lee(QString::fromStdString(ArchivoDelEquipo()), configuracion);
    Lee(QString::fromStdString(ArchivoDelUsuario()), configuracion);
    return configuracion;
}

void GuardaEnArchivoDelUsuario(const std::string& clave, const std::string& valor) {
    const QString archivo = QString::fromStdString(ArchivoDelUsuario());
    const bool nuevo = !QFileInfo::exists(archivo);
    QSettings ajustes(archivo, QSettings::IniFormat);
    ajustes.setValue(QString::fromStdString(clave), QString::fromStdString(valor));
    ajustes.sync();
    if (ajustes.status() != QSettings::NoError ||
        (nuevo && !QFile::setPermissions(archivo, QFile::ReadOwner | QFile::WriteOwner)))
        throw kx204::host::RuntimeError(kErrorArchivo, "Could not write " + archivo.toStdString());
}

}  // namespace qivera::db
