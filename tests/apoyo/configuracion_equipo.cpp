#include "apoyo/configuracion_equipo.hpp"

#include <QDir>
#include <QFile>
#include <QSettings>

namespace prueba {

std::string ArchivoDeConfiguracion() {
    return QDir(qEnvironmentVariable("XDG_CONFIG_HOME")).filePath(QStringLiteral("qivera/qivera.conf")).toStdString();
}

void ConfiguraEquipo(const std::string& clave, const std::string& valor) {
    QSettings archivo(QString::fromStdString(ArchivoDeConfiguracion()), QSettings::IniFormat);
    archivo.setValue(QString::fromStdString(clave), QString::fromStdString(valor));
}

void TimbraCon(const std::string& comando) { ConfiguraEquipo("timbrado/comando", comando); }

void OlvidaConfiguracion() { QFile::remove(QString::fromStdString(ArchivoDeConfiguracion())); }

}  // namespace prueba
