#include "qivera/demo/demo_firma.hpp"

#include "kx204/host/runtime_error.hpp"
#include "qivera/demo/demo_catalogo.hpp"
#include "qivera/printing/carpetas.hpp"
#include "qivera/signing/archivo_privado.hpp"
#include "qivera/signing/csd.hpp"

namespace qivera::db::demo {

namespace {

constexpr std::uint64_t kSemillaFirma = 0x4B583230342D4649ULL;  // "KX204-FI"
constexpr const char* kRfc = "EKU9003173C9";
constexpr const char* kContrasena = "12345678a";

// The password beside the key, readable by its owner alone from the moment it exists.
std::string GuardaContrasena(const std::string& carpeta) {
    const std::string ruta = carpeta + "/" + kRfc + ".contrasena";
    if (!EscribeArchivoPrivado(ruta, kContrasena)) throw kx204::host::RuntimeError(75, "No se pudo escribir " + ruta);
    return ruta;
}

}  // namespace

void GeneraFirma(ConexionQt& conexion) {
    using kx204::host::Date;
    const std::string carpeta = CarpetaDocumentos(conexion, "CFDI_CSD_DIRECTORIO", "csd");
    const RutasCsd rutas =
        EscribeCsdDemo(carpeta, kRfc, "ESCUELA KEMPER URGATE", "30001000000500003416", Date::FromYmd(2025, 1, 1),
                       Date::FromYmd(2031, 1, 1), kContrasena, kSemillaFirma);
    SentenciaPreparada variable = Inserta(conexion, "Variable", "Vr_Nombre, Vr_Valor");
    variable.Ejecuta({"CFDI_CSD_LLAVE", rutas.llave});
    variable.Ejecuta({"CFDI_CSD_CERTIFICADO", rutas.certificado});
    variable.Ejecuta({"CFDI_CSD_CONTRASENA", GuardaContrasena(carpeta)});
    variable.Ejecuta({"CFDI_EMISOR_RFC", kRfc});
    variable.Ejecuta({"CFDI_EMISOR_NOMBRE", "ESCUELA KEMPER URGATE"});
    variable.Ejecuta({"CFDI_EMISOR_REGIMEN", "601"});
}

}  // namespace qivera::db::demo
