#include "qivera/signing/sustitucion_cfdi.hpp"

#include "qivera/cfdi/sustitucion.hpp"
#include "qivera/db/sql.hpp"
#include "qivera/services/cancelacion_factura.hpp"
#include "qivera/signing/cancelacion_cfdi.hpp"
#include "qivera/signing/timbrado.hpp"

namespace qivera {

namespace {

constexpr const char* kReemplazados =
    " FROM Comprobante_Digital WHERE Cd_Tabla = 'Factura' AND Cd_Timbrado = 1 AND Cd_Cancelado = 0 AND "
    "Cd_Motivo_Cancelacion = '01'";

}  // namespace

void AnotaSustituto(kx204::host::Connection& conexion, const std::string& xml, const std::string& uuid) {
    std::string uuids;
    for (const std::string& sustituido : UuidsSustituidos(xml))
        uuids += (uuids.empty() ? "" : ", ") + LiteralTexto(sustituido);
    if (uuids.empty()) return;
    conexion.Execute("UPDATE Comprobante_Digital SET Cd_Uuid_Sustituto = " + LiteralTexto(uuid) +
                     " WHERE Cd_Tabla = 'Factura' AND Cd_Estado_Cancelacion = " + LiteralTexto(kPorSustituir) +
                     " AND Cd_Uuid_Sustituto = '' AND Cd_Uuid IN (" + uuids + ")");
}

std::vector<CancelacionSustituida> CancelaSustituidos(kx204::host::Connection& conexion, const std::string& sustituto) {
    std::vector<PedidoCancelacion> pedidos;
    const auto rs = conexion.Execute(
        "SELECT Cd_Documento, Cd_Uuid, Cd_Uuid_Sustituto" + std::string(kReemplazados) +
        (sustituto.empty() ? " AND Cd_Uuid_Sustituto <> ''" : " AND Cd_Uuid_Sustituto = " + LiteralTexto(sustituto)) +
        " ORDER BY Cd_Documento");
    for (; !rs->Eof(); rs->MoveNext())
        pedidos.push_back(
            {rs->Field(0).ToTextOrEmpty(), rs->Field(1).ToTextOrEmpty(), "01", rs->Field(2).ToTextOrEmpty()});
    rs->Close();
    std::vector<CancelacionSustituida> respuestas;
    if (pedidos.empty()) return respuestas;
    const std::string comando = ComandoTimbrado(conexion);
    if (comando.empty()) return respuestas;
    for (const PedidoCancelacion& pedido : pedidos) {
        const ValidacionDocumento respuesta = PideCancelacion(conexion, comando, pedido);
        respuestas.push_back({pedido.folio,
                              respuesta.valida          ? "cancelado"
                              : respuesta.error.empty() ? "en_proceso"
                                                        : "",
                              respuesta.error});
    }
    return respuestas;
}

}  // namespace qivera
