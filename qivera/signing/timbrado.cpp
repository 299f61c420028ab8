#include "qivera/signing/timbrado.hpp"

#include <QProcess>

#include "kx204/host/runtime_error.hpp"
#include "qivera/db/configuracion.hpp"
#include "qivera/cfdi/nodo_xml.hpp"
#include "qivera/services/servicios.hpp"

namespace qivera {

namespace {

constexpr int kRechazo = 1;  // the provider's refusal; any other failure leaves the outcome unknown

// What the provider was asked: "timbró", "canceló".
[[noreturn]] void Rechaza(const char* hecho, const std::string& motivo) {
    throw kx204::host::RuntimeError(5, std::string("El proveedor de timbrado no ") + hecho + ": " + motivo);
}

std::string Ejecuta(const std::string& comando, const QStringList& argumentos, const std::string& entrada,
                    const char* hecho, int segundos = 120) {
    QStringList partes = QProcess::splitCommand(QString::fromStdString(comando));
    if (partes.isEmpty()) Rechaza(hecho, "no hay comando de timbrado");
    QProcess proceso;
    const QString programa = partes.takeFirst();
    proceso.start(programa, partes + argumentos);
    if (!proceso.waitForStarted()) Rechaza(hecho, "no se pudo ejecutar " + comando);
    proceso.write(QByteArray::fromStdString(entrada));
    proceso.closeWriteChannel();
    if (!proceso.waitForFinished(segundos * 1000)) {
        proceso.kill();
        proceso.waitForFinished();
        Rechaza(hecho, "no respondió en " + std::to_string(segundos) + " segundos");
    }
    if (proceso.exitStatus() != QProcess::NormalExit || proceso.exitCode() != 0) {
        std::string motivo = proceso.readAllStandardError().trimmed().toStdString();
        if (motivo.empty()) motivo = "terminó con el estado " + std::to_string(proceso.exitCode());
        if (proceso.exitStatus() == QProcess::NormalExit && proceso.exitCode() == kRechazo)
            throw TimbreRechazado(5, std::string("El proveedor de timbrado no ") + hecho + ": " + motivo);
        Rechaza(hecho, motivo);
    }
    return proceso.readAllStandardOutput().toStdString();
}

}  // namespace

std::string ComandoTimbrado(kx204::host::Connection& conexion) {
    if (!ValorVariable(conexion, "CFDI_TIMBRADO_COMANDO").empty())
        throw kx204::host::RuntimeError(
            5,
            "El comando de timbrado no se toma de la base de datos compartida (variable CFDI_TIMBRADO_COMANDO): "
            "va en la configuración de cada equipo, clave comando de la sección [timbrado] de " +
                db::ArchivoDelEquipo() + " o " + db::ArchivoDelUsuario() + "; qivera init --upgrade quita la variable");
    return db::LeeConfiguracion().comandoTimbrado;
}

std::string Timbra(const std::string& comando, const std::string& xmlSellado, int segundos) {
    std::string timbrado = Ejecuta(comando, {QStringLiteral("timbrar")}, xmlSellado, "timbró", segundos);
    if (timbrado.empty()) Rechaza("timbró", "no devolvió el XML timbrado");
    return timbrado;
}

std::string UuidDelTimbre(const std::string& xmlTimbrado, const std::string& sello) {
    const NodoXml comprobante = LeeXml(xmlTimbrado);
    const NodoXml* complemento = comprobante.Hijo("Complemento");
    const NodoXml* timbre = complemento ? complemento->Hijo("TimbreFiscalDigital") : nullptr;
    if (timbre == nullptr || timbre->Atributo("UUID").empty()) Rechaza("timbró", "la respuesta no trae el timbre");
    if (comprobante.Atributo("Sello") != sello || timbre->Atributo("SelloCFD") != sello)
        Rechaza("timbró", "la respuesta no es el comprobante enviado");
    return timbre->Atributo("UUID");
}

RespuestaCancelacion CancelaTimbre(const std::string& comando, const std::string& uuid, const std::string& rfcEmisor,
                                   const std::string& motivo, const std::string& sustituto) {
    QStringList argumentos{QStringLiteral("cancelar"), QString::fromStdString(uuid), QString::fromStdString(rfcEmisor),
                           QString::fromStdString(motivo)};
    if (!sustituto.empty()) argumentos << QString::fromStdString(sustituto);
    const std::string respuesta = Ejecuta(comando, argumentos, {}, "canceló");
    return respuesta.rfind("en_proceso", 0) == 0 ? RespuestaCancelacion::EnProceso : RespuestaCancelacion::Cancelado;
}

}  // namespace qivera
