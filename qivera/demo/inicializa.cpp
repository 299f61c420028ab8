#include "qivera/demo/inicializa.hpp"

#include "kx204/host/runtime_error.hpp"
#include "kx204/host/transaction.hpp"
#include "qivera/db/base_datos.hpp"
#include "qivera/db/esquema.hpp"
#include "qivera/db/plantillas.hpp"
#include "qivera/db/sql.hpp"
#include "qivera/sesion/acceso.hpp"

namespace qivera::db {

namespace {

// A new database has one user who may sign in and invoice, without a password until one is set.
void CreaAdministrador(kx204::host::Connection& conexion) {
    AseguraUsuario(conexion, "ADMIN", "Administrador");
    for (const char* permiso : {"ACCESO", "FACTURAR"}) Concede(conexion, "ADMIN", "KX204", permiso);
}

}  // namespace

void InicializaBaseDatos(const std::string& url, bool demo, int notas, const std::string& timbrador) {
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
    // The server plans by statistics it would gather only later: without them a fresh database's
    // joins against long folio lists take seconds.
    if (conexion->dialecto() == Dialecto::PostgreSQL) conexion->Execute("ANALYZE");
}

}  // namespace qivera::db
