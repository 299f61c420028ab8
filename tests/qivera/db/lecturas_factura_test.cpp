// An invoice's reads of lots and serial numbers, answered inside its transaction from one read of all its
// notes: the engine's own answers, a write inside the transaction seen at once, and the relations of the
// lines read written with the connection's next statement or dropped with the transaction.
#include <gtest/gtest.h>

#include <map>

#include "apoyo/facturacion.hpp"
#include "kx204/host/recordset_leido.hpp"
#include "kx204/invoicing/sentencias_factura.hpp"
#include "qivera/services/interfaz.hpp"

namespace {

const std::vector<std::string> kDocumentos = {"'N1', 'N2', 'N3'", "'N1', 'N2'", "'N1'", "'N2'", "'N3'", "'N9'"};
const std::vector<std::string> kProductos = {"P1", "p1", "P2", "P3", "P4"};

// Every lot and serial-number text the screen can ask for over the notes.
std::map<std::string, std::string> Respuestas(kx204::frmKX204& pantalla) {
    std::map<std::string, std::string> respuestas;
    for (const std::string& documentos : kDocumentos)
        for (const std::string& producto : kProductos) {
            const std::string clave = documentos + " " + producto;
            respuestas["lotes " + clave] = pantalla.Traer_Lotes_Ventas("Venta", documentos, producto);
            respuestas["series " + clave] = pantalla.ObtenSeriesVenta(documentos, producto, "", "");
        }
    return respuestas;
}

}  // namespace

TEST(LecturasFactura, InsideATransactionTheAnswersAreTheEnginesAndAWriteIsSeenAtOnce) {
    prueba::Entorno entorno;
    prueba::PreparaFacturacion(entorno);
    entorno.Sql(
        "INSERT INTO Serie_Documento (Sd_Tabla, Sd_Documento, Sd_Renglon, Pr_Cve_Producto, Sr_Cve_Serie) "
        "VALUES ('VENTA', 'N2', 1, 'P1', 'S-9')");
    auto& pantalla = entorno.Abre();
    auto& conexion = *entorno.conexion;
    const auto delMotor = Respuestas(pantalla);
    EXPECT_EQ(delMotor.at("lotes 'N2' P1"), "L1@2@0@2025-01-31@P1@2024-11-02@A1|L2@2@0@2025-01-31@@2024-11-02@");
    EXPECT_EQ(delMotor.at("series 'N1', 'N2', 'N3' p1"), "S-9");

    conexion.BeginTrans();
    kx204::host::LeeCompleto(conexion.Execute(kx204::sentencias::LineasPorRenglon("'N1', 'N2', 'N3'")));
    EXPECT_EQ(Respuestas(pantalla), delMotor);
    conexion.Execute(
        "INSERT INTO Lote_Documento (Ld_Tabla, Ld_Documento, Ld_Renglon, Pr_Cve_Producto, Lt_Cve_Lote, "
        "Lt_Cantidad_Control_1) VALUES ('Venta', 'N1', 1, 'P1', 'L2', 5)");
    EXPECT_EQ(pantalla.Traer_Lotes_Ventas("Venta", "'N1'", "P1"),
              "L1@2@0@2025-01-31@P1@2024-11-02@A1|L2@5@0@2025-01-31@@2024-11-02@");
    EXPECT_EQ(pantalla.Traer_Lotes_Ventas("Venta", "'N1', 'N2', 'N3'", "P1"),
              "L1@4@0@2025-01-31@P1@2024-11-02@A1|L2@7@0@2025-01-31@@2024-11-02@");
    conexion.RollbackTrans();
    EXPECT_EQ(Respuestas(pantalla), delMotor);
}

TEST(LecturasFactura, RelationsOfTheLinesReadWaitForTheNextStatementAndGoWithARollback) {
    prueba::Entorno entorno;
    prueba::PreparaFacturacion(entorno);
    auto& conexion = *entorno.conexion;
    qivera::InterfazQivera interfaz(entorno.sesion);
    const std::string relaciones = "SELECT Rr_Renglon, Rr_Referencia FROM Relacion_Renglon ORDER BY 1";
    for (const bool confirma : {false, true}) {
        conexion.BeginTrans();
        kx204::host::LeeCompleto(conexion.Execute(kx204::sentencias::LineasPorRenglon("'N1', 'N2'")));
        EXPECT_TRUE(interfaz.RelacionaRenglon("Factura", "F000001", "0001", "Venta|N2|2"));
        EXPECT_TRUE(interfaz.RelacionaRenglon("Factura", "F000001", "0002", "Venta|N3|1"));  // not read, yet there
        EXPECT_FALSE(interfaz.RelacionaRenglon("Factura", "F000001", "0003", "Venta|N1|3"));
        EXPECT_EQ(interfaz.UltimoError(), "La referencia Venta|N1|3 no corresponde a ningún renglón de venta");
        EXPECT_TRUE(interfaz.RelacionaRenglon("Factura", "F000001", "0004", "Venta|n1|1"));
        EXPECT_EQ(prueba::Filas(entorno, relaciones), "0001|Venta|N2|2\n0002|Venta|N3|1\n0004|Venta|n1|1\n");
        if (confirma) {
            conexion.CommitTrans();
        } else {
            EXPECT_TRUE(interfaz.RelacionaRenglon("Factura", "F000001", "0005", "Venta|N1|2"));
            conexion.RollbackTrans();
            EXPECT_EQ(prueba::Filas(entorno, relaciones), "");
        }
    }
    EXPECT_EQ(prueba::Filas(entorno, relaciones), "0001|Venta|N2|2\n0002|Venta|N3|1\n0004|Venta|n1|1\n");
}
