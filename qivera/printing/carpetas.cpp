#include "qivera/printing/carpetas.hpp"

#include <cctype>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "kx204/host/runtime_error.hpp"
#include "qivera/db/configuracion.hpp"
#include "qivera/services/servicios.hpp"

namespace qivera {

namespace {

constexpr long kErrorArchivo = 75;  // VB's "Path/File access error"

// The file of a SQLite database, empty when it lives in memory.
std::string ArchivoBaseDatos(kx204::host::Connection& conexion) {
    auto rs = conexion.Execute("PRAGMA database_list");
    std::string archivo;
    for (; !rs->Eof(); rs->MoveNext())
        if (rs->Field("name").ToTextOrEmpty() == "main") archivo = rs->Field("file").ToTextOrEmpty();
    rs->Close();
    return archivo;
}

// Per process, as an in-memory database is.
QString CarpetaTemporal(kx204::host::Connection& conexion) {
    return QDir::temp().filePath(QString("qivera-%1-%2")
                                     .arg(QString::fromStdString(conexion.DefaultDatabase()))
                                     .arg(QCoreApplication::applicationPid()));
}

// A server's documents outlive every process: they go to the user's data folder, one per database.
QString CarpetaDeServidor(kx204::host::Connection& conexion) {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("qivera/") + QString::fromStdString(conexion.DefaultDatabase()));
}

}  // namespace

std::string RaizDeDocumentos(db::ConexionQt& conexion) {
    const std::string configurada = db::LeeConfiguracion().carpetaDocumentos;
    if (!configurada.empty()) return QDir::cleanPath(QString::fromStdString(configurada)).toStdString();
    if (conexion.dialecto() != db::Dialecto::SQLite) return CarpetaDeServidor(conexion).toStdString();
    const std::string archivo = ArchivoBaseDatos(conexion);
    return (archivo.empty() ? CarpetaTemporal(conexion) : QFileInfo(QString::fromStdString(archivo)).absolutePath())
        .toStdString();
}

std::string CarpetaDocumentos(db::ConexionQt& conexion, const std::string& variable, const std::string& subcarpeta) {
    QString carpeta = QString::fromStdString(ValorVariable(conexion, variable));
    if (carpeta.isEmpty())
        carpeta = QDir(QString::fromStdString(RaizDeDocumentos(conexion))).filePath(QString::fromStdString(subcarpeta));
    if (!QDir().mkpath(carpeta))
        throw kx204::host::RuntimeError(kErrorArchivo, "No se pudo crear la carpeta " + carpeta.toStdString());
    return QDir::cleanPath(carpeta).toStdString();
}

std::string NombreDocumento(const std::string& folio, const std::string& extension) {
    std::string nombre = folio.empty() ? "_" : folio;
    for (char& c : nombre)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_') c = '_';
    return nombre + "." + extension;
}

std::string RutaDocumento(const std::string& carpeta, const std::string& folio, const std::string& extension) {
    return carpeta + "/" + NombreDocumento(folio, extension);
}

}  // namespace qivera
