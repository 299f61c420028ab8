#include "qivera/demo/inicializa.hpp"

#include <QFileInfo>
#include <QProcess>
#include <optional>
#include <utility>

#include "kx204/host/runtime_error.hpp"
#include "kx204/host/transaction.hpp"
#include "qivera/db/base_datos.hpp"
#include "qivera/db/configuracion.hpp"
#include "qivera/db/esquema.hpp"
#include "qivera/db/plantillas.hpp"
#include "qivera/db/sql.hpp"
#include "qivera/db/url.hpp"
#include "qivera/printing/carpetas.hpp"
#include "qivera/services/servicios.hpp"
#include "qivera/sesion/acceso.hpp"
#include "qivera/signing/firma_documentos.hpp"

namespace qivera::db {

namespace {

// A new database has one user who may sign in and invoice, without a password until one is set.
void CreaAdministrador(kx204::host::Connection& conexion) {
    AseguraUsuario(conexion, "ADMIN", "Administrador");
    for (const char* permiso : {"ACCESO", "FACTURAR"}) Concede(conexion, "ADMIN", "KX204", permiso);
}

std::vector<std::string> Usuarios(ConexionQt& conexion) {
    std::vector<std::string> usuarios;
    const auto rs = conexion.Execute(
        "SELECT u.Us_Cve_Usuario, u.Us_Clave, p.Pm_Clave FROM Usuario u LEFT JOIN Permiso p ON p.Us_Cve_Usuario = "
        "u.Us_Cve_Usuario AND p.Pm_Modulo = 'KX204' ORDER BY u.Us_Cve_Usuario, p.Pm_Clave");
    std::string usuario, permisos, clave;
    const auto cierra = [&] {
        if (!usuario.empty())
            usuarios.push_back(usuario + " (" + (permisos.empty() ? "no permissions" : permisos) + ")" +
                               (clave.empty() ? "" : " with a password"));
    };
    for (; !rs->Eof(); rs->MoveNext()) {
        if (rs->Field(0).ToText() != usuario) {
            cierra();
            usuario = rs->Field(0).ToText();
            clave = rs->Field(1).ToTextOrEmpty();
            permisos.clear();
        }
        const std::string permiso = rs->Field(2).ToTextOrEmpty();
        if (!permiso.empty()) permisos += (permisos.empty() ? "" : ", ") + permiso;
    }
    cierra();
    return usuarios;
}

ResumenInicial Resume(ConexionQt& conexion, const std::string& url) {
    ResumenInicial resumen;
    resumen.base = UrlSinClave(url);
    resumen.notasPendientes =
        conexion.Execute("SELECT count(*) FROM Venta_Encabezado WHERE Es_Cve_Estado = 'AC' AND Fc_Folio = ''")
            ->Field(0)
            .ToLong();
    resumen.facturas = conexion.Execute("SELECT count(*) FROM Factura")->Field(0).ToLong();
    resumen.usuarios = Usuarios(conexion);
    resumen.documentos = RaizDeDocumentos(conexion);
    const std::string llave = ValorVariable(conexion, "CFDI_CSD_LLAVE");
    if (!llave.empty()) resumen.csd = QFileInfo(QString::fromStdString(llave)).absolutePath().toStdString();
    return resumen;
}

// The variables a shared database must no longer hold, and why.
const std::pair<const char*, const char*> kRetiradas[] = {
    {"FAC_FIRMA_LLAVE", "a private key in clear text; a CSD's encrypted .key file replaced it"},
    {"FAC_FIRMA_CERTIFICADO", "went with that key"},
    {"CFDI_TIMBRADO_COMANDO", "the stamping command belongs to each machine: [timbrado] comando in its qivera.conf"}};

// Removes those the database has; answers each one removed with why.
std::vector<std::string> RetiraVariables(ConexionQt& conexion) {
    std::vector<std::string> retiradas;
    for (const auto& [nombre, motivo] : kRetiradas)
        if (conexion.ExecuteNonQuery(std::string("DELETE FROM Variable WHERE Vr_Nombre = ") + LiteralTexto(nombre)) > 0)
            retiradas.push_back(std::string(nombre) + " (" + motivo + ")");
    return retiradas;
}

// Whether a command runs this program's test provider, whatever the path it was run from.
bool EsProveedorDePrueba(const std::string& comando) {
    const QStringList partes = QProcess::splitCommand(QString::fromStdString(comando));
    return partes.size() >= 2 && partes[1] == QStringLiteral("pac-prueba");
}

// How this machine stamps, after giving it `timbrador` when it names no command and one is given.
TimbradoDelEquipo TimbradoConfigurado(const std::string& timbrador) {
    TimbradoDelEquipo timbrado{!LeeConfiguracion().comandoTimbrado.empty(), {}};
    if (!timbrado.configurado && !timbrador.empty()) {
        GuardaEnArchivoDelUsuario("timbrado/comando", timbrador);
        timbrado = {true, timbrador};
    }
    return timbrado;
}

}  // namespace

ResumenInicial InicializaBaseDatos(const std::string& url, bool demo, int notas, const std::string& timbrador) {
    const auto conexion = AbreBaseDatos(url);
    if (VersionEsquema(*conexion, conexion->dialecto()) > 0)
        throw kx204::host::RuntimeError(
            kx204::host::errores::Database,
            "The database " + UrlSinClave(url) + " already has the schema; initialise a new one.");
    kx204::host::Transaction transaccion(*conexion);
    CreaEsquema(*conexion, conexion->dialecto());
    GuardaPlantillas(*conexion);
    if (demo)
        GeneraDemo(*conexion, notas);
    else
        CreaAdministrador(*conexion);
    transaccion.Commit();
    // Without statistics a fresh server database's joins against long folio lists take seconds.
    if (conexion->dialecto() == Dialecto::PostgreSQL) AnalizaTablas(*conexion, conexion->dialecto());
    ResumenInicial resumen = Resume(*conexion, url);
    resumen.timbrado = TimbradoConfigurado(demo ? timbrador : std::string());
    return resumen;
}

ResumenActualizacion ActualizaBaseDatos(const std::string& url, const std::string& timbrador) {
    const auto conexion = AbreBaseDatos(url);
    kx204::host::Transaction transaccion(*conexion);
    ActualizaEsquema(*conexion, conexion->dialecto());
    ResumenActualizacion resumen;
    const std::optional<std::string> comando = LeeValorVariable(*conexion, "CFDI_TIMBRADO_COMANDO");
    resumen.retiradas = RetiraVariables(*conexion);
    transaccion.Commit();
    resumen.version = VersionEsquema(*conexion, conexion->dialecto());
    resumen.timbrado = TimbradoConfigurado(comando && EsProveedorDePrueba(*comando) ? timbrador : std::string());
    resumen.faltaCfdi = FaltaParaEmitirCfdi(*conexion);
    return resumen;
}

}  // namespace qivera::db
