#include "qivera/script/global.hpp"

#include <algorithm>
#include <map>
#include <optional>
#include <sstream>

#include "qivera/db/base_datos.hpp"
#include "qivera/db/sql.hpp"
#include "qivera/printing/legible.hpp"
#include "qivera/script/guion.hpp"
#include "qivera/script/usuarios.hpp"
#include "qivera/services/listas.hpp"
#include "qivera/sesion/acceso.hpp"
#include "qivera/signing/datos_cfdi.hpp"

namespace qivera {

namespace {

using json = nlohmann::ordered_json;
using kx204::host::Connection;
using kx204::host::Date;

constexpr int kBitCritico = 16;  // a message with this bit among its buttons tells of an error

// The days a general-public invoice covers, and how the SAT names them.
struct Periodo {
    Date desde, hasta;
    PeriodoGlobal sat;
};

// What a run invoices: the general public's notes of a branch and currency in a period. An empty currency
// is the one New puts in, the local one.
struct Pedido {
    std::string usuario, clave, sucursal, moneda, cliente;
    Periodo periodo;
};

// The screen or the host stopped an invoice; the message is theirs.
class Rechazo : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

Date FechaPedida(const Argumentos& args) {
    const std::string& texto = args.opciones.at("--fecha");
    const auto fecha = Date::Parse(texto);
    if (!fecha) throw ErrorDeUso("option --fecha takes a date YYYY-MM-DD: " + texto);
    return Date::FromYmd(fecha->Year(), fecha->Month(), fecha->Day());
}

std::string DosDigitos(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

Date UltimoDelMes(int anio, int mes) {
    const Date siguiente = Date::FromYmd(anio, mes, 1).AddDays(31);  // somewhere in the next month
    return Date::FromYmd(siguiente.Year(), siguiente.Month(), 1).AddDays(-1);
}

// The day, week (Monday to Sunday), fortnight (1-15 or 16 to the end), month or two months (January and
// February, March and April…) around `fecha`, with the SAT's names for it.
Periodo PeriodoAlrededor(const std::string& periodo, const Date& fecha) {
    const int anio = fecha.Year(), mes = fecha.Month();
    const std::string meses = DosDigitos(mes), enAnio = std::to_string(anio);
    const Date primero = Date::FromYmd(anio, mes, 1), ultimo = UltimoDelMes(anio, mes);
    if (periodo == "diario" || periodo == "diaria") return {fecha, fecha, {"01", meses, enAnio}};
    if (periodo == "semanal") {
        const Date lunes = fecha.AddDays(-((fecha.SerialDays() + 5) % 7));  // day 0 was a Saturday
        return {lunes, lunes.AddDays(6), {"02", meses, enAnio}};
    }
    if (periodo == "quincenal")
        return fecha.Day() <= 15 ? Periodo{primero, primero.AddDays(14), {"03", meses, enAnio}}
                                 : Periodo{primero.AddDays(15), ultimo, {"03", meses, enAnio}};
    if (periodo == "mensual") return {primero, ultimo, {"04", meses, enAnio}};
    if (periodo == "bimestral") {
        const int inicio = mes % 2 == 1 ? mes : mes - 1;
        return {Date::FromYmd(anio, inicio, 1),
                UltimoDelMes(anio, inicio + 1),
                {"05", std::to_string(13 + (inicio - 1) / 2), enAnio}};
    }
    throw ErrorDeUso("option --periodo takes diario, semanal, quincenal, mensual or bimestral, not: " + periodo);
}

void ExisteClave(Connection& conexion, const std::string& tabla, const std::string& columna, const std::string& clave,
                 const std::string& nombre) {
    if (!PrimerValor(conexion, "SELECT " + Identificador(columna) + " FROM " + Identificador(tabla) + " WHERE " +
                                   Identificador(columna) + " = " + LiteralTexto(clave)))
        throw ErrorDeUso("unknown " + nombre + " " + clave);
}

std::string ClientePublicoEnGeneral(Connection& conexion) {
    const auto cliente = PrimerValor(
        conexion, "SELECT Cl_Cve_Cliente FROM Cliente WHERE Cl_R_F_C = " + LiteralTexto(kRfcPublicoEnGeneral) +
                      " AND Es_Cve_Estado <> 'BA' ORDER BY Cl_Cve_Cliente");
    if (!cliente)
        throw std::runtime_error(std::string("the database has no general-public client (an active client with RFC ") +
                                 kRfcPublicoEnGeneral + ")");
    return cliente->ToTextOrEmpty();
}

// The command line's request, before any key of it is checked.
Pedido PedidoDe(const Argumentos& args, std::istream& entrada) {
    Pedido pedido;
    pedido.usuario = args.Tiene("--user") ? args.opciones.at("--user") : "ADMIN";
    if (args.Tiene("--password-stdin")) pedido.clave = LeeClave(entrada);
    pedido.sucursal = args.opciones.at("--sucursal");
    if (args.Tiene("--moneda")) pedido.moneda = args.opciones.at("--moneda");
    pedido.periodo = PeriodoAlrededor(args.opciones.at("--periodo"), FechaPedida(args));
    return pedido;
}

// Nothing is tried for a branch or currency that does not exist, nor by a user who may not sign in.
void ExigeClaves(db::ConexionQt& conexion, const Pedido& pedido) {
    ExisteClave(conexion, "Sucursal", "Sc_Cve_Sucursal", pedido.sucursal, "branch");
    if (!pedido.moneda.empty()) ExisteClave(conexion, "Moneda", "Mn_Cve_Moneda", pedido.moneda, "currency");
    Autentica(conexion, pedido.usuario, pedido.clave);
}

// What an event of the transcript says went wrong; nothing when it tells of no error.
std::optional<std::string> ErrorDe(const json& evento) {
    const std::string tipo = evento.value("event", "");
    if (tipo == "error") return evento.value("description", "");
    if (tipo == "refused") return evento.value("control", "") + ": " + evento.value("reason", "");
    if (tipo == "message" && (evento.value("buttons", 0) & kBitCritico) != 0) return evento.value("prompt", "");
    return std::nullopt;
}

// The clerk at the screen: plays actions as a script does and reads what the screen answered.
class Capturista {
public:
    explicit Capturista(db::ConexionQt& conexion) : guion_(conexion, transcripcion_) {}

    // Runs an action and answers the events it caused; raises Rechazo with the first error among them.
    std::vector<json> Haz(const json& accion) {
        guion_.Ejecuta(accion);
        std::vector<json> eventos;
        for (std::string linea; std::getline(transcripcion_, linea);) eventos.push_back(json::parse(linea));
        transcripcion_.clear();  // read to its end; the next action writes on
        for (const json& evento : eventos)
            if (const auto error = ErrorDe(evento)) throw Rechazo(*error);
        return eventos;
    }

    // Types `texto` into `campo` and confirms it. A field bound to the user's branch or warehouse is
    // locked: it takes no typing, and shows its key already.
    void Captura(const std::string& campo, const std::string& texto) {
        const auto* actual = Pantalla().BuscaComo<kx204::host::CampoTexto>(campo);
        if (actual == nullptr || actual->Text() != texto) Haz({{"do", "type"}, {"field", campo}, {"text", texto}});
        Haz({{"do", "enter"}, {"field", campo}});
    }

    // The general-public invoices issued from now on cover `periodo`.
    void Cubre(const PeriodoGlobal& periodo) {
        if (Sesion* sesion = guion_.SesionAbierta()) sesion->periodoGlobal = periodo;
    }

    const kx204::frmKX204& Pantalla() const {
        if (guion_.Pantalla() == nullptr) throw Rechazo("La pantalla no está abierta");
        return *guion_.Pantalla();
    }

private:
    std::stringstream transcripcion_;
    Guion guion_;
};

// A new invoice of the warehouse, with the period's notes loaded.
void CargaNotas(Capturista& capturista, const Pedido& pedido, const std::string& almacen) {
    // The invoice is issued today by the server's clock; --fecha only names the period it covers.
    capturista.Haz({{"do", "open"}, {"user", pedido.usuario}, {"password", pedido.clave}});
    capturista.Cubre(pedido.periodo.sat);
    capturista.Haz({{"do", "toolbar"}, {"command", "nuevo"}});
    capturista.Captura("txt_Sc_Cve_Sucursal", pedido.sucursal);
    capturista.Captura("txt_Al_Cve_Almancen", almacen);
    if (!pedido.moneda.empty()) capturista.Captura("txt_Mn_Cve_Moneda", pedido.moneda);
    if (capturista.Pantalla().chkFechas.Value() != 1) capturista.Haz({{"do", "click"}, {"control", "chkFechas"}});
    capturista.Haz({{"do", "date"}, {"field", "dpFecha_Inicio"}, {"value", pedido.periodo.desde.ToIso()}});
    capturista.Haz({{"do", "date"}, {"field", "dpFecha_Final"}, {"value", pedido.periodo.hasta.ToIso()}});
    capturista.Haz({{"do", "toolbar"}, {"command", "b1"}});
}

// The general public's notes of the warehouse in the period paid in one go (not on credit), each with its
// salesman: a global invoice is paid in one exhibition. The screen loads the branch's notes whatever
// their warehouse; an invoice takes only its own warehouse's.
std::map<std::string, std::string> NotasDelPublico(Connection& conexion, const Pedido& pedido,
                                                   const std::string& almacen) {
    const RenglonesLista notas = LeeRenglones(
        conexion, "SELECT Vn_Folio, Vn_Cve_Vendedor FROM Venta_Encabezado WHERE Cl_Cve_Cliente = " +
                      LiteralTexto(pedido.cliente) + " AND Sc_Cve_Sucursal = " + LiteralTexto(pedido.sucursal) +
                      " AND Al_Cve_Almacen = " + LiteralTexto(almacen) +
                      " AND NOT EXISTS (SELECT 1 FROM Condicion_Venta c WHERE c.Cv_Cve_Condicion_Venta = "
                      "Venta_Encabezado.Vn_Condicion_Venta AND c.Cv_Tipo_Condicion = '02') AND Vn_Fecha BETWEEN " +
                      LiteralFecha(pedido.periodo.desde) + " AND " + LiteralFecha(pedido.periodo.hasta));
    std::map<std::string, std::string> vendedores;
    for (const auto& nota : notas.items) vendedores[nota.text] = nota.sub.at(0);
    return vendedores;
}

// The notes ticked for an invoice, each with its salesman.
struct Marcadas {
    std::vector<std::string> folios, vendedores;
};

// Ticks the loaded notes among `delPublico`.
Marcadas MarcaNotas(Capturista& capturista, const std::map<std::string, std::string>& delPublico) {
    Marcadas marcadas;
    const auto& lista = capturista.Pantalla().lvNotas;
    for (int i = 0; i < lista.Count(); ++i) {
        const auto nota = delPublico.find(lista.Item(i).text);
        if (nota == delPublico.end()) continue;
        marcadas.folios.push_back(nota->first);
        marcadas.vendedores.push_back(nota->second);
    }
    for (const std::string& folio : marcadas.folios)
        capturista.Haz({{"do", "check"}, {"item", folio}, {"checked", true}});
    return marcadas;
}

// The salesman of most of the notes, the first by key among equals.
std::string VendedorMayoritario(const std::vector<std::string>& vendedores) {
    std::map<std::string, int> notas;
    for (const std::string& vendedor : vendedores) ++notas[vendedor];
    return std::max_element(notas.begin(), notas.end(),
                            [](const auto& a, const auto& b) { return a.second < b.second; })
        ->first;
}

// The general public takes the invoice, delivered to its first address, on the sale condition the
// screen proposes for it. It has no salesman of its own: the invoice takes the notes' main one.
void TomaCliente(Capturista& capturista, Connection& conexion, const std::string& cliente,
                 const std::string& vendedor) {
    const auto direccion = PrimerValor(
        conexion, "SELECT De_Cve_Direccion FROM Direccion_Entrega WHERE Cl_Cve_Cliente = " + LiteralTexto(cliente) +
                      " ORDER BY De_Cve_Direccion");
    capturista.Haz({{"do", "tab"}, {"index", 0}});  // loading moved to the notes' tab
    capturista.Haz({{"do", "answer"}, {"with", direccion ? direccion->ToTextOrEmpty() : ""}});
    capturista.Captura("txt_Cl_Cve_Cliente", cliente);
    if (capturista.Pantalla().txt_Vn_Cve_Vendedor.Text().empty()) capturista.Captura("txt_Vn_Cve_Vendedor", vendedor);
    // The condition opens once the client is taken; without one, Accept says what is missing.
    if (capturista.Pantalla().txtCondicionVenta.Enabled())
        capturista.Haz({{"do", "enter"}, {"field", "txtCondicionVenta"}});
}

json TextoONulo(const std::optional<kx204::host::Variant>& valor) {
    return valor ? json(valor->ToTextOrEmpty()) : json(nullptr);
}

// An amount to the cent, without thousands separators: "1234.57".
json ImporteONulo(const std::optional<kx204::host::Variant>& valor) {
    return valor ? json(ImporteLegible(valor->ToCurrency()).remove(',').toStdString()) : json(nullptr);
}

// The invoice Accept stored and printed, as the command reports it; uuid and xml are null when its
// series is not digital.
json FacturaEmitida(Connection& conexion, const std::vector<json>& eventos, int notas) {
    const auto impresion = std::find_if(eventos.begin(), eventos.end(),
                                        [](const json& evento) { return evento.value("event", "") == "print"; });
    if (impresion == eventos.end()) throw Rechazo("the screen printed no invoice");
    const std::string folio = impresion->at("folio");
    const std::string factura = " FROM Factura WHERE Fc_Folio = " + LiteralTexto(folio);
    const std::string comprobante =
        " FROM Comprobante_Digital WHERE Cd_Tabla = 'Factura' AND Cd_Documento = " + LiteralTexto(folio);
    return {{"folio", folio},
            {"factura", TextoONulo(PrimerValor(conexion, "SELECT Fc_Factura" + factura))},
            {"notas", notas},
            {"total", ImporteONulo(PrimerValor(conexion, "SELECT Fc_Total" + factura))},
            {"uuid", TextoONulo(PrimerValor(conexion, "SELECT Cd_Uuid" + comprobante))},
            {"pdf", impresion->at("file")},
            {"xml", TextoONulo(PrimerValor(conexion, "SELECT Cd_Archivo" + comprobante))}};
}

// The invoice the notes went into, if any.
std::optional<kx204::host::Variant> FacturaDeLasNotas(Connection& conexion, const std::vector<std::string>& notas) {
    if (notas.empty()) return std::nullopt;
    return PrimerValor(conexion, "SELECT Fc_Folio FROM Venta_Encabezado WHERE Fc_Folio <> '' AND Vn_Folio = " +
                                     LiteralTexto(notas.front()));
}

// One warehouse's global invoice: its line, or nothing when none of its notes is pending. A failure
// after Accept stored the invoice names it too: its notes are invoiced, so a later run passes them by.
std::optional<json> FacturaAlmacen(db::ConexionQt& conexion, const Pedido& pedido, const std::string& almacen) {
    json linea{{"sucursal", pedido.sucursal}, {"almacen", almacen}};
    Marcadas marcadas;
    try {
        Capturista capturista(conexion);
        CargaNotas(capturista, pedido, almacen);
        marcadas = MarcaNotas(capturista, NotasDelPublico(conexion, pedido, almacen));
        if (marcadas.folios.empty()) return std::nullopt;
        TomaCliente(capturista, conexion, pedido.cliente, VendedorMayoritario(marcadas.vendedores));
        const auto eventos = capturista.Haz({{"do", "toolbar"}, {"command", "aceptar"}});
        linea.update(FacturaEmitida(conexion, eventos, static_cast<int>(marcadas.folios.size())));
    } catch (const Rechazo& rechazo) {
        if (const auto guardada = FacturaDeLasNotas(conexion, marcadas.folios))
            linea["folio"] = guardada->ToTextOrEmpty();
        linea["error"] = rechazo.what();
    }
    return linea;
}

}  // namespace

int FacturaGlobal(const Argumentos& args, std::istream& entrada, std::ostream& salida) {
    Pedido pedido = PedidoDe(args, entrada);
    auto conexion = db::AbreBaseExistente(args.opciones.at("--db"));
    ExigeClaves(*conexion, pedido);
    pedido.cliente = ClientePublicoEnGeneral(*conexion);
    int estado = 0;
    const auto almacenes = PrimeraColumna(*conexion, "SELECT Al_Cve_Almacen FROM Almacen WHERE Sc_Cve_Sucursal = " +
                                                         LiteralTexto(pedido.sucursal) + " ORDER BY Al_Cve_Almacen");
    for (const std::string& almacen : almacenes) {
        const auto linea = FacturaAlmacen(*conexion, pedido, almacen);
        if (!linea) continue;
        if (linea->contains("error")) estado = 1;
        salida << linea->dump() << std::endl;  // each invoice is reported as soon as it is issued
    }
    return estado;
}

}  // namespace qivera
