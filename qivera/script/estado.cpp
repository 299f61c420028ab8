#include "qivera/script/guion.hpp"

namespace qivera {

using json = nlohmann::ordered_json;
namespace host = kx204::host;

namespace {

json Campos(const kx204::frmKX204& pantalla) {
    json campos = json::object();
    for (const host::Control* control : pantalla.Contenido()) {
        if (const auto* campo = dynamic_cast<const host::CampoTexto*>(control)) {
            campos[campo->Nombre()] = {
                {"text", campo->Text()}, {"enabled", campo->Enabled()}, {"locked", campo->Locked()}};
        } else if (const auto* fecha = dynamic_cast<const host::SelectorFecha*>(control)) {
            campos[fecha->Nombre()] = {
                {"text", fecha->Value().ToIso()}, {"enabled", fecha->Enabled()}, {"locked", false}};
        } else if (const auto* serie = dynamic_cast<const host::CampoSerie*>(control)) {
            campos[serie->Nombre()] = {{"text", serie->Factura()},  {"enabled", serie->Enabled()},
                                       {"locked", serie->Locked()}, {"sucursal", serie->Sucursal()},
                                       {"serie", serie->Serie()},   {"numero", serie->Numero()}};
        }
    }
    return campos;
}

json Casillas(const kx204::frmKX204& pantalla) {
    json casillas = json::object();
    for (const host::Control* control : pantalla.Contenido())
        if (const auto* casilla = dynamic_cast<const host::CasillaVerificacion*>(control))
            casillas[casilla->Nombre()] = {
                {"value", casilla->Value()}, {"caption", casilla->Caption()}, {"enabled", casilla->Enabled()}};
    return casillas;
}

json Barra(const host::BarraHerramientas& barra) {
    return {{"nuevo", barra.NuevoDocumento()},
            {"captions", {{"b1", barra.CaptionBoton(1)}, {"b2", barra.CaptionBoton(2)}, {"b3", barra.CaptionBoton(3)}}},
            {"enabled",
             {{"imprimir", barra.Habilitado(host::ComandoBarra::Imprimir)},
              {"visor", barra.Habilitado(host::ComandoBarra::Visor)},
              {"eliminar", barra.Habilitado(host::ComandoBarra::Eliminar)}}}};
}

json ListaNotas(const host::Lista& lista) {
    json columnas = json::array(), items = json::array();
    for (const auto& columna : lista.Columnas()) columnas.push_back(columna.caption);
    for (int i = 0; i < lista.Count(); ++i) {
        const host::ItemLista& item = lista.Item(i);
        items.push_back(
            {{"text", item.text}, {"sub", item.sub}, {"checked", item.checked}, {"selected", item.selected}});
    }
    return {{"columns", columnas},
            {"items", items},
            {"sort",
             {{"key", lista.SortKey()},
              {"sorted", lista.Sorted()},
              {"order", lista.SortOrder() == host::Orden::Ascendente ? "ascending" : "descending"}}}};
}

double Importe(const host::CampoTexto& campo) { return campo.Value().ToCurrency().ToDouble(); }

}  // namespace

json EstadoPantalla(const kx204::frmKX204& p) {
    return {{"event", "state"},
            {"fields", Campos(p)},
            {"focus", p.Foco() != nullptr ? p.Foco()->Nombre() : ""},
            {"tab", p.ssTabQvr.Tab()},
            {"toolbar", Barra(p.Controles)},
            {"checks", Casillas(p)},
            {"list", ListaNotas(p.lvNotas)},
            {"totals",
             {{"txtSuma", Importe(p.txtSuma)},
              {"txtDescuento_Global", Importe(p.txtDescuento_Global)},
              {"txtSubtotal", Importe(p.txtSubtotal)},
              {"txtImpuestos", Importe(p.txtImpuestos)},
              {"txtTotal", Importe(p.txtTotal)}}}};
}

}  // namespace qivera
