// Random invoices through the real host: notes with decimal quantities, line and global discounts,
// VAT at 0, 8 and 16% and IEPS, several notes per grouped line; every CFDI Accept issues passes the
// SAT's structure and amount rules and says what the books say, to the cent.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "apoyo/cfdi_prueba.hpp"
#include "apoyo/facturacion.hpp"
#include "apoyo/valida_cfdi.hpp"
#include "qivera/printing/legible.hpp"
#include "qivera/cfdi/nodo_xml.hpp"

namespace {

using kx204::host::ComandoBarra;
using kx204::host::Currency;

// Four decimals, as the notes store amounts.
std::string Texto(Currency valor) { return valor.ToString(); }

struct Impuesto {
    const char* clave;
    Currency tasa;
};

std::vector<std::string> Separa(const std::string& texto) {
    std::vector<std::string> partes{""};
    for (char c : texto) {
        if (c == '|')
            partes.emplace_back();
        else
            partes.back().push_back(c);
    }
    return partes;
}

// An amount to the cent; none is zero.
Currency Centavos(const std::string& importe) {
    return qivera::AlCentavo(Currency::Parse(importe.empty() ? "0" : importe));
}

class Azar {
public:
    explicit Azar(unsigned semilla) : motor_(semilla) {}
    int Entre(int desde, int hasta) { return std::uniform_int_distribution<int>(desde, hasta)(motor_); }
    template <class T, std::size_t N>
    const T& Uno(const T (&opciones)[N]) {
        return opciones[Entre(0, N - 1)];
    }

private:
    std::mt19937 motor_;
};

// A note of one to four lines of products Q1 to Q4 (no lots nor serial numbers), priced as a sale
// note prices them: each line's discounted amount, its share of the note's global discount and its tax
// rounded to four decimals.
void NotaAlAzar(prueba::Entorno& entorno, Azar& azar, const std::string& folio) {
    // Each product carries its tax, as the catalog says.
    static const Impuesto kImpuestos[] = {{"IVA", Currency::Parse("0.16")},
                                          {"IVA8", Currency::Parse("0.08")},
                                          {"IVA0", Currency::Parse("0")},
                                          {"IEPS", Currency::Parse("0.265")}};
    static const char* const kDescuentos[] = {"0", "0.05", "0.125"};
    const Currency global = Currency::Parse(azar.Uno(kDescuentos));
    const int lineas = azar.Entre(1, 4);
    for (int id = 1; id <= lineas; ++id) {
        const int numero = azar.Entre(0, 3);
        const Impuesto& impuesto = kImpuestos[numero];
        const std::string producto = "Q" + std::to_string(numero + 1);
        const Currency cantidad = Currency::FromScaled(azar.Entre(1, 50000) * 10);  // three decimals
        const Currency precio = Currency::FromScaled(azar.Entre(1, 2000000) * 100);
        const Currency factor = Currency::Parse(azar.Uno(kDescuentos));
        const Currency descontado =
            cantidad.MulDiv(precio, Currency::Parse("1")).MulDiv(Currency::Parse("1") - factor, Currency::Parse("1"));
        const Currency descuentoGlobal = descontado.MulDiv(global, Currency::Parse("1"));
        const Currency impuestoImporte = (descontado - descuentoGlobal).MulDiv(impuesto.tasa, Currency::Parse("1"));
        entorno.Sql(
            "INSERT INTO Venta (Vn_Folio, Vn_Id, Vn_Fecha, Cl_Cve_Cliente, Sc_Cve_Sucursal, Al_Cve_Almacen, "
            "Mn_Cve_Moneda, Vn_Condicion_Venta, Pr_Cve_Producto, Vn_Concepto, Vn_Cantidad_1, Vn_Cantidad_Control_1, "
            "Vn_Unidad_Control_1, Vn_Precio_Unitario, Vn_Descuento_Factor, Vn_Precio_Descontado_Importe, "
            "Vn_Descuento_Global_Importe, Im_Cve_Impuesto, Vn_Impuesto_Importe, Vn_Precio_Neto_Importe) VALUES ('" +
            folio + "', " + std::to_string(id) + ", '2026-03-10', 'C1', '01', '0101', 'MXN', 'CONT', '" + producto +
            "', 'Venta de " + producto + "', " + Texto(cantidad) + ", " + Texto(cantidad) + ", 'PZA', " +
            Texto(precio) + ", " + Texto(factor) + ", " + Texto(descontado) + ", " + Texto(descuentoGlobal) + ", '" +
            impuesto.clave + "', " + Texto(impuestoImporte) + ", " +
            Texto(descontado - descuentoGlobal + impuestoImporte) + ")");
    }
    entorno.Sql(
        "INSERT INTO Venta_Encabezado (Vn_Folio, Vn_Fecha, Cl_Cve_Cliente, Sc_Cve_Sucursal, Al_Cve_Almacen, "
        "Mn_Cve_Moneda, Vn_Condicion_Venta) VALUES ('" +
        folio + "', '2026-03-10', 'C1', '01', '0101', 'MXN', 'CONT')");
}

TEST(CfdiAlAzar, EveryInvoiceOfRandomNotesIsACfdiThatPassesTheRules) {
    constexpr int kFacturas = 400;
    prueba::Entorno entorno;
    prueba::PreparaFacturacion(entorno);
    prueba::ConfiguraCfdi(entorno, false);  // sealed only: stamping is checked elsewhere
    entorno.Sql("UPDATE Serie SET Sr_Digital = 1");
    entorno.Sql("UPDATE Cliente SET Cl_Limite_Credito = 0");
    entorno.Sql(
        "INSERT INTO Impuesto (Im_Cve_Impuesto, Im_Descripcion, Im_Tasa, Im_Impuesto_SAT) VALUES ('IVA8', 'IVA "
        "frontera', 0.08, '002'), ('IVA0', 'IVA tasa cero', 0, '002'), ('IEPS', 'IEPS', 0.265, '003')");
    entorno.Sql(
        "INSERT INTO Producto (Pr_Cve_Producto, Pr_Descripcion, Pr_Equivalencia_Producto, Im_Cve_Impuesto) VALUES "
        "('Q1', 'Refresco', '', 'IVA'), ('Q2', 'Galletas', '', 'IVA8'), ('Q3', 'Cerveza', '', 'IVA0'), ('Q4', "
        "'Tabaco', '', 'IEPS')");
    Azar azar(20261208);
    kx204::frmKX204* pantalla = nullptr;
    int nota = 0;
    for (int factura = 0; factura < kFacturas; ++factura) {
        std::vector<std::string> folios;
        for (int i = azar.Entre(1, 5); i > 0; --i) {
            folios.push_back("R" + std::to_string(++nota));
            NotaAlAzar(entorno, azar, folios.back());
        }
        if (pantalla == nullptr)
            pantalla = &prueba::Captura(entorno, folios);
        else
            prueba::Captura(entorno, *pantalla, folios);
        pantalla->Controles.Pulsa(ComandoBarra::Aceptar);
    }
    const std::vector<std::string> xmls =
        qivera::PrimeraColumna(*entorno.conexion, "SELECT Cd_Xml FROM Comprobante_Digital ORDER BY Cd_Documento");
    ASSERT_EQ(xmls.size(), static_cast<std::size_t>(kFacturas)) << prueba::Filas(entorno, "SELECT * FROM Factura");
    // The books to the cent: what the receivable is for is what the legal document says. Where the SAT's
    // rounding cannot reach the books' total, the books take the CFDI's and the clerk is told.
    const std::vector<std::string> libros = qivera::PrimeraColumna(
        *entorno.conexion,
        "SELECT f.Fc_Subtotal || '|' || f.Fc_Descuento_Global_Importe || '|' || f.Fc_Total || '|' || "
        "coalesce(c.Cxc_Precio_Neto_Saldo, f.Fc_Total) || '|' || coalesce((SELECT sum(i.Cxci_Saldo) FROM "
        "CUENTA_X_COBRAR_IMPUESTO i WHERE i.Cxc_Folio = c.Cxc_Folio) + c.Cxc_Precio_Descontado_Saldo, f.Fc_Total) "
        "FROM Factura f LEFT JOIN Cuenta_x_Cobrar c ON c.Cxc_Tabla = 'FACTURA' AND c.Cxc_Documento = f.Fc_Folio "
        "ORDER BY f.Fc_Folio");
    ASSERT_EQ(libros.size(), xmls.size());
    for (std::size_t i = 0; i < xmls.size(); ++i) {
        EXPECT_EQ(prueba::ErroresCfdi(xmls[i]), std::vector<std::string>{}) << "invoice " << i + 1;
        const qivera::NodoXml cfdi = qivera::LeeXml(xmls[i]);
        const std::vector<std::string> libro = Separa(libros[i]);
        EXPECT_EQ(Centavos(cfdi.Atributo("SubTotal")), Centavos(libro[0])) << "invoice " << i + 1;
        EXPECT_EQ(Centavos(cfdi.Atributo("Descuento")), Centavos(libro[1])) << "invoice " << i + 1;
        EXPECT_EQ(Centavos(cfdi.Atributo("Total")), Centavos(libro[2])) << "invoice " << i + 1;
        EXPECT_EQ(Centavos(libro[3]), Centavos(libro[2])) << "receivable of invoice " << i + 1;
        EXPECT_EQ(Centavos(libro[4]), Centavos(libro[2])) << "receivable's taxes of invoice " << i + 1;
    }
    int ajustadas = 0;
    for (const auto& evento : entorno.eventos) ajustadas += evento.value("event", "") == "ajuste";
    EXPECT_LE(ajustadas, kFacturas / 50);
}

}  // namespace
