#include "qivera/signing/cfdi.hpp"
#include "qivera/cfdi/sustitucion.hpp"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "qivera/printing/legible.hpp"
#include "qivera/printing/trazabilidad.hpp"

namespace qivera {

namespace {

using kx204::host::Currency;
using Centavos = std::int64_t;
using Millonesimas = std::int64_t;
constexpr Millonesimas kMillonesimasPorCentavo = 10000;

Centavos EnCentavos(Currency importe) { return AlCentavo(importe).Scaled() / (Currency::kScale / 100); }

std::string TextoCentavos(Centavos centavos) {
    const std::string signo = centavos < 0 ? "-" : "";
    const Centavos magnitud = std::llabs(centavos);
    const std::string decimales = std::to_string(magnitud % 100);
    return signo + std::to_string(magnitud / 100) + "." + (decimales.size() < 2 ? "0" : "") + decimales;
}

// Millionths as a decimal with at most six places and at least `minimos`: "27.22", "255", "0.160000".
std::string TextoMillonesimas(std::int64_t millonesimas, std::size_t minimos) {
    std::string decimales = std::to_string(millonesimas % 1000000);
    decimales.insert(0, 6 - decimales.size(), '0');
    while (decimales.size() > minimos && decimales.back() == '0') decimales.pop_back();
    return std::to_string(millonesimas / 1000000) + (decimales.empty() ? "" : "." + decimales);
}

std::int64_t EnMillonesimas(double valor) { return std::llround(valor * 1e6); }

std::string Tasa(Currency tasa) { return TextoMillonesimas(tasa.Scaled() * (1000000 / Currency::kScale), 6); }

// The unit value that, times the quantity, gives the amount: to the millionth, half up.
std::string ValorUnitario(Centavos importe, std::int64_t cantidad) {
    if (cantidad <= 0) return TextoCentavos(importe);
    const long double valor = static_cast<long double>(importe) * 1e10L / static_cast<long double>(cantidad);
    return TextoMillonesimas(static_cast<std::int64_t>(std::llroundl(valor)), 2);
}

std::string Descripcion(const RenglonGuardado& renglon) {
    std::string descripcion = renglon.concepto;
    if (!renglon.talla.empty()) descripcion += " Talla " + renglon.talla;
    if (!renglon.color.empty()) descripcion += " Color " + renglon.color;
    return descripcion;
}

// The customs declarations of a line's lots, as the SAT writes them: "26  47  3807  6000031".
std::vector<std::string> Pedimentos(const std::string& lotes) {
    std::vector<std::string> pedimentos;
    for (const std::string& entrada : EntradasDeLotes(lotes)) {
        const std::optional<LoteGuardado> lote = LeeLote(entrada);
        std::string digitos;
        for (char c : lote ? lote->pedimento : std::string())
            if (c >= '0' && c <= '9') digitos += c;
        if (digitos.size() != 15) continue;
        const std::string pedimento =
            digitos.substr(0, 2) + "  " + digitos.substr(2, 2) + "  " + digitos.substr(4, 4) + "  " + digitos.substr(8);
        if (std::find(pedimentos.begin(), pedimentos.end(), pedimento) == pedimentos.end())
            pedimentos.push_back(pedimento);
    }
    return pedimentos;
}

// The tax on `base` at `tasa`, exact: cents times ten-thousandths are millionths.
Millonesimas ImpuestoExacto(Centavos base, Currency tasa) { return base * tasa.Scaled(); }

// Millionths to the cent, half away from zero: the one rounding a tax gets, where the document adds them up.
Centavos AlCentavoDe(Millonesimas importe) {
    const Millonesimas magnitud = std::llabs(importe);
    const Centavos centavos = (magnitud + kMillonesimasPorCentavo / 2) / kMillonesimasPorCentavo;
    return importe < 0 ? -centavos : centavos;
}

// A transfer of one tax: its kind and rate name the document's group it adds to. A concept's tax is
// kept in millionths, as the SAT lets a concept carry it; the document's sums are rounded to the cent.
struct Traslado {
    std::string impuesto, tipoFactor;
    Currency tasa;
    Centavos base = 0;
    Millonesimas importe = 0;
};

using Grupo = std::tuple<std::string, std::string, std::int64_t>;

Grupo GrupoDe(const Traslado& t) { return {t.impuesto, t.tipoFactor, t.tasa.Scaled()}; }

NodoXml NodoTraslado(const Traslado& t, const std::string& importe) {
    NodoXml nodo{
        "cfdi:Traslado", {{"Base", TextoCentavos(t.base)}, {"Impuesto", t.impuesto}, {"TipoFactor", t.tipoFactor}}, {}};
    if (t.tipoFactor != "Exento") {
        nodo.Pon("TasaOCuota", Tasa(t.tasa));
        nodo.Pon("Importe", importe);
    }
    return nodo;
}

// A concept being made: what it says, and its amounts in cents, which the books' totals may still move.
struct Pieza {
    NodoXml nodo;               // its keys and description; the amounts are written last
    std::int64_t cantidad = 0;  // millionths
    Centavos importe = 0, descuento = 0;
    std::string objetoImp;
    std::vector<Traslado> traslados;
    std::vector<NodoXml> aduana;
};

// The millionths a tax on `base` may take within the SAT's tolerance: the base read as ±half a cent,
// the low end truncated and the high end rounded up to the cent.
std::pair<Millonesimas, Millonesimas> Admitidos(const Traslado& t) {
    const std::int64_t escala = 2 * kMillonesimasPorCentavo;
    const std::int64_t bajo = (2 * t.base - 1) * t.tasa.Scaled(), alto = (2 * t.base + 1) * t.tasa.Scaled();
    const auto piso = [&](std::int64_t n) { return n >= 0 ? n / escala : -((-n + escala - 1) / escala); };
    return {piso(bajo) * kMillonesimasPorCentavo, -piso(-alto) * kMillonesimasPorCentavo};
}

Traslado TrasladoDe(const ImpuestoSat& sat, Centavos base) {
    return {sat.impuesto, sat.tipoFactor, sat.tasa, base,
            sat.tipoFactor == "Exento" ? 0 : ImpuestoExacto(base, sat.tasa)};
}

// A note of a global invoice as the SAT's guide asks: one sale ("Venta", an activity, ACT), its folio
// as the identification, its own amounts, discount and taxes.
Pieza ConceptoDeNota(const NotaGlobal& nota, const DatosCfdi& datos) {
    Pieza pieza{NodoXml{"cfdi:Concepto",
                        {{"ClaveProdServ", "01010101"},
                         {"NoIdentificacion", nota.folio},
                         {"Cantidad", "1"},
                         {"ClaveUnidad", "ACT"},
                         {"Descripcion", "Venta"}},
                        {}},
                1000000,
                EnCentavos(nota.importe),
                EnCentavos(nota.descuento),
                "01",
                {},
                {}};
    for (const auto& [clave, base] : nota.bases)
        if (const auto impuesto = datos.impuestos.find(clave); impuesto != datos.impuestos.end())
            pieza.traslados.push_back(TrasladoDe(impuesto->second, EnCentavos(base)));
    if (!pieza.traslados.empty()) pieza.objetoImp = "02";
    return pieza;
}

Pieza Concepto(const RenglonGuardado& renglon, Centavos descuento, const DatosCfdi& datos) {
    const ProductoSat& producto = datos.productos.at(renglon.producto);
    const Centavos neto = EnCentavos(renglon.importe);
    Pieza pieza{NodoXml{"cfdi:Concepto", {{"ClaveProdServ", producto.claveProdServ}}, {}},
                EnMillonesimas(renglon.cantidad1),
                neto + descuento,
                descuento,
                producto.objetoImpuesto,
                {},
                {}};
    pieza.nodo.Pon("NoIdentificacion", renglon.producto);
    pieza.nodo.Pon("Cantidad", TextoMillonesimas(pieza.cantidad, 0));
    pieza.nodo.Pon("ClaveUnidad", producto.claveUnidad);
    if (!renglon.unidad1.empty()) pieza.nodo.Pon("Unidad", renglon.unidad1);
    pieza.nodo.Pon("Descripcion", Descripcion(renglon));
    const auto impuesto = datos.impuestos.find(renglon.impuesto);
    const bool gravado = producto.objetoImpuesto == "02" && impuesto != datos.impuestos.end();
    // A product that is an object of tax, on a line that carries none, is declared as not an object of it.
    if (producto.objetoImpuesto == "02" && !gravado) pieza.objetoImp = "01";
    if (gravado) pieza.traslados.push_back(TrasladoDe(impuesto->second, neto));
    for (const std::string& pedimento : Pedimentos(renglon.lotes))
        pieza.aduana.push_back(NodoXml{"cfdi:InformacionAduanera", {{"NumeroPedimento", pedimento}}, {}});
    return pieza;
}

template <class Campo>
Pieza& Mayor(std::vector<Pieza>& piezas, Campo campo) {
    return *std::max_element(piezas.begin(), piezas.end(),
                             [&](const Pieza& a, const Pieza& b) { return campo(a) < campo(b); });
}

// Moves a concept's amount, or its discount, by `centavos`, and its first tax's base with it.
void Mueve(Pieza& pieza, Centavos centavos, Centavos& campo, int signoBase) {
    campo += centavos;
    if (pieza.traslados.empty()) return;
    Traslado& traslado = pieza.traslados.front();
    traslado.base += signoBase * centavos;
    if (traslado.tipoFactor != "Exento") traslado.importe = ImpuestoExacto(traslado.base, traslado.tasa);
}

// The concepts' taxes of one group, which the document shows as one amount to the cent.
struct TrasladosDeGrupo {
    std::vector<Traslado*> miembros;

    Millonesimas Suma() const {
        Millonesimas suma = 0;
        for (const Traslado* t : miembros) suma += t->importe;
        return suma;
    }
    // Moves the group's amount one cent up or down, if the members' tolerances allow it.
    bool MueveUnCentavo(int paso) {
        const Centavos meta = AlCentavoDe(Suma()) + paso;
        // The sum that rounds to `meta`, nearest to where it is now.
        const Millonesimas limite = paso > 0 ? meta * kMillonesimasPorCentavo - kMillonesimasPorCentavo / 2
                                             : meta * kMillonesimasPorCentavo + kMillonesimasPorCentavo / 2 - 1;
        Millonesimas falta = limite - Suma(), cabe = 0;
        for (const Traslado* t : miembros) {
            const auto [desde, hasta] = Admitidos(*t);
            cabe += paso > 0 ? hasta - t->importe : desde - t->importe;
        }
        if (paso > 0 ? cabe < falta : cabe > falta) return false;
        for (Traslado* t : miembros) {
            const auto [desde, hasta] = Admitidos(*t);
            const Millonesimas tramo =
                paso > 0 ? std::min(falta, hasta - t->importe) : std::max(falta, desde - t->importe);
            t->importe += tramo;
            falta -= tramo;
        }
        return true;
    }
};

// What the document shows of the taxes: each group's sum rounded to the cent, added up.
Centavos ImpuestosRedondeados(const std::map<Grupo, TrasladosDeGrupo>& grupos) {
    Centavos total = 0;
    for (const auto& [clave, grupo] : grupos) total += AlCentavoDe(grupo.Suma());
    return total;
}

// The CFDI carries the books: its SubTotal, Descuento and Total are the stored invoice's to the cent.
// Each concept is rounded to the cent on its own; the cents that rounding lost go back to the largest
// concept. Each concept's tax is the books' own, in millionths, within its SAT tolerance; what the
// groups' rounding still leaves apart from the books moves a cent at a time inside those tolerances.
// Books whose totals are more than rounding away from their lines are not the lines' to mend: the
// concepts then add up on their own.
void Cuadra(std::vector<Pieza>& piezas, const FacturaGuardada& factura) {
    if (piezas.empty()) return;
    const auto suma = [&](auto campo) {
        Centavos total = 0;
        for (const Pieza& pieza : piezas) total += campo(pieza);
        return total;
    };
    const auto redondeo = [&](Centavos diferencia) { return DifierePorRedondeo(diferencia, piezas.size()); };
    const Centavos subtotal = EnCentavos(factura.subtotal), descuento = EnCentavos(factura.descuento);
    const Centavos dSubtotal = subtotal - suma([](const Pieza& p) { return p.importe; });
    const Centavos dDescuento = descuento - suma([](const Pieza& p) { return p.descuento; });
    if (!redondeo(dSubtotal) || !redondeo(dDescuento)) return;
    Pieza& mayor = Mayor(piezas, [](const Pieza& p) { return p.importe; });
    Mueve(mayor, dSubtotal, mayor.importe, 1);
    Pieza& descontada = Mayor(piezas, [](const Pieza& p) { return p.descuento; });
    Mueve(descontada, dDescuento, descontada.descuento, -1);
    std::map<Grupo, TrasladosDeGrupo> grupos;
    for (Pieza& pieza : piezas)
        for (Traslado& traslado : pieza.traslados)
            if (traslado.tipoFactor != "Exento") grupos[GrupoDe(traslado)].miembros.push_back(&traslado);
    Centavos faltan = EnCentavos(factura.total) - subtotal + descuento - ImpuestosRedondeados(grupos);
    if (!redondeo(faltan)) return;
    while (faltan != 0) {
        const int paso = faltan > 0 ? 1 : -1;
        const auto movido =
            std::find_if(grupos.begin(), grupos.end(), [&](auto& grupo) { return grupo.second.MueveUnCentavo(paso); });
        if (movido == grupos.end()) return;
        faltan -= paso;
    }
}

// What the concepts add up to.
struct Sumas {
    Centavos subtotal = 0, descuento = 0;
    std::map<Grupo, Traslado> traslados;
};

NodoXml Escribe(Pieza pieza, Sumas& sumas) {
    NodoXml& concepto = pieza.nodo;
    concepto.Pon("ValorUnitario", ValorUnitario(pieza.importe, pieza.cantidad));
    concepto.Pon("Importe", TextoCentavos(pieza.importe));
    if (pieza.descuento != 0) concepto.Pon("Descuento", TextoCentavos(pieza.descuento));
    concepto.Pon("ObjetoImp", pieza.objetoImp);
    sumas.subtotal += pieza.importe;
    sumas.descuento += pieza.descuento;
    NodoXml traslados{"cfdi:Traslados", {}, {}};
    for (const Traslado& t : pieza.traslados) {
        traslados.hijos.push_back(NodoTraslado(t, TextoMillonesimas(t.importe, 2)));
        Traslado& grupo = sumas.traslados[GrupoDe(t)];
        grupo = {t.impuesto, t.tipoFactor, t.tasa, grupo.base + t.base, grupo.importe + t.importe};
    }
    if (!traslados.hijos.empty()) concepto.hijos.push_back(NodoXml{"cfdi:Impuestos", {}, {traslados}});
    for (NodoXml& aduana : pieza.aduana) concepto.hijos.push_back(std::move(aduana));
    return concepto;
}

// The global discount in cents, shared in proportion to the lines' amounts.
std::vector<Centavos> Descuentos(const FacturaGuardada& factura) {
    std::vector<Centavos> partes(factura.renglones.size(), 0);
    const Centavos descuento = EnCentavos(factura.descuento);
    if (descuento == 0 || partes.empty()) return partes;
    std::vector<Currency> pesos;
    for (const RenglonGuardado& renglon : factura.renglones) pesos.push_back(renglon.importe);
    // Split works in ten-thousandths: counting cents as such keeps every part a whole cent.
    const std::vector<Currency> repartido = Currency::Split(Currency::FromScaled(descuento), pesos);
    for (std::size_t i = 0; i < partes.size(); ++i) partes[i] = repartido[i].Scaled();
    return partes;
}

NodoXml Impuestos(const Sumas& sumas, Centavos& total) {
    NodoXml traslados{"cfdi:Traslados", {}, {}};
    Centavos trasladados = 0;
    bool hayImporte = false;
    for (const auto& [grupo, traslado] : sumas.traslados) {
        const Centavos importe = AlCentavoDe(traslado.importe);
        traslados.hijos.push_back(NodoTraslado(traslado, TextoCentavos(importe)));
        trasladados += importe;
        hayImporte |= traslado.tipoFactor != "Exento";
    }
    total += trasladados;
    NodoXml impuestos{"cfdi:Impuestos", {}, {traslados}};
    if (hayImporte) impuestos.Pon("TotalImpuestosTrasladados", TextoCentavos(trasladados));
    return impuestos;
}

std::string DosDigitos(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

std::string FechaCfdi(const kx204::host::Date& fecha) {
    return fecha.ToIso() + "T" + DosDigitos(fecha.Hour()) + ":" + DosDigitos(fecha.Minute()) + ":" +
           DosDigitos(fecha.Second());
}

}  // namespace

bool DifierePorRedondeo(std::int64_t centavos, std::size_t conceptos) {
    return std::llabs(centavos) <= static_cast<std::int64_t>(conceptos) + 2;
}

NodoXml ComprobanteCfdi(const FacturaGuardada& factura, const DatosCfdi& datos, const kx204::host::Date& fecha,
                        const std::string& noCertificado, const std::string& certificado) {
    std::vector<Pieza> piezas;
    if (!datos.notas.empty()) {
        for (const NotaGlobal& nota : datos.notas) piezas.push_back(ConceptoDeNota(nota, datos));
    } else {
        const std::vector<Centavos> descuentos = Descuentos(factura);
        for (std::size_t i = 0; i < factura.renglones.size(); ++i)
            piezas.push_back(Concepto(factura.renglones[i], descuentos[i], datos));
    }
    Cuadra(piezas, factura);
    Sumas sumas;
    NodoXml conceptos{"cfdi:Conceptos", {}, {}};
    for (Pieza& pieza : piezas) conceptos.hijos.push_back(Escribe(std::move(pieza), sumas));
    Centavos total = sumas.subtotal - sumas.descuento;

    NodoXml comprobante{
        "cfdi:Comprobante",
        {{"xmlns:cfdi", kEspacioCfdi},
         {"xmlns:xsi", "http://www.w3.org/2001/XMLSchema-instance"},
         {"xsi:schemaLocation", std::string(kEspacioCfdi) + " http://www.sat.gob.mx/sitio_internet/cfd/4/cfdv40.xsd"},
         {"Version", "4.0"},
         {"Serie", factura.serie},
         {"Folio", std::to_string(factura.numero)},
         {"Fecha", FechaCfdi(fecha)},
         {"Sello", ""},
         {"FormaPago", datos.formaPago},
         {"NoCertificado", noCertificado},
         {"Certificado", certificado},
         {"SubTotal", TextoCentavos(sumas.subtotal)}},
        {}};
    if (sumas.descuento != 0) comprobante.Pon("Descuento", TextoCentavos(sumas.descuento));
    comprobante.Pon("Moneda", factura.moneda);
    if (factura.moneda != "MXN")
        comprobante.Pon("TipoCambio", TextoMillonesimas(EnMillonesimas(factura.tipoCambio), 0));
    if (datos.global)
        comprobante.hijos.push_back(NodoXml{
            "cfdi:InformacionGlobal",
            {{"Periodicidad", datos.global->periodicidad}, {"Meses", datos.global->meses}, {"Año", datos.global->anio}},
            {}});
    if (!datos.sustituidos.empty()) comprobante.hijos.push_back(NodoSustitucion(datos.sustituidos));
    comprobante.hijos.push_back(
        NodoXml{"cfdi:Emisor",
                {{"Rfc", datos.emisorRfc}, {"Nombre", datos.emisorNombre}, {"RegimenFiscal", datos.emisorRegimen}},
                {}});
    comprobante.hijos.push_back(NodoXml{"cfdi:Receptor",
                                        {{"Rfc", datos.receptorRfc},
                                         {"Nombre", datos.receptorNombre},
                                         {"DomicilioFiscalReceptor", datos.receptorDomicilio},
                                         {"RegimenFiscalReceptor", datos.receptorRegimen},
                                         {"UsoCFDI", datos.usoCfdi}},
                                        {}});
    comprobante.hijos.push_back(std::move(conceptos));
    if (!sumas.traslados.empty()) comprobante.hijos.push_back(Impuestos(sumas, total));
    comprobante.Pon("Total", TextoCentavos(total));
    comprobante.Pon("TipoDeComprobante", "I");
    comprobante.Pon("Exportacion", "01");
    comprobante.Pon("MetodoPago", datos.metodoPago);
    comprobante.Pon("LugarExpedicion", datos.lugarExpedicion);
    return comprobante;
}

}  // namespace qivera
