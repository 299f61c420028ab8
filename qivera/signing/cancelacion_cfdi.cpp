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

// The UUID of the stamped, standing invoice of the same client the clerk names as the replacement.
std::string EligeSustituto(Sesion& sesion, const std::string& folio, const std::string& cliente) {
    std::vector<std::string> folios, uuids;
    const auto rs = sesion.conexion.Execute(
        "SELECT Cd_Documento, Cd_Uuid FROM Comprobante_Digital JOIN Factura ON Factura.Fc_Folio = Cd_Documento "
        "WHERE Cd_Tabla = 'Factura' AND Cd_Timbrado = 1 AND Cd_Cancelado = 0 AND Factura.Cl_Cve_Cliente = " +
        LiteralTexto(cliente) + " AND Cd_Documento <> " + LiteralTexto(folio) + " ORDER BY Cd_Documento");
    for (; !rs->Eof(); rs->MoveNext()) {
        folios.push_back(rs->Field(0).ToTextOrEmpty());
        uuids.push_back(rs->Field(1).ToTextOrEmpty());
    }
    const std::string elegido = sesion.persona.Elige("factura_sustituta", {folio}, folios, uuids);
    for (std::size_t i = 0; i < folios.size(); ++i)
        if (folios[i] == elegido) return uuids[i];
    return {};
}

void Anota(kx204::host::Connection& conexion, const std::string& folio, const std::vector<Valor>& valores) {
    kx204::host::Transaction transaccion(conexion);
    conexion.Execute("UPDATE Comprobante_Digital SET " + Asignaciones(valores) + Condicion(folio));
    transaccion.Commit();
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
    const std::string sustituto = motivo == "01" ? EligeSustituto(sesion, folio, timbre->cliente) : std::string();
    if (motivo == "01" && sustituto.empty())
        return {false, "Con el motivo 01 elija la factura timbrada que sustituye a la factura " + folio, {}};
    const std::vector<Valor> pedido{{"Cd_Motivo_Cancelacion", LiteralTexto(motivo)},
                                    {"Cd_Uuid_Sustituto", LiteralTexto(sustituto)}};
    RespuestaCancelacion respuesta;
    try {
        respuesta = CancelaTimbre(comando, timbre->uuid, ValorVariable(conexion, "CFDI_EMISOR_RFC"), motivo, sustituto);
    } catch (const TimbreRechazado& rechazo) {
        std::vector<Valor> valores = pedido;
        valores.emplace_back("Cd_Estado_Cancelacion", "'RECHAZADO'");
        Anota(conexion, folio, valores);
        return {false, "El CFDI de la factura " + folio + " no se canceló: " + rechazo.description, {}};
    } catch (const kx204::host::RuntimeError& fallo) {
        return {false, "El CFDI de la factura " + folio + " no se canceló: " + fallo.description, {}};
    }
    std::vector<Valor> valores = pedido;
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
