#include "apoyo/cfdi_prueba.hpp"

#include "apoyo/configuracion_equipo.hpp"

#include <QDir>
#include <QTemporaryDir>
#include <fstream>

namespace prueba {

const CsdDePrueba& CsdPrueba() {
    static QTemporaryDir carpeta;
    static const CsdDePrueba csd = [] {
        const std::string ruta = carpeta.path().toStdString();
        std::ofstream(ruta + "/contrasena") << kContrasenaCsd << "\n";
        return CsdDePrueba{qivera::EscribeCsdDemo(ruta, kRfcEmisorPrueba, "ESCUELA KEMPER URGATE", kNoCertificadoPrueba,
                                                  kx204::host::Date::FromYmd(2025, 1, 1),
                                                  kx204::host::Date::FromYmd(2031, 1, 1), kContrasenaCsd, 7),
                           ruta + "/contrasena"};
    }();
    return csd;
}

void ConfiguraCfdi(Entorno& entorno, bool timbrar) {
    const CsdDePrueba& csd = CsdPrueba();
    entorno.Variable("CFDI_CSD_LLAVE", csd.rutas.llave);
    entorno.Variable("CFDI_CSD_CERTIFICADO", csd.rutas.certificado);
    entorno.Variable("CFDI_CSD_CONTRASENA", csd.contrasena);
    entorno.Variable("CFDI_EMISOR_RFC", kRfcEmisorPrueba);
    entorno.Variable("CFDI_EMISOR_NOMBRE", "ESCUELA KEMPER URGATE");
    entorno.Variable("CFDI_EMISOR_REGIMEN", "601");
    TimbraCon(timbrar ? std::string("\"") + KX204_QIVERA + "\" pac-prueba" : "");
}

}  // namespace prueba
