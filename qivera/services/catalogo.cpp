#include "qivera/services/catalogo.hpp"

#include <algorithm>

#include "qivera/db/plantillas.hpp"
#include "qivera/services/interfaz.hpp"
#include "qivera/services/listas.hpp"

namespace qivera {

std::string BuscaEnCatalogo(Sesion& sesion, const std::string& consulta, const std::string& condicion) {
    InterfazQivera interfaz(sesion);
    const RenglonesLista renglones =
        LeeRenglones(sesion.conexion, db::AplicaCondicion(interfaz.ObtenConsulta(consulta), condicion));
    std::vector<std::string> opciones;
    for (const auto& item : renglones.items)
        opciones.push_back(item.sub.empty() || item.sub[0].empty() ? item.text : item.text + " — " + item.sub[0]);
    const std::string elegido = EligeRenglon(sesion.persona, "catalogo", {consulta, condicion}, opciones);
    const auto it = std::find(opciones.begin(), opciones.end(), elegido);
    return elegido.empty() || it == opciones.end() ? std::string() : renglones.items[it - opciones.begin()].text;
}

}  // namespace qivera
