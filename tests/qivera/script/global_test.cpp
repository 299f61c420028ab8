// qivera global, run by an integrator at the end of a day and of a month.
#include <gtest/gtest.h>

#include <QProcessEnvironment>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include "apoyo/base_prueba.hpp"
#include "apoyo/programa.hpp"
#include "apoyo/valida_cfdi.hpp"
#include "qivera/db/archivo_temporal.hpp"
#include "qivera/db/base_datos.hpp"
#include "qivera/db/sql.hpp"
#include "qivera/cfdi/nodo_xml.hpp"
#include "qivera/sesion/acceso.hpp"

namespace {

using kx204::host::Date;
using qivera::LiteralFecha;
using qivera::PrimeraColumna;

struct Corrida {
    int estado;
    std::vector<nlohmann::ordered_json> lineas;
    std::string errores;
};

// A demo database of this run's engine made by the program itself. What the program keeps in the
// user's data folder (a server's PDFs, XML and mail, the demo's CSD) goes to a folder of the test's.
class Demo {
public:
    explicit Demo(int notas) { EXPECT_EQ(Qivera("init", {"--demo", "--notes", QString::number(notas)}).estado, 0); }

    // `entrada` is the program's standard input.
    Corrida Global(const QStringList& argumentos, const QByteArray& entrada = {}) const {
        return Qivera("global", argumentos, entrada);
    }

    prueba::BaseDePrueba base{prueba::BaseDePrueba::Alcance::Compartida};

private:
    Corrida Qivera(const QString& orden, const QStringList& argumentos, const QByteArray& entrada = {}) const {
        QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
        entorno.insert("XDG_DATA_HOME", QString::fromStdString(std::filesystem::path(datos_.Ruta()).parent_path()));
        const prueba::Corrida programa = prueba::Qivera(
            QStringList{orden, "--db", QString::fromStdString(base.Url())} + argumentos, entrada, entorno);
        Corrida corrida{programa.estado, {}, programa.errores};
        std::istringstream salida(programa.salida);
        for (std::string linea; orden != "init" && std::getline(salida, linea);)  // init tells a person
            corrida.lineas.push_back(nlohmann::ordered_json::parse(linea));
        return corrida;
    }

    qivera::db::pruebas::ArchivoTemporal datos_{"datos"};
};

// The general public's notes of branch 01 in pesos still to invoice, paid in one go.
const std::string kPendientesDelPublico =
    " FROM Venta_Encabezado e JOIN Cliente c ON c.Cl_Cve_Cliente = e.Cl_Cve_Cliente WHERE c.Cl_R_F_C = "
    "'XAXX010101000' AND e.Sc_Cve_Sucursal = '01' AND e.Mn_Cve_Moneda = 'MXN' AND e.Fc_Folio = '' AND "
    "e.Es_Cve_Estado NOT IN ('CA', 'FA', 'DE') AND NOT EXISTS (SELECT 1 FROM Condicion_Venta v WHERE "
    "v.Cv_Cve_Condicion_Venta = e.Vn_Condicion_Venta AND v.Cv_Tipo_Condicion = '02')";

// The warehouses with such notes from `desde` to the day before `hasta`.
std::vector<std::string> ConPendientes(kx204::host::Connection& conexion, const Date& desde, const Date& hasta) {
    return PrimeraColumna(conexion, "SELECT e.Al_Cve_Almacen" + kPendientesDelPublico +
                                        " AND e.Vn_Fecha >= " + LiteralFecha(desde) + " AND e.Vn_Fecha < " +
                                        LiteralFecha(hasta) + " GROUP BY e.Al_Cve_Almacen ORDER BY e.Al_Cve_Almacen");
}

std::vector<std::string> Almacenes(const Corrida& corrida) {
    std::vector<std::string> almacenes;
    for (const auto& linea : corrida.lineas) almacenes.push_back(linea.value("almacen", ""));
    return almacenes;
}

}  // namespace

// The day's invoice of every warehouse with the general public's notes, stamped as a daily global CFDI;
// a second run finds nothing to do; the rest of the month goes in the monthly one.
TEST(FacturaGlobal, InvoicesTheGeneralPublicsNotesOncePerWarehouse) {
    const Demo demo(300);
    auto conexion = prueba::Conecta(demo.base.Url());
    const auto dia = qivera::PrimerValor(*conexion, "SELECT e.Vn_Fecha" + kPendientesDelPublico +
                                                        " GROUP BY e.Vn_Fecha ORDER BY count(*) DESC, e.Vn_Fecha");
    ASSERT_TRUE(dia);
    const Date fecha = dia->ToDate(), primero = Date::FromYmd(fecha.Year(), fecha.Month(), 1);
    const Date siguienteMes = Date::FromYmd(primero.AddDays(31).Year(), primero.AddDays(31).Month(), 1);
    QStringList pedido{"--sucursal", "01", "--periodo", "diario", "--fecha", QString::fromStdString(fecha.ToIso())};

    const auto delDia = ConPendientes(*conexion, fecha, fecha.AddDays(1));
    const Corrida diaria = demo.Global(pedido);
    EXPECT_EQ(diaria.estado, 0) << diaria.errores;
    EXPECT_EQ(Almacenes(diaria), delDia);
    for (const auto& linea : diaria.lineas) {
        const std::string folio = qivera::LiteralTexto(linea.value("folio", ""));
        EXPECT_EQ(PrimeraColumna(*conexion,
                                 "SELECT Es_Cve_Estado || Al_Cve_Almacen FROM Venta_Encabezado WHERE "
                                 "Fc_Folio = " +
                                     folio),
                  std::vector<std::string>(linea.value("notas", 0), "FA" + linea.value("almacen", "")))
            << linea;
        EXPECT_EQ(
            PrimeraColumna(*conexion, "SELECT Fc_Factura || Cl_Cve_Cliente FROM Factura WHERE Fc_Folio = " + folio),
            std::vector<std::string>{linea.value("factura", "") + "C0000"});
        // Issued today, whatever day --fecha names.
        EXPECT_EQ(
            qivera::PrimerValor(*conexion, "SELECT Fc_Fecha FROM Factura WHERE Fc_Folio = " + folio)->ToDate().ToIso(),
            qivera::PrimerValor(*conexion, "SELECT CURRENT_DATE")->ToDate().ToIso());
        // Text columns compare without regard to case, which the server's LIKE does not do on them.
        const std::vector<std::string> comprobante =
            PrimeraColumna(*conexion,
                           "SELECT Cd_Uuid || '|' || Cd_Xml FROM Comprobante_Digital WHERE Cd_Timbrado = 1 AND "
                           "Cd_Tabla = 'Factura' AND Cd_Documento = " +
                               folio);
        ASSERT_EQ(comprobante.size(), 1u) << linea;
        EXPECT_EQ(comprobante[0].rfind(linea.value("uuid", "") + "|", 0), 0u) << linea;
        EXPECT_NE(comprobante[0].find("<cfdi:InformacionGlobal Periodicidad=\"01\""), std::string::npos);
        // As the SAT's guide fills it: one sale per note, paid in one exhibition.
        const std::string xml = comprobante[0].substr(comprobante[0].find('|') + 1);
        EXPECT_EQ(prueba::ErroresCfdi(xml), std::vector<std::string>{});
        const qivera::NodoXml cfdi = qivera::LeeXml(xml);
        EXPECT_EQ(cfdi.Atributo("MetodoPago"), "PUE");
        EXPECT_NE(cfdi.Atributo("FormaPago"), "99");
        std::vector<std::string> conceptos;
        for (const qivera::NodoXml& concepto : cfdi.Hijo("Conceptos")->hijos) {
            conceptos.push_back(concepto.Atributo("NoIdentificacion"));
            EXPECT_EQ(concepto.Atributo("ClaveProdServ") + " " + concepto.Atributo("Cantidad") + " " +
                          concepto.Atributo("ClaveUnidad") + " " + concepto.Atributo("Descripcion"),
                      "01010101 1 ACT Venta");
        }
        EXPECT_EQ(conceptos, PrimeraColumna(*conexion, "SELECT Vn_Folio FROM Venta_Encabezado WHERE Fc_Folio = " +
                                                           folio + " ORDER BY Vn_Folio"));
    }
    EXPECT_TRUE(ConPendientes(*conexion, fecha, fecha.AddDays(1)).empty());

    const Corrida otraVez = demo.Global(pedido);
    EXPECT_EQ(otraVez.estado, 0) << otraVez.errores;
    EXPECT_TRUE(otraVez.lineas.empty());

    pedido[3] = "mensual";
    // A note on credit is not paid in one go: no global invoice takes it.
    const std::string aCredito = PrimeraColumna(*conexion, "SELECT min(e.Vn_Folio)" + kPendientesDelPublico +
                                                               " AND e.Vn_Fecha >= " + LiteralFecha(primero) +
                                                               " AND e.Vn_Fecha < " + LiteralFecha(siguienteMes))
                                     .at(0);
    conexion->Execute("UPDATE Venta_Encabezado SET Vn_Condicion_Venta = 'CR30' WHERE Vn_Folio = '" + aCredito + "'");
    const auto delMes = ConPendientes(*conexion, primero, siguienteMes);
    const Corrida mensual = demo.Global(pedido);
    EXPECT_EQ(mensual.estado, 0) << mensual.errores;
    EXPECT_EQ(Almacenes(mensual), delMes);
    EXPECT_TRUE(ConPendientes(*conexion, primero, siguienteMes).empty());
    // The period is the one asked for, whatever days its notes fall on.
    const std::string meses = (fecha.Month() < 10 ? "0" : "") + std::to_string(fecha.Month());
    for (const auto& linea : mensual.lineas)
        EXPECT_NE(PrimeraColumna(*conexion, "SELECT Cd_Xml FROM Comprobante_Digital WHERE Cd_Documento = " +
                                                qivera::LiteralTexto(linea.value("folio", "")))
                      .at(0)
                      .find("<cfdi:InformacionGlobal Periodicidad=\"04\" Meses=\"" + meses + "\""),
                  std::string::npos)
            << linea;
    EXPECT_EQ(PrimeraColumna(*conexion, "SELECT Fc_Folio FROM Venta_Encabezado WHERE Vn_Folio = '" + aCredito + "'"),
              std::vector<std::string>{""});
}

// What cannot be asked stops before anything is invoiced, with status 2; an invoice the screen refuses is
// a line with its message, and status 1.
TEST(FacturaGlobal, SaysWhatItCannotDo) {
    const Demo demo(0);
    const QStringList dia{"--periodo", "diario", "--fecha", "2026-03-10"};
    const std::pair<QStringList, std::string> malos[] = {
        {dia, "option --sucursal is required"},
        {QStringList{"--sucursal", "09"} + dia, "unknown branch 09"},
        {{"--sucursal", "01", "--periodo", "anual", "--fecha", "2026-03-10"}, "option --periodo takes diario, semanal"},
        {{"--sucursal", "01", "--periodo", "diario", "--fecha", "2026-02-30"}, "option --fecha takes a date"},
    };
    for (const auto& [argumentos, mensaje] : malos) {
        const Corrida corrida = demo.Global(argumentos);
        EXPECT_EQ(corrida.estado, 2) << argumentos.join(' ').toStdString();
        EXPECT_NE(corrida.errores.find("qivera: " + mensaje), std::string::npos) << corrida.errores;
        EXPECT_TRUE(corrida.lineas.empty());
    }

    const Corrida sinPermiso = demo.Global(QStringList{"--sucursal", "02", "--user", "CONSULTA"} + dia);
    EXPECT_EQ(sinPermiso.estado, 1);
    EXPECT_EQ(Almacenes(sinPermiso), (std::vector<std::string>{"0201", "0202"}));
    EXPECT_EQ(sinPermiso.lineas.at(1).dump(),
              R"({"sucursal":"02","almacen":"0202","error":"El usuario «CONSULTA» no tiene permiso para crear ni )"
              R"(eliminar facturas (KX204 FACTURAR)."})");

    // A user with a password gives it on standard input; a wrong one runs nothing.
    qivera::GuardaClave(*prueba::Conecta(demo.base.Url()), "ADMIN", "clave global");
    const QStringList conClave = QStringList{"--sucursal", "02", "--password-stdin"} + dia;
    const Corrida mala = demo.Global(conClave, "Clave equivocada\n");
    EXPECT_EQ(mala.estado, 1);
    EXPECT_NE(mala.errores.find("qivera: La contraseña de «ADMIN» no es correcta."), std::string::npos) << mala.errores;
    EXPECT_TRUE(mala.lineas.empty());
    EXPECT_EQ(demo.Global(conClave, "clave global\n").estado, 0);  // nothing pending that day
    qivera::GuardaClave(*prueba::Conecta(demo.base.Url()), "ADMIN", "");

    prueba::Conecta(demo.base.Url())->Execute("UPDATE Cliente SET Cl_R_F_C = 'XEXX010101000'");
    const Corrida sinPublico = demo.Global(QStringList{"--sucursal", "01"} + dia);
    EXPECT_EQ(sinPublico.estado, 1);
    EXPECT_NE(sinPublico.errores.find("qivera: the database has no general-public client"), std::string::npos);
}
