#include "qivera/services/interfaz.hpp"

#include <algorithm>
#include <charconv>

#include "kx204/host/runtime_error.hpp"
#include "kx204/host/texto.hpp"
#include "qivera/db/plantillas.hpp"
#include "qivera/services/consecutivo.hpp"
#include "qivera/services/listas.hpp"
#include "qivera/services/servicios.hpp"

namespace qivera {

using kx204::host::Date;
using kx204::host::Lista;
using kx204::host::SqlText;

namespace {

// A source line's reference: table, folio and line id, in this order.
constexpr char kSeparadorReferencia = '|';

// The note and line id a reference to a line of Venta names; nothing when it names none.
struct RenglonVenta {
    std::string folio;
    long id;
};
std::optional<RenglonVenta> LeeReferenciaVenta(const std::string& referencia) {
    const std::size_t primero = referencia.find(kSeparadorReferencia);
    const std::size_t ultimo = referencia.rfind(kSeparadorReferencia);
    if (primero == ultimo || kx204::host::Mayusculas(referencia.substr(0, primero)) != "VENTA") return std::nullopt;
    long id = 0;
    const char* fin = referencia.data() + referencia.size();
    const auto [resto, error] = std::from_chars(referencia.data() + ultimo + 1, fin, id);
    if (error != std::errc() || resto != fin) return std::nullopt;
    return RenglonVenta{referencia.substr(primero + 1, ultimo - primero - 1), id};
}

}  // namespace

std::string InterfazQivera::BuscaCatalogo(const std::string& tabla, const std::string& campoClave,
                                          const std::string& clave, const std::string& campoDescripcion,
                                          bool* encontrado, const std::string& campoClave2, const std::string& clave2,
                                          const std::string& estadoExcluido) {
    std::string sql = "SELECT " + Identificador(campoDescripcion) + " FROM " + Identificador(tabla) + " WHERE " +
                      Identificador(campoClave) + " = '" + SqlText(clave) + "'";
    if (!campoClave2.empty()) sql += " AND " + Identificador(campoClave2) + " = '" + SqlText(clave2) + "'";
    if (!estadoExcluido.empty()) sql += " AND Es_Cve_Estado <> '" + SqlText(estadoExcluido) + "'";
    auto rs = sesion_.conexion.Execute(sql);
    const bool hay = !rs->Eof();
    std::string descripcion = hay ? rs->Field(0).ToTextOrEmpty() : std::string();
    rs->Close();
    if (encontrado != nullptr) *encontrado = hay;
    return descripcion;
}

std::string InterfazQivera::ObtenConsulta(const std::string& nombre) {
    auto rs = sesion_.conexion.Execute("SELECT Cs_Texto FROM Consulta WHERE Cs_Nombre = '" + SqlText(nombre) + "'");
    if (rs->Eof()) throw kx204::host::RuntimeError(5, "No existe la consulta " + nombre);
    std::string texto = rs->Field(0).ToTextOrEmpty();
    rs->Close();
    return texto;
}

std::string InterfazQivera::ObtenTransaccion(const std::string& transaccion, const std::string& /*producto*/) {
    return transaccion;
}

Date InterfazQivera::FechaServidor() { return sesion_.Ahora(); }

double InterfazQivera::TipoCambio(const std::string& moneda, const Date& fecha) {
    if (moneda == ValorVariable(sesion_.conexion, "FIN_MONEDA_LOCAL")) return 1;
    auto rs = sesion_.conexion.Execute("SELECT top 1 Tc_Tipo_Cambio FROM Tipo_Cambio WHERE Mn_Cve_Moneda = '" +
                                       SqlText(moneda) + "' AND Tc_Fecha <= '" + FechaSQL(fecha) +
                                       "' ORDER BY Tc_Fecha DESC");
    const double tipo = rs->Eof() ? 0 : rs->Field(0).ToDouble();
    rs->Close();
    return tipo;
}

void InterfazQivera::EnviaTecla(const std::string& teclas, int /*opcion*/, const std::string& /*argumento*/) {
    if (teclas == "{TAB}" && sesion_.ventanaActiva != nullptr) sesion_.ventanaActiva->SiguienteFoco();
}

bool InterfazQivera::EsSerieDigital(const std::string& serie, int /*opcion*/) {
    auto rs = sesion_.conexion.Execute("SELECT Sr_Digital FROM Serie WHERE Sr_Serie = '" + SqlText(serie) + "'");
    const bool digital = !rs->Eof() && rs->Field(0).ToBool();
    rs->Close();
    return digital;
}

std::string InterfazQivera::CondicionVentaCliente(const std::string& cliente, const std::string& /*sucursal*/,
                                                  int /*opcion*/) {
    ultimoError_.clear();
    const auto condicion =
        PrimerValor(sesion_.conexion,
                    "SELECT Cv_Cve_Condicion_Venta FROM Cliente WHERE Cl_Cve_Cliente = '" + SqlText(cliente) + "'");
    if (!condicion) ultimoError_ = "El cliente " + cliente + " no existe";
    return condicion ? condicion->ToTextOrEmpty() : std::string();
}

// This host chooses formats per branch; the client does not change them.
std::string InterfazQivera::FormatoImpresion(const std::string& /*cliente*/, const std::string& sucursal) {
    for (const std::string& variable : {"FAC_FORMATO_IMPRESION_" + sucursal, std::string("FAC_FORMATO_IMPRESION")}) {
        std::string formato = ValorVariable(sesion_.conexion, variable);
        if (!formato.empty()) return formato;
    }
    return "FACTURA";
}

// Where periods overlap, every one that covers the date must be open.
bool InterfazQivera::ValidaPeriodoOperativo(const Date& fecha, const std::string& modulo, int /*opcion*/) {
    const std::string dia = "'" + FechaSQL(fecha) + "'";
    const auto abierto = PrimerValor(
        sesion_.conexion, "SELECT min(Pe_Abierto) FROM Periodo_Operativo WHERE Pe_Modulo = '" + SqlText(modulo) +
                              "' AND Pe_Fecha_Inicio <= " + dia + " AND Pe_Fecha_Final >= " + dia);
    return abierto && !abierto->IsNull() && abierto->ToBool();
}

bool InterfazQivera::LlenaLista(const std::string& sentencia, Lista& lista, bool encabezados) {
    // Read before clearing, so that a failed statement leaves the list as it was.
    RenglonesLista renglones = LeeRenglones(sesion_.conexion, sentencia);
    lista.Clear();
    AgregaRenglones(lista, std::move(renglones), encabezados);
    return true;
}

// The key names the row the caller looks for afterwards; appending needs only the statement.
bool InterfazQivera::AgregaALista(const std::string& sentencia, Lista& lista, const std::string& /*clave*/,
                                  bool encabezados) {
    AgregaRenglones(lista, LeeRenglones(sesion_.conexion, sentencia), encabezados);
    return true;
}

std::string InterfazQivera::SeleccionaRegistro(const std::string& consulta, int /*opcion*/,
                                               const std::string& condicion) {
    const std::vector<std::string> claves =
        PrimeraColumna(sesion_.conexion, db::AplicaCondicion(ObtenConsulta(consulta), condicion));
    return EligeRenglon(sesion_.persona, "registro", {consulta, condicion}, claves);
}

bool InterfazQivera::AccionLista(Lista& lista) {
    const std::string ruta = sesion_.persona.Elige("exportar", {lista.Nombre()}, {});
    if (ruta.empty()) return false;
    GuardaArchivo(ruta, TextoCsv(lista));
    return true;
}

bool InterfazQivera::AccionListaAlterna(Lista& lista) {
    std::vector<std::string> captions;
    for (const auto& columna : lista.Columnas()) captions.push_back(columna.caption);
    const std::string elegidas = sesion_.persona.Elige("columnas", captions, {});
    if (elegidas.empty()) return false;
    MuestraColumnas(lista, elegidas);
    return true;
}

std::string InterfazQivera::ReferenciaRenglon(const std::string& tabla, const std::string& folio,
                                              const std::string& id) {
    return tabla + kSeparadorReferencia + folio + kSeparadorReferencia + id;
}

bool InterfazQivera::RelacionaRenglon(const std::string& tabla, const std::string& folio, const std::string& renglon,
                                      const std::string& referencia) {
    ultimoError_.clear();
    const auto venta = LeeReferenciaVenta(referencia);
    // A sale line this transaction read with the invoice's notes exists: its relation waits to be
    // written with the others, in a few statements.
    if (venta && sesion_.conexion.RenglonVentaLeido(venta->folio, venta->id)) {
        sesion_.conexion.InsertaDespues("Relacion_Renglon", {{"Rr_Tabla", LiteralTexto(tabla)},
                                                             {"Rr_Documento", LiteralTexto(folio)},
                                                             {"Rr_Renglon", LiteralTexto(renglon)},
                                                             {"Rr_Referencia", LiteralTexto(referencia)}});
        return true;
    }
    // Any other: one statement, prepared once, that writes the relation only when the sale line exists.
    if (!relacion_)
        relacion_ = sesion_.conexion.Prepara(
            "INSERT INTO Relacion_Renglon (Rr_Tabla, Rr_Documento, Rr_Renglon, Rr_Referencia) "
            "SELECT ?, ?, ?, ? FROM Venta WHERE Vn_Folio = ? AND Vn_Id = ?");
    if (!venta || relacion_->Ejecuta({tabla, folio, renglon, referencia, venta->folio, venta->id}) == 0) {
        ultimoError_ = "La referencia " + referencia + " no corresponde a ningún renglón de venta";
        return false;
    }
    return true;
}

// A folio typed as its number alone takes the form the host numbers invoices with ("177" is F000177).
std::string InterfazQivera::NormalizaFolio(const std::string& folio) {
    const std::size_t inicio = folio.find_first_not_of(" \t\r\n");
    if (inicio == std::string::npos) return {};
    const std::string limpio =
        kx204::host::Mayusculas(folio.substr(inicio, folio.find_last_not_of(" \t\r\n") + 1 - inicio));
    if (!std::all_of(limpio.begin(), limpio.end(), [](char c) { return c >= '0' && c <= '9'; })) return limpio;
    const std::size_t digitos = static_cast<std::size_t>(kFolioFactura.digitos);
    return kFolioFactura.prefijo + std::string(digitos - std::min(digitos, limpio.size()), '0') + limpio;
}

}  // namespace qivera
