#include "qivera/demo/demo.hpp"

#include <chrono>
#include <cstdint>
#include <map>
#include <thread>

#include <gtest/gtest.h>

#include "apoyo/base_prueba.hpp"
#include "qivera/db/archivo_temporal.hpp"
#include "qivera/db/base_datos.hpp"
#include "qivera/db/esquema.hpp"
#include "qivera/db/plantillas.hpp"
#include "qivera/demo/inicializa.hpp"

namespace qivera::db {
namespace {

// Per table (of a SQLite file: its catalog and row order are SQLite's), FNV-1a over every value, row by row in
// insertion order; the CSD's files are where each database is.
std::map<std::string, std::uint64_t> Huellas(ConexionQt& conexion) {
    std::vector<std::string> tablas;
    for (auto rs = conexion.Execute("SELECT name FROM sqlite_master WHERE type = 'table'"); !rs->Eof(); rs->MoveNext())
        tablas.push_back(rs->Field(0).ToText());
    std::map<std::string, std::uint64_t> huellas;
    for (const std::string& tabla : tablas) {
        std::uint64_t& huella = huellas[tabla] = 14695981039346656037ULL;
        const std::string donde = tabla == "Variable" ? " WHERE Vr_Nombre NOT LIKE 'CFDI_CSD_%'" : "";
        for (auto rs = conexion.Execute("SELECT * FROM " + tabla + donde + " ORDER BY rowid"); !rs->Eof();
             rs->MoveNext())
            for (int i = 0; i < rs->FieldCount(); ++i)
                for (unsigned char c : (rs->Field(i).IsNull() ? "<null>" : rs->Field(i).ToText()) + '\x1f')
                    huella = (huella ^ c) * 1099511628211ULL;
    }
    return huellas;
}

long long Cuenta(ConexionQt& conexion, const std::string& sql) { return conexion.Execute(sql)->Field(0).ToLong(); }

std::unique_ptr<ConexionQt> BaseDemo(const std::string& url, int notas) {
    InicializaBaseDatos(url, true, notas);
    return prueba::Conecta(url);
}

TEST(DemoTest, SameDataOnEveryRun) {
    pruebas::ArchivoTemporal primera, segunda;
    auto a = BaseDemo(primera.Url(), 300);
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));  // a default "now" would differ
    auto b = BaseDemo(segunda.Url(), 300);
    EXPECT_EQ(Huellas(*a), Huellas(*b));
    EXPECT_GT(Cuenta(*a, "SELECT count(*) FROM Venta"), 300);
}

TEST(DemoTest, NotesAreConsistentAndExactlyAsManyArePending) {
    prueba::BaseDePrueba base(prueba::BaseDePrueba::Alcance::Compartida);
    auto conexion = BaseDemo(base.Url(), 3000);
    ConexionQt& c = *conexion;

    const auto plantilla = [&](const std::string& nombre) {
        return c.Execute("SELECT Cs_Texto FROM Consulta WHERE Cs_Nombre = '" + kx204::host::SqlText(nombre) + "'")
            ->Field(0)
            .ToText();
    };
    EXPECT_EQ(Cuenta(c, "SELECT count(*) FROM (" + AplicaCondicion(plantilla(kVentaNoFacturada), "") + ") S"), 3000);
    EXPECT_EQ(
        Cuenta(c, "SELECT count(*) FROM Venta WHERE Es_Cve_Estado = 'AC' AND (Fc_Folio <> '' OR Oper_Baja <> '')"), 0);
    EXPECT_EQ(
        Cuenta(
            c,
            "SELECT count(*) FROM Venta WHERE Es_Cve_Estado = 'FA' AND Fc_Folio NOT IN (SELECT Fc_Folio FROM Factura)"),
        0);
    EXPECT_EQ(Cuenta(c, "SELECT count(*) FROM Venta WHERE Es_Cve_Estado = 'DE' AND Oper_Baja = ''"), 0);
    // Every note has its header, in the same state.
    EXPECT_EQ(Cuenta(c, "SELECT count(DISTINCT Vn_Folio) FROM Venta"),
              Cuenta(c, "SELECT count(*) FROM Venta_Encabezado"));
    EXPECT_EQ(Cuenta(c,
                     "SELECT count(*) FROM Venta LEFT JOIN Venta_Encabezado E ON E.Vn_Folio = Venta.Vn_Folio "
                     "WHERE E.Vn_Folio IS NULL OR E.Es_Cve_Estado <> Venta.Es_Cve_Estado"),
              0);
    // Each line's net is its discounted amount less the global discount plus its tax.
    EXPECT_EQ(
        Cuenta(c,
               "SELECT count(*) FROM Venta WHERE abs(Vn_Precio_Descontado_Importe - Vn_Descuento_Global_Importe + "
               "Vn_Impuesto_Importe - Vn_Precio_Neto_Importe) > 0.00005"),
        0);
    // Receivables: balances add up, per tax too, and a payment covers what is no longer owed.
    EXPECT_GT(Cuenta(c, "SELECT count(*) FROM Cuenta_x_Cobrar WHERE Cxc_Tabla = 'VENTA'"), 0);
    EXPECT_EQ(
        Cuenta(c,
               "SELECT count(*) FROM Cuenta_x_Cobrar WHERE abs(Cxc_Precio_Descontado_Saldo + Cxc_Impuesto_Saldo - "
               "Cxc_Precio_Neto_Saldo) > 0.00005 OR abs(Cxc_Impuesto_Saldo - (SELECT sum(Cxci_Saldo) FROM "
               "CUENTA_X_COBRAR_IMPUESTO I WHERE I.Cxc_Folio = Cuenta_x_Cobrar.Cxc_Folio)) > 0.00005"),
        0);
    EXPECT_EQ(
        Cuenta(c,
               "SELECT count(*) FROM Cuenta_x_Cobrar X WHERE abs(X.Cxc_Precio_Neto_Importe - X.Cxc_Precio_Neto_Saldo - "
               "isnull((SELECT sum(Pc_Importe) FROM Pago_Cxc P WHERE P.Cxc_Folio = X.Cxc_Folio), 0)) > 0.00005"),
        0);
    // Serial numbers match the units sold.
    EXPECT_EQ(
        Cuenta(c,
               "SELECT sum(Vn_Cantidad_1) FROM Venta JOIN Producto USING (Pr_Cve_Producto) WHERE Pr_Maneja_Serie = 1"),
        Cuenta(c, "SELECT count(*) FROM Serie_Documento"));
}

}  // namespace
}  // namespace qivera::db
