// The invoice document on the demo database: folios, lines, storing and posting.
#include "qivera/services/documento_factura.hpp"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "apoyo/base_prueba.hpp"
#include "fila.hpp"
#include "kx204/host/recordset_leido.hpp"
#include "qivera/db/base_datos.hpp"
#include "qivera/db/esquema.hpp"
#include "qivera/demo/demo.hpp"
#include "qivera/host/fabrica.hpp"
#include "qivera/script/persona_guionada.hpp"

namespace {

using kx204::host::Currency;
using kx204::host::Date;

// A clerk on a fresh demo database: invoices F000001 and F000002 are already stored.
struct BaseDemo {
    BaseDemo() {
        qivera::db::CreaEsquema(*conexion, conexion->dialecto());
        qivera::db::GeneraDemo(*conexion, 40);
    }
    std::string Fila(const std::string& sql) { return prueba::Fila(*conexion, sql); }
    std::unique_ptr<kx204::host::DocumentoFactura> Documento() { return fabrica.CreaDocumentoFactura(); }

    prueba::BaseDePrueba base;
    std::unique_ptr<qivera::db::ConexionQt> conexion = prueba::Conecta(base.Url());
    qivera::PersonaGuionada persona{[](const nlohmann::ordered_json&) {}};
    qivera::Sesion sesion{*conexion, persona, "ADMIN", Date::FromYmd(2026, 3, 15), nullptr, {}};
    qivera::FabricaQivera fabrica{sesion};
};

kx204::host::EncabezadoFactura Encabezado() {
    kx204::host::EncabezadoFactura e;
    e.fecha = Date::FromYmd(2026, 3, 15);
    e.vencimiento = Date::FromYmd(2026, 4, 14);
    e.tablaOrigen = "Venta";
    e.referencia = "Pedido de O'Neil";
    e.credito = true;
    e.moneda = "MXN";
    e.tipoCambio = 1;
    e.factura = "A000042";
    e.serie = "A";
    e.numero = 42;
    e.sucursal = "01";
    e.almacen = "0101";
    e.cliente = "C0001";
    e.vendedor = "V01";
    return e;
}

kx204::host::RenglonFactura Renglon(const std::string& producto, double cantidad, double precio) {
    kx204::host::RenglonFactura r;
    r.producto = producto;
    r.concepto = "Concepto de " + producto;
    r.cantidad1 = cantidad;
    r.precioUnitario = precio;
    return r;
}

// Line amounts to the ten-thousandth with their fixed fee and tax, and the marked notes' totals to the cent.
TEST(DocumentoFactura, StoresLineAmountsAndPostsTheNotesTotalsToTheCent) {
    BaseDemo demo;
    demo.conexion->BeginTrans();
    auto documento = demo.Documento();
    documento->AsignaEncabezado(Encabezado());
    const std::string folio = documento->ObtenEncabezado().folio;
    documento->AsignaCuota({1.5});
    auto arroz = Renglon("P0001", 7, 100.0 / 3);
    arroz.lotes.lista = "L0001-1@5@0@2026-12-31@@2026-01-02@|L0001-2@2@0@2026-12-31@@2026-01-02@";
    documento->AgregaRenglon(arroz);
    documento->AsignaCuota({0});
    auto telefono = Renglon("P0015", 2, 3499);
    telefono.series.lista = "SN015000001|SN015000002";
    documento->AgregaRenglon(telefono);

    // The screen marks the notes before storing; their totals become the invoice's.
    const std::string notas = "SELECT DISTINCT Vn_Folio FROM Venta WHERE Es_Cve_Estado = 'AC' AND Fc_Folio = ''";
    demo.conexion->Execute("UPDATE Venta SET Fc_Folio = '" + folio + "' WHERE Vn_Folio IN (SELECT Vn_Folio FROM (" +
                           notas + " ORDER BY Vn_Folio LIMIT 3) primeras)");
    ASSERT_TRUE(documento->Graba(folio)) << documento->MensajeError();
    ASSERT_TRUE(documento->Aplica(folio, true)) << documento->MensajeError();

    EXPECT_EQ(demo.Fila("SELECT Fd_Renglon, Fd_Importe, Fd_Cuota_Fija, Im_Cve_Impuesto, Fd_Impuesto_Importe, Fd_Lotes "
                        "FROM Factura_Detalle WHERE Fc_Folio = '" +
                        folio + "' AND Pr_Cve_Producto = 'P0001'"),
              "0001|233.3333|1.5|IVA0|0|" + arroz.lotes.lista);
    EXPECT_EQ(demo.Fila("SELECT Fd_Renglon, Fd_Importe, Fd_Impuesto_Importe, Fd_Series FROM Factura_Detalle WHERE "
                        "Fc_Folio = '" +
                        folio + "' AND Pr_Cve_Producto = 'P0015'"),
              "0002|6998|1119.68|SN015000001|SN015000002");

    // To the cent: the notes' amounts are whole cents, so their exact sums are too.
    const auto centavos = [&](const std::string& columna) {
        return Currency::FromDouble(
            std::round(
                std::stod(demo.Fila("SELECT sum(" + columna + ") * 100 FROM Venta WHERE Fc_Folio = '" + folio + "'"))) /
            100);
    };
    auto totales = kx204::host::LeeCompleto(demo.conexion->Execute(
        "SELECT Fc_Subtotal, Fc_Descuento_Global_Importe, Fc_Impuesto, Fc_Total FROM Factura WHERE Fc_Folio = '" +
        folio + "'"));
    EXPECT_EQ(totales->Field(0).ToCurrency(), centavos("Vn_Precio_Descontado_Importe"));
    EXPECT_EQ(totales->Field(1).ToCurrency(), centavos("Vn_Descuento_Global_Importe"));
    EXPECT_EQ(totales->Field(2).ToCurrency(), centavos("Vn_Impuesto_Importe"));
    EXPECT_EQ(totales->Field(3).ToCurrency(), centavos("Vn_Precio_Neto_Importe"));
    EXPECT_GT(totales->Field(3).ToCurrency(), Currency());
    totales->Close();

    EXPECT_FALSE(documento->Graba(folio));
    EXPECT_EQ(documento->MensajeError(), "La factura F000003 ya existe");
    demo.conexion->RollbackTrans();
}

// Lines are written many to a statement: none is lost or doubled where one statement ends and the next begins.
TEST(DocumentoFactura, StoresEveryLineOfALongInvoice) {
    BaseDemo demo;
    auto documento = demo.Documento();
    documento->AsignaEncabezado(Encabezado());
    const std::string folio = documento->ObtenEncabezado().folio;
    for (int i = 1; i <= 201; ++i) documento->AgregaRenglon(Renglon(i % 2 ? "P0001" : "P0015", i, 1));
    ASSERT_TRUE(documento->Graba(folio)) << documento->MensajeError();
    EXPECT_EQ(demo.Fila("SELECT count(*), count(DISTINCT Fd_Renglon), min(Fd_Renglon), max(Fd_Renglon), "
                        "sum(Fd_Cantidad_Control_1), sum(Fd_Importe) FROM Factura_Detalle WHERE Fc_Folio = '" +
                        folio + "'"),
              "201|201|0001|0201|20301|20301");
}

TEST(DocumentoFactura, RefusesWrongLinesAndFailedStoresWithTheReason) {
    BaseDemo demo;
    demo.conexion->Execute("UPDATE Producto SET Es_Cve_Estado = 'ba' WHERE Pr_Cve_Producto = 'P0002'");
    auto documento = demo.Documento();
    EXPECT_FALSE(documento->RenglonCorrecto());
    EXPECT_EQ(documento->MensajeError(), "La factura no tiene renglones");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const auto sinConcepto = [] {
        auto r = Renglon("P0001", 1, 1);
        r.concepto = "  ";
        return r;
    }();
    const std::pair<kx204::host::RenglonFactura, std::string> casos[] = {
        {Renglon("P9999", 1, 1), "Renglón 0001: el producto P9999 no existe"},
        {Renglon("P0002", 1, 1), "Renglón 0002: el producto P0002 está dado de baja"},
        {sinConcepto, "Renglón 0003: falta el concepto"},
        {Renglon("P0001", -1, 1), "Renglón 0004: las cantidades deben ser números mayores o iguales a cero"},
        {Renglon("P0001", 1, nan), "Renglón 0005: el precio unitario debe ser un número mayor o igual a cero"},
        {Renglon("P0001", 1e12, 1e12), "Renglón 0006: el importe excede el máximo permitido"},
    };
    for (const auto& [renglon, mensaje] : casos) {
        documento->AgregaRenglon(renglon);
        EXPECT_FALSE(documento->RenglonCorrecto()) << mensaje;
        EXPECT_EQ(documento->MensajeError(), mensaje);
    }
    documento->AsignaCuota({-0.5});
    documento->AgregaRenglon(Renglon("P0001", 0, 0));
    EXPECT_FALSE(documento->RenglonCorrecto());
    EXPECT_EQ(documento->MensajeError(), "Renglón 0007: la cuota fija debe ser un número mayor o igual a cero");

    // Storing and applying answer false with the reason too.
    auto otro = demo.Documento();
    EXPECT_FALSE(otro->Aplica("F999999", true));
    EXPECT_EQ(otro->MensajeError(), "La factura F999999 no existe");
    otro->AsignaEncabezado(Encabezado());
    otro->AgregaRenglon(Renglon("P0001", 1, 1));
    demo.conexion->Execute("DROP TABLE Factura_Detalle");
    EXPECT_FALSE(otro->Graba(otro->ObtenEncabezado().folio));
    EXPECT_NE(otro->MensajeError().find("Factura_Detalle"), std::string::npos) << otro->MensajeError();
}

}  // namespace
