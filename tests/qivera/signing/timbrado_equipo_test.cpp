// The stamping provider's command belongs to each clerk's machine. Were it read from the shared database,
// whoever can write one row of it would run any program as every clerk.
#include <gtest/gtest.h>

#include <filesystem>

#include "apoyo/configuracion_equipo.hpp"
#include "qivera/host/padre_qivera.hpp"
#include "qivera/printing/factura_prueba.hpp"
#include "qivera/signing/libro_pac_prueba.hpp"

namespace {

TEST(TimbradoDelEquipo, ACommandInTheSharedDatabaseIsRefusedAndOnlyTheMachinesConfigurationStamps) {
    prueba::ConFactura entorno;
    qivera::PadreQivera ventana{entorno.sesion};
    const std::string documento = entorno.conexion->DefaultDatabase() + "|1|F000001";
    const std::string libro = entorno.Carpeta() + "/libro";
    const std::string intruso = entorno.Carpeta() + "/intruso";
    prueba::TimbraCon(std::string("\"") + KX204_QIVERA + "\" pac-prueba --libro \"" + libro + "\"");

    entorno.Variable("CFDI_TIMBRADO_COMANDO", "sh -c 'touch \"" + intruso + "\"; cat'");
    const std::string rechazo = ventana.FirmaDocumento(documento);
    EXPECT_NE(rechazo.find("CFDI_TIMBRADO_COMANDO"), std::string::npos) << rechazo;
    EXPECT_NE(rechazo.find("[timbrado]"), std::string::npos) << rechazo;  // says where it belongs now
    EXPECT_NE(rechazo.find(prueba::ArchivoDeConfiguracion()), std::string::npos) << rechazo;
    EXPECT_FALSE(std::filesystem::exists(intruso));
    EXPECT_FALSE(std::filesystem::exists(libro));  // nor was the machine's provider asked
    EXPECT_EQ(entorno.Valor("SELECT count(*) FROM Comprobante_Digital"), "0");

    // Once the row is emptied the invoice is stamped by the provider the configuration names at that moment.
    entorno.Variable("CFDI_TIMBRADO_COMANDO", "");
    prueba::TimbraCon("false");
    EXPECT_EQ(ventana.FirmaDocumento(documento), "El proveedor de timbrado no timbró: terminó con el estado 1");
    prueba::TimbraCon(std::string("\"") + KX204_QIVERA + "\" pac-prueba --libro \"" + libro + "\"");
    ASSERT_EQ(ventana.FirmaDocumento(documento), "");
    const std::string uuid = entorno.Valor("SELECT Cd_Uuid FROM Comprobante_Digital WHERE Cd_Timbrado = 1");
    ASSERT_EQ(qivera::LibroPacPrueba(libro).Asientos().size(), 1u);
    EXPECT_EQ(qivera::LibroPacPrueba(libro).Asientos()[0].uuid, uuid);
}

}  // namespace
