#include "qivera/script/timbrar.hpp"

#include <nlohmann/json.hpp>

#include "qivera/db/base_datos.hpp"
#include "qivera/script/persona_guionada.hpp"
#include "qivera/script/usuarios.hpp"
#include "qivera/sesion/acceso.hpp"
#include "qivera/signing/firma_documentos.hpp"
#include "qivera/signing/sustitucion_cfdi.hpp"

namespace qivera {

namespace {

nlohmann::ordered_json Linea(const FirmaDocumentos::Resultado& resultado) {
    nlohmann::ordered_json linea{{"folio", resultado.folio}};
    if (!resultado.error.empty()) {
        linea["error"] = resultado.error;
        return linea;
    }
    linea["uuid"] = resultado.uuid.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(resultado.uuid);
    linea["xml"] = resultado.archivo;
    return linea;
}

}  // namespace

int TimbraPendientes(const Argumentos& args, std::istream& entrada, std::ostream& salida) {
    const std::string usuario = args.Tiene("--user") ? args.opciones.at("--user") : "ADMIN";
    const std::string clave = args.Tiene("--password-stdin") ? LeeClave(entrada) : std::string();
    auto conexion = db::AbreBaseExistente(args.opciones.at("--db"));
    Autentica(*conexion, usuario, clave);
    if (!TienePermiso(*conexion, usuario, "KX204", "FACTURAR"))
        throw AccesoDenegado("El usuario «" + usuario + "» no tiene permiso para firmar facturas (KX204 FACTURAR).");
    PersonaGuionada persona([](const nlohmann::ordered_json&) {});
    Sesion sesion{*conexion, persona, usuario, std::nullopt, nullptr, {}};
    int estado = 0;
    const std::string sucursal = args.Tiene("--sucursal") ? args.opciones.at("--sucursal") : std::string();
    for (const FirmaDocumentos::Resultado& resultado : FirmaDocumentos(sesion).ReintentaPendientes(sucursal)) {
        if (!resultado.error.empty()) estado = 1;
        salida << Linea(resultado).dump() << std::endl;
    }
    // Stamped replacements first, so that what they replace can be cancelled naming them.
    for (const CancelacionSustituida& cancelacion : CancelaSustituidos(*conexion)) {
        if (cancelacion.estado != "cancelado") estado = 1;
        nlohmann::ordered_json linea{{"folio", cancelacion.folio}};
        if (cancelacion.error.empty())
            linea["cancelacion"] = cancelacion.estado;
        else
            linea["error"] = cancelacion.error;
        salida << linea.dump() << std::endl;
    }
    return estado;
}

}  // namespace qivera
