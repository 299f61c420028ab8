#include "qivera/demo/inicializa.hpp"

#include <QFileInfo>

#include "kx204/host/runtime_error.hpp"
#include "kx204/host/transaction.hpp"
#include "qivera/db/base_datos.hpp"
#include "qivera/db/esquema.hpp"
#include "qivera/db/plantillas.hpp"
#include "qivera/db/sql.hpp"
#include "qivera/db/url.hpp"
#include "qivera/printing/carpetas.hpp"
#include "qivera/services/servicios.hpp"
#include "qivera/sesion/acceso.hpp"

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
    resumen.documentos = CarpetaDeLaBase(conexion);
    const std::string llave = ValorVariable(conexion, "CFDI_CSD_LLAVE");
    if (!llave.empty()) resumen.csd = QFileInfo(QString::fromStdString(llave)).absolutePath().toStdString();
    return resumen;
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
    if (demo) {
        GeneraDemo(*conexion, notas);
        if (!timbrador.empty())
            InsertaFila(*conexion, "Variable",
                        {{"Vr_Nombre", "'CFDI_TIMBRADO_COMANDO'"}, {"Vr_Valor", LiteralTexto(timbrador)}});
    } else
        CreaAdministrador(*conexion);
    transaccion.Commit();
    // Without statistics a fresh server database's joins against long folio lists take seconds.
    if (conexion->dialecto() == Dialecto::PostgreSQL) AnalizaTablas(*conexion, conexion->dialecto());
    return Resume(*conexion, url);
}

}  // namespace qivera::db
