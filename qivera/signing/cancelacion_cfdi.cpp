#include "qivera/signing/cancelacion_cfdi.hpp"

#include <optional>
#include <vector>

#include "kx204/host/transaction.hpp"
#include "qivera/db/configuracion.hpp"
#include "qivera/db/sql.hpp"
#include "qivera/services/servicios.hpp"
#include "qivera/signing/timbrado.hpp"
#include "qivera/signing/timbrado_pendiente.hpp"

namespace qivera {

namespace {

// The SAT's reasons, as its catalog names them.
const std::vector<std::string> kMotivos{"01", "02", "03", "04"};
const std::vector<std::string> kDescripciones{
    "Comprobante emitido con errores con relación", "Comprobante emitido con errores sin relación",
    "No se llevó a cabo la operación", "Operación nominativa relacionada en una factura global"};

std::string Condicion(const std::string& folio) {
    return " WHERE Cd_Tabla = 'Factura' AND Cd_Documento = " + LiteralTexto(folio);
}

struct Timbre {
    std::string uuid, cliente;
};

// The invoice's stamp while it stands; none when unstamped or cancelled already.
std::optional<Timbre> TimbreVigente(kx204::host::Connection& conexion, const std::string& folio) {
    const auto rs = conexion.Execute(
        "SELECT Cd_Uuid, Factura.Cl_Cve_Cliente FROM Comprobante_Digital JOIN Factura ON Factura.Fc_Folio = "
        "Cd_Documento" +
        Condicion(folio) + " AND Cd_Timbrado = 1 AND Cd_Cancelado = 0");
    if (rs->Eof()) return std::nullopt;
    return Timbre{rs->Field(0).ToTextOrEmpty(), rs->Field(1).ToTextOrEmpty()};
}

std::string EligeMotivo(Sesion& sesion, const std::string& folio) {
    std::string omision = ValorVariable(sesion.conexion, "CFDI_MOTIVO_CANCELACION");
    if (omision.empty()) omision = "02";
    const std::string elegido = sesion.persona.Elige("motivo_cancelacion", {folio}, kMotivos, kDescripciones);
    return elegido.empty() ? omision : elegido;
}

void Anota(kx204::host::Connection& conexion, const std::string& folio, const std::vector<Valor>& valores) {
    kx204::host::Transaction transaccion(conexion);
    conexion.Execute("UPDATE Comprobante_Digital SET " + Asignaciones(valores) + Condicion(folio));
    transaccion.Commit();
}

// The UUID of the stamped CFDI that replaces the invoice's, once one is.
std::string Sustituto(kx204::host::Connection& conexion, const std::string& folio) {
    const auto valor = PrimerValor(conexion, "SELECT Cd_Uuid_Sustituto FROM Comprobante_Digital" + Condicion(folio));
    return valor ? valor->ToTextOrEmpty() : std::string();
}

}  // namespace

ValidacionDocumento CancelaAnteElSat(Sesion& sesion, const std::string& folio) {
    auto& conexion = sesion.conexion;
    if (LeePendiente(conexion, folio))
        return {false,
                "La factura " + folio +
                    " espera su timbre: fírmela (Firmar, o qivera timbrar --pendientes) antes de eliminarla",
                {}};
    const std::optional<Timbre> timbre = TimbreVigente(conexion, folio);
    if (!timbre) return {true, {}, {}};
    std::string comando;
    try {
        comando = ComandoTimbrado(conexion);
    } catch (const kx204::host::RuntimeError& rechazo) {
        return {false, rechazo.description, {}};
    }
    if (comando.empty())
        return {false,
                "No hay proveedor de timbrado para cancelar el CFDI de la factura " + folio +
                    " (clave comando de la sección [timbrado] de " + db::ArchivoDelUsuario() + ")",
                {}};
    const std::string motivo = EligeMotivo(sesion, folio);
    const std::string sustituto = motivo == "01" ? Sustituto(conexion, folio) : std::string();
    if (motivo == "01" && sustituto.empty()) {
        // The SAT cancels with 01 only naming a stamped replacement that relates to this CFDI: the books let
        // the notes go to it now, and the cancellation follows its stamp.
        Anota(conexion, folio,
              {{"Cd_Motivo_Cancelacion", "'01'"}, {"Cd_Estado_Cancelacion", LiteralTexto(kPorSustituir)}});
        return {true, {}, {}};
    }
    return PideCancelacion(conexion, comando, {folio, timbre->uuid, motivo, sustituto});
}

ValidacionDocumento PideCancelacion(kx204::host::Connection& conexion, const std::string& comando,
                                    const PedidoCancelacion& pedido) {
    const std::string& folio = pedido.folio;
    std::vector<Valor> valores{{"Cd_Motivo_Cancelacion", LiteralTexto(pedido.motivo)},
                               {"Cd_Uuid_Sustituto", LiteralTexto(pedido.sustituto)}};
    RespuestaCancelacion respuesta;
    try {
        respuesta = CancelaTimbre(comando, pedido.uuid, ValorVariable(conexion, "CFDI_EMISOR_RFC"), pedido.motivo,
                                  pedido.sustituto);
    } catch (const TimbreRechazado& rechazo) {
        valores.emplace_back("Cd_Estado_Cancelacion", "'RECHAZADO'");
        Anota(conexion, folio, valores);
        return {false, "El CFDI de la factura " + folio + " no se canceló: " + rechazo.description, {}};
    } catch (const kx204::host::RuntimeError& fallo) {
        return {false, "El CFDI de la factura " + folio + " no se canceló: " + fallo.description, {}};
    }
    if (respuesta == RespuestaCancelacion::EnProceso) {
        valores.emplace_back("Cd_Estado_Cancelacion", "'EN_PROCESO'");
        Anota(conexion, folio, valores);
        return {false,
                {},
                "La cancelación del CFDI de la factura " + folio +
                    " está en proceso: el receptor debe aceptarla. Elimine la factura de nuevo cuando la acepte."};
    }
    valores.emplace_back("Cd_Estado_Cancelacion", "'CANCELADO'");
    valores.emplace_back("Cd_Cancelado", "1");
    Anota(conexion, folio, valores);
    return {true, {}, {}};
}

}  // namespace qivera
