#include "qivera/sesion/sesion.hpp"

namespace qivera {

kx204::host::Date Sesion::Ahora() {
    const kx204::host::Date ahora = reloj.Ahora(conexion);
    if (!fechaServidor) return ahora;
    return kx204::host::Date::FromYmd(fechaServidor->Year(), fechaServidor->Month(), fechaServidor->Day(), ahora.Hour(),
                                      ahora.Minute(), ahora.Second());
}

std::string AhoraSQL(Sesion& sesion) { return sesion.Ahora().ToIsoDateTime(); }

std::vector<Valor> ConSellos(Sesion& sesion, std::vector<Valor> valores) {
    valores.emplace_back("Oper_Ult_Modif", LiteralTexto(sesion.usuario));
    valores.emplace_back("Fecha_Ult_Modif", LiteralTexto(AhoraSQL(sesion)));
    return valores;
}

}  // namespace qivera
