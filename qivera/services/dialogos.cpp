#include "qivera/services/dialogos.hpp"

#include "qivera/services/consecutivo.hpp"
#include "qivera/services/listas.hpp"

namespace qivera {

using kx204::host::SqlText;

namespace {

// A key and description per row: the options of a chooser and what each one is.
std::pair<std::vector<std::string>, std::vector<std::string>> ClavesYDescripciones(const RenglonesLista& renglones) {
    std::pair<std::vector<std::string>, std::vector<std::string>> partes;
    for (const auto& item : renglones.items) {
        partes.first.push_back(item.text);
        partes.second.push_back(item.sub.empty() ? std::string() : item.sub[0]);
    }
    return partes;
}

}  // namespace

void VisorQivera::Muestra(const std::string& tabla, const std::string& campo, const std::string& clave,
                          const std::string&, const std::string&, const std::string&, const std::string&) {
    std::vector<std::string> renglon;
    auto rs = sesion_.conexion.Execute("SELECT * FROM " + Identificador(tabla) + " WHERE " + Identificador(campo) +
                                       " = '" + SqlText(clave) + "'");
    if (!rs->Eof())
        for (int i = 0; i < rs->FieldCount(); ++i)
            renglon.push_back(rs->FieldName(i) + ": " + rs->Field(i).ToTextOrEmpty());
    rs->Close();
    sesion_.persona.Muestra("visor", {tabla, campo, clave}, renglon);
}

std::string DireccionEntregaQivera::SeleccionaDireccion(const std::string& catalogo, const std::string& clave,
                                                        const std::string& actual) {
    const RenglonesLista direcciones =
        LeeRenglones(sesion_.conexion,
                     "SELECT De_Cve_Direccion, De_Descripcion FROM Direccion_Entrega WHERE "
                     "Cl_Cve_Cliente = '" +
                         SqlText(clave) + "' ORDER BY De_Cve_Direccion");
    const auto [claves, descripciones] = ClavesYDescripciones(direcciones);
    return sesion_.persona.Elige("direccion", {catalogo, clave, actual}, claves, descripciones);
}

// Saving again replaces the document's address.
bool DireccionEntregaQivera::GuardaDireccion(const std::string& tipoDocumento, const std::string& folio,
                                             const std::string& catalogo, const std::string& clave,
                                             const std::string& direccion) {
    error_.clear();
    if (!PrimerValor(sesion_.conexion, "SELECT De_Cve_Direccion FROM Direccion_Entrega WHERE Cl_Cve_Cliente = '" +
                                           SqlText(clave) + "' AND De_Cve_Direccion = '" + SqlText(direccion) + "'")) {
        error_ = "La dirección de entrega '" + direccion + "' no es una de las del cliente " + clave;
        return false;
    }
    const std::string documento =
        " WHERE Dd_Tabla = " + LiteralTexto(tipoDocumento) + " AND Dd_Documento = " + LiteralTexto(folio);
    sesion_.conexion.Execute("DELETE FROM Direccion_Documento" + documento);
    InsertaFila(sesion_.conexion, "Direccion_Documento",
                {{"Dd_Tabla", LiteralTexto(tipoDocumento)},
                 {"Dd_Documento", LiteralTexto(folio)},
                 {"Dd_Catalogo", LiteralTexto(catalogo)},
                 {"Dd_Clave", LiteralTexto(clave)},
                 {"De_Cve_Direccion", LiteralTexto(direccion)}});
    return true;
}

bool MetodoPagoQivera::Captura(const std::string& cliente) {
    error_.clear();
    const std::string filtro = " WHERE Cl_Cve_Cliente = '" + SqlText(cliente) + "'";
    const auto actual = PrimerValor(sesion_.conexion, "SELECT Mp_Cve_Metodo_Pago FROM Cliente" + filtro);
    if (!actual) {
        error_ = "El cliente " + cliente + " no existe";
        return false;
    }
    const auto [metodos, nombres] = ClavesYDescripciones(
        LeeRenglones(sesion_.conexion,
                     "SELECT Mp_Cve_Metodo_Pago, Mp_Descripcion FROM Metodo_Pago WHERE Es_Cve_Estado <> 'BA' "
                     "ORDER BY Mp_Cve_Metodo_Pago"));
    const std::string elegido =
        EligeRenglon(sesion_.persona, "metodo_pago", {cliente, actual->ToTextOrEmpty()}, metodos, nombres);
    if (elegido.empty()) return true;  // closed without choosing: nothing changes
    sesion_.conexion.Execute("UPDATE Cliente SET " +
                             Asignaciones(ConSellos(sesion_, {{"Mp_Cve_Metodo_Pago", LiteralTexto(elegido)}})) +
                             filtro);
    return true;
}

}  // namespace qivera
