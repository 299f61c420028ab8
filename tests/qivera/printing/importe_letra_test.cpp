// Amounts in words as invoices print them, and the QR code they carry.
#include <gtest/gtest.h>

#include "kx204/host/currency.hpp"
#include "qivera/printing/codigo_qr.hpp"
#include "qivera/printing/importe_letra.hpp"

namespace {

using kx204::host::Currency;

TEST(ImporteConLetra, WritesEveryOrderOfMagnitudeWithItsSpanishExceptions) {
    const std::pair<const char*, const char*> casos[] = {
        {"0", "(CERO PESOS 00/100 M.N.)"},
        {"1", "(UN PESO 00/100 M.N.)"},
        {"21.5", "(VEINTIÚN PESOS 50/100 M.N.)"},
        {"100", "(CIEN PESOS 00/100 M.N.)"},
        {"115.995", "(CIENTO DIECISÉIS PESOS 00/100 M.N.)"},  // to the cent, half away from zero
        {"1263.38", "(MIL DOSCIENTOS SESENTA Y TRES PESOS 38/100 M.N.)"},
        {"21031", "(VEINTIÚN MIL TREINTA Y UN PESOS 00/100 M.N.)"},
        {"96024.24", "(NOVENTA Y SEIS MIL VEINTICUATRO PESOS 24/100 M.N.)"},
        {"1000000", "(UN MILLÓN DE PESOS 00/100 M.N.)"},
        {"2501101.01", "(DOS MILLONES QUINIENTOS UN MIL CIENTO UN PESOS 01/100 M.N.)"},
        {"21000000000", "(VEINTIÚN MIL MILLONES DE PESOS 00/100 M.N.)"},
        {"1000000000000", "(UN BILLÓN DE PESOS 00/100 M.N.)"},
        {"21000001000001", "(VEINTIÚN BILLONES UN MILLÓN UN PESOS 00/100 M.N.)"},
    };
    for (const auto& [importe, letra] : casos)
        EXPECT_EQ(qivera::ImporteConLetra(Currency::Parse(importe), "MXN"), letra) << importe;
    EXPECT_EQ(qivera::ImporteConLetra(Currency::Parse("21.05"), "USD"), "(VEINTIÚN DÓLARES 05/100 USD)");
}

// The three finder patterns sit in the corners: a dark ring around a light one around a dark square.
TEST(CodigoQr, EncodesTheVerificationAddressWithItsFinderPatterns) {
    const qivera::CodigoQr qr = qivera::CodificaQr(
        "https://verificacfdi.facturaelectronica.sat.gob.mx/default.aspx?id=7A3E863B-3EAA-4F4C-BDD2-66F5733360D7"
        "&re=EKU9003173C9&rr=AOB010203XY1&tt=1263.38&fe=avbSyA==");
    ASSERT_GE(qr.lado, 21);
    ASSERT_EQ(qr.modulos.size(), static_cast<std::size_t>(qr.lado * qr.lado));
    for (const auto [fila, columna] : {std::pair{0, 0}, std::pair{0, qr.lado - 7}, std::pair{qr.lado - 7, 0}}) {
        EXPECT_TRUE(qr.Oscuro(fila, columna) && qr.Oscuro(fila + 6, columna + 6));
        EXPECT_FALSE(qr.Oscuro(fila + 1, columna + 1) || qr.Oscuro(fila + 5, columna + 5));
        EXPECT_TRUE(qr.Oscuro(fila + 3, columna + 3));
    }
}

}  // namespace
