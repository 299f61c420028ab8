// Stamping that holds whatever fails: between the seal and the last commit the provider may stamp and
// then the answer be lost (the database refuses it, the provider answers too late, the file cannot be
// written, the clerk's process is killed). A retry sends the same sealed XML, and every invoice ends with
// one UUID, the same at the provider and in Comprobante_Digital.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <algorithm>
#include <fstream>
#include <latch>
#include <map>
#include <thread>

#include <nlohmann/json.hpp>

#include "apoyo/configuracion_equipo.hpp"
#include "apoyo/programa.hpp"
#include "qivera/host/padre_qivera.hpp"
#include "qivera/printing/factura_prueba.hpp"
#include "qivera/cfdi/nodo_xml.hpp"
#include "qivera/signing/libro_pac_prueba.hpp"

namespace {

using prueba::ConFactura;

std::string Proveedor(const std::string& libro) {
    return std::string("\"") + KX204_QIVERA + "\" pac-prueba --libro \"" + libro + "\"";
}

// A provider that stamps through the test provider and then does `despues`.
std::string ProveedorQue(const ConFactura& entorno, const std::string& libro, const std::string& despues) {
    const std::string ruta = entorno.Carpeta() + "/proveedor-" + std::to_string(std::hash<std::string>{}(despues));
    std::ofstream(ruta) << "#!/bin/sh\n" << Proveedor(libro) << " \"$@\"\n" << despues << "\n";
    QFile::setPermissions(QString::fromStdString(ruta), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return ruta;
}

// How many requests of each kind the provider's ledger holds per UUID: "UUID timbrado" → count.
std::map<std::string, int> Asientos(const std::string& libro) {
    std::map<std::string, int> cuenta;
    for (const qivera::AsientoPac& asiento : qivera::LibroPacPrueba(libro).Asientos())
        ++cuenta[asiento.uuid + " " + asiento.evento];
    return cuenta;
}

// The one UUID the invoice has in Comprobante_Digital and in its XML file, with nothing left pending.
std::string UuidGuardado(ConFactura& entorno) {
    EXPECT_EQ(entorno.Valor("SELECT count(*) FROM Timbrado_Pendiente"), "0");
    const std::string uuid = entorno.Valor("SELECT Cd_Uuid FROM Comprobante_Digital WHERE Cd_Documento = 'F000001'");
    const std::string archivo = prueba::LeeArchivo(entorno.Carpeta() + "/comprobantes/AE000001.xml");
    const qivera::NodoXml cfdi = qivera::LeeXml(archivo);
    EXPECT_EQ(cfdi.Hijo("Complemento")->Hijo("TimbreFiscalDigital")->Atributo("UUID"), uuid);
    return uuid;
}

TEST(TimbradoDurable, EachFailureAfterTheStampIsFinishedByARetryWithTheSameUuid) {
    ConFactura entorno;
    const std::string libro = entorno.Carpeta() + "/libro";
    qivera::PadreQivera ventana{entorno.sesion};
    const std::string documento = entorno.conexion->DefaultDatabase() + "|1|F000001";
    const auto firma = [&] { return ventana.FirmaDocumento(documento); };

    // The provider stamps; keeping its answer fails.
    prueba::TimbraCon(Proveedor(libro));
    entorno.FallaAlInsertar("Comprobante_Digital", "disco lleno");
    EXPECT_NE(firma().find("disco lleno"), std::string::npos);
    entorno.QuitaFallas();
    EXPECT_EQ(entorno.Valor("SELECT count(*) FROM Comprobante_Digital"), "0");
    EXPECT_NE(entorno.Valor("SELECT Tp_Ultimo_Error FROM Timbrado_Pendiente").find("disco lleno"), std::string::npos);

    // The provider stamps but answers too late.
    prueba::TimbraCon(ProveedorQue(entorno, libro, "sleep 8"));
    entorno.Variable("CFDI_TIMBRADO_ESPERA", "2");
    EXPECT_EQ(firma(), "El proveedor de timbrado no timbró: no respondió en 2 segundos");

    // The provider stamps; the file cannot be written.
    prueba::TimbraCon(Proveedor(libro));
    const QString ruta = QString::fromStdString(entorno.Carpeta() + "/comprobantes/AE000001.xml");
    QFile::remove(ruta);  // the first try wrote it before its row failed
    ASSERT_TRUE(QDir().mkpath(ruta));
    EXPECT_NE(firma().find("No se pudo guardar el archivo"), std::string::npos);
    ASSERT_TRUE(QDir().rmdir(ruta));
    EXPECT_EQ(entorno.Valor("SELECT count(*) FROM Comprobante_Digital"), "0");

    ASSERT_EQ(firma(), "");
    const std::string uuid = UuidGuardado(entorno);
    const std::map<std::string, int> asientos = Asientos(libro);
    EXPECT_EQ(asientos.at(uuid + " timbrado"), 1);
    EXPECT_GE(asientos.at(uuid + " repetido"), 2);  // the late answer may have come before its stamp
    for (const auto& [clave, veces] : asientos) EXPECT_EQ(clave.rfind(uuid, 0), 0u) << clave;
    EXPECT_EQ(firma(), "La factura F000001 ya está firmada");
}

// A refusal stamps nothing: the next try seals the invoice anew, with the data as they are then.
TEST(TimbradoDurable, ARefusedCfdiIsSealedAnewOnTheNextTry) {
    ConFactura entorno;
    qivera::PadreQivera ventana{entorno.sesion};
    const std::string documento = entorno.conexion->DefaultDatabase() + "|1|F000001";
    prueba::TimbraCon("false");
    EXPECT_EQ(ventana.FirmaDocumento(documento), "El proveedor de timbrado no timbró: terminó con el estado 1");
    EXPECT_EQ(entorno.Valor("SELECT count(*) FROM Timbrado_Pendiente"), "0");
    prueba::TimbraCon("sh -c 'exit 75'");  // gone with no word: the same XML again
    EXPECT_NE(ventana.FirmaDocumento(documento), "");
    const std::string sello = entorno.Valor("SELECT Tp_Sello FROM Timbrado_Pendiente");
    prueba::TimbraCon(Proveedor(entorno.Carpeta() + "/libro"));
    ASSERT_EQ(ventana.FirmaDocumento(documento), "");
    EXPECT_EQ(entorno.Valor("SELECT Cd_Sello FROM Comprobante_Digital"), sello);
}

// Two clerks press "Firmar" on one invoice at the same moment: one seal goes to the provider and is
// stamped once, one row is kept, and the clerk who came second is told it is signed.
TEST(TimbradoDurable, TwoClerksSigningOneInvoiceAtOnceGetOneStamp) {
    ConFactura entorno{prueba::BaseDePrueba::Alcance::Compartida};
    const std::string libro = entorno.Carpeta() + "/libro";
    prueba::TimbraCon(Proveedor(libro));
    const std::string documento = entorno.conexion->DefaultDatabase() + "|1|F000001";
    qivera::PadreQivera ventana{entorno.sesion};
    std::latch listos(2);
    std::string otra;
    std::thread companero([&] {  // a connection is used only by the thread that opened it
        prueba::Entorno suyo(entorno, "ADMIN");
        qivera::PadreQivera suya{suyo.sesion};
        listos.arrive_and_wait();
        otra = suya.FirmaDocumento(documento);
    });
    listos.arrive_and_wait();
    const std::string una = ventana.FirmaDocumento(documento);
    companero.join();
    std::vector<std::string> respuestas{una, otra};
    std::sort(respuestas.begin(), respuestas.end());
    EXPECT_EQ(respuestas, (std::vector<std::string>{"", "La factura F000001 ya está firmada"}));
    const std::string uuid = UuidGuardado(entorno);
    EXPECT_EQ(entorno.Valor("SELECT count(*) FROM Comprobante_Digital"), "1");
    EXPECT_EQ(Asientos(libro).at(uuid + " timbrado"), 1);
    for (const auto& [clave, veces] : Asientos(libro)) EXPECT_EQ(clave.rfind(uuid, 0), 0u) << clave;
}

prueba::Corrida Timbrar(const std::string& url) {
    return prueba::Qivera({"timbrar", "--pendientes", "--db", QString::fromStdString(url), "--sucursal", "01"});
}

TEST(TimbradoDurable, AProcessKilledRightAfterTheProviderAnsweredIsFinishedByTimbrarPendientes) {
    ConFactura entorno{prueba::BaseDePrueba::Alcance::Compartida};
    const std::string libro = entorno.Carpeta() + "/libro";
    qivera::PadreQivera ventana{entorno.sesion};
    prueba::TimbraCon("sh -c 'exit 75'");
    EXPECT_NE(ventana.FirmaDocumento(entorno.conexion->DefaultDatabase() + "|1|F000001"), "");

    prueba::TimbraCon(ProveedorQue(entorno, libro, "kill -9 $PPID"));
    EXPECT_TRUE(Timbrar(entorno.base->Url()).caida);
    EXPECT_EQ(entorno.Valor("SELECT count(*) FROM Comprobante_Digital"), "0");
    ASSERT_EQ(qivera::LibroPacPrueba(libro).Asientos().size(), 1u);

    prueba::TimbraCon(Proveedor(libro));
    const prueba::Corrida otra = Timbrar(entorno.base->Url());
    EXPECT_EQ(otra.estado, 0) << otra.errores;
    const std::string uuid = UuidGuardado(entorno);
    EXPECT_EQ(nlohmann::json::parse(otra.salida).value("uuid", ""), uuid);
    EXPECT_EQ(Asientos(libro), (std::map<std::string, int>{{uuid + " timbrado", 1}, {uuid + " repetido", 1}}));
    EXPECT_EQ(Timbrar(entorno.base->Url()).salida, "");  // nothing pending any more
}

}  // namespace
