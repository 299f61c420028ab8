#include "qivera/signing/cfdi.hpp"

#include <cmath>
#include <map>
#include <tuple>

#include "qivera/printing/legible.hpp"
#include "qivera/printing/trazabilidad.hpp"

namespace qivera {

namespace {

using kx204::host::Currency;
using Centavos = std::int64_t;

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

std::int64_t Millonesimas(double valor) { return std::llround(valor * 1e6); }

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

// The tax on `base` at `tasa`, rounded once, to the cent, half away from zero.
Centavos ImpuestoEnCentavos(Centavos base, Currency tasa) {
    const std::int64_t producto = base * tasa.Scaled();  // cents times ten-thousandths
    const std::int64_t cociente = producto / Currency::kScale, resto = producto % Currency::kScale;
    if (2 * std::llabs(resto) < Currency::kScale) return cociente;
    return cociente + (producto < 0 ? -1 : 1);
}

// A transfer of one tax: its kind and rate name the document's group it adds to.
struct Traslado {
    std::string impuesto, tipoFactor;
    Currency tasa;
    Centavos base = 0, importe = 0;
};

using Grupo = std::tuple<std::string, std::string, std::int64_t>;

NodoXml NodoTraslado(const Traslado& t) {
    NodoXml nodo{
        "cfdi:Traslado", {{"Base", TextoCentavos(t.base)}, {"Impuesto", t.impuesto}, {"TipoFactor", t.tipoFactor}}, {}};
    if (t.tipoFactor != "Exento") {
        nodo.Pon("TasaOCuota", Tasa(t.tasa));
        nodo.Pon("Importe", TextoCentavos(t.importe));
    }
    return nodo;
}

// What the concepts add up to.
struct Sumas {
    Centavos subtotal = 0, descuento = 0;
    std::map<Grupo, Traslado> traslados;
};

// A concept's transfer of a tax over `base`, added to the document's group of its kind and rate.
NodoXml Traslada(const ImpuestoSat& sat, Centavos base, Sumas& sumas) {
    const Traslado traslado{sat.impuesto, sat.tipoFactor, sat.tasa, base,
                            sat.tipoFactor == "Exento" ? 0 : ImpuestoEnCentavos(base, sat.tasa)};
    Traslado& grupo = sumas.traslados[{sat.impuesto, sat.tipoFactor, sat.tasa.Scaled()}];
    grupo = {sat.impuesto, sat.tipoFactor, sat.tasa, grupo.base + traslado.base, grupo.importe + traslado.importe};
    return NodoTraslado(traslado);
}

// A note of a global invoice as the SAT's guide asks: one sale ("Venta", an activity, ACT), its folio
// as the identification, its own amounts, discount and taxes.
NodoXml ConceptoDeNota(const NotaGlobal& nota, const DatosCfdi& datos, Sumas& sumas) {
    const Centavos importe = EnCentavos(nota.importe), descuento = EnCentavos(nota.descuento);
    NodoXml concepto{"cfdi:Concepto",
                     {{"ClaveProdServ", "01010101"},
                      {"NoIdentificacion", nota.folio},
                      {"Cantidad", "1"},
                      {"ClaveUnidad", "ACT"},
                      {"Descripcion", "Venta"},
                      {"ValorUnitario", TextoCentavos(importe)},
                      {"Importe", TextoCentavos(importe)}},
                     {}};
    if (descuento != 0) concepto.Pon("Descuento", TextoCentavos(descuento));
    sumas.subtotal += importe;
    sumas.descuento += descuento;
    NodoXml traslados{"cfdi:Traslados", {}, {}};
    for (const auto& [clave, base] : nota.bases)
        if (const auto impuesto = datos.impuestos.find(clave); impuesto != datos.impuestos.end())
            traslados.hijos.push_back(Traslada(impuesto->second, EnCentavos(base), sumas));
    concepto.Pon("ObjetoImp", traslados.hijos.empty() ? "01" : "02");
    if (!traslados.hijos.empty()) concepto.hijos.push_back(NodoXml{"cfdi:Impuestos", {}, {traslados}});
    return concepto;
}

NodoXml Concepto(const RenglonGuardado& renglon, Centavos descuento, const DatosCfdi& datos, Sumas& sumas) {
    const ProductoSat& producto = datos.productos.at(renglon.producto);
    const Centavos neto = EnCentavos(renglon.importe), importe = neto + descuento;
    const std::int64_t cantidad = Millonesimas(renglon.cantidad1);
    NodoXml concepto{"cfdi:Concepto",
                     {{"ClaveProdServ", producto.claveProdServ},
                      {"NoIdentificacion", renglon.producto},
                      {"Cantidad", TextoMillonesimas(cantidad, 0)},
                      {"ClaveUnidad", producto.claveUnidad}},
                     {}};
    if (!renglon.unidad1.empty()) concepto.Pon("Unidad", renglon.unidad1);
    concepto.Pon("Descripcion", Descripcion(renglon));
    concepto.Pon("ValorUnitario", ValorUnitario(importe, cantidad));
    concepto.Pon("Importe", TextoCentavos(importe));
    if (descuento != 0) concepto.Pon("Descuento", TextoCentavos(descuento));
    sumas.subtotal += importe;
    sumas.descuento += descuento;
    const auto impuesto = datos.impuestos.find(renglon.impuesto);
    const bool gravado = producto.objetoImpuesto == "02" && impuesto != datos.impuestos.end();
    // A product that is an object of tax, on a line that carries none, is declared as not an object of it.
    concepto.Pon("ObjetoImp", producto.objetoImpuesto == "02" && !gravado ? "01" : producto.objetoImpuesto);
    if (gravado)
        concepto.hijos.push_back(
            NodoXml{"cfdi:Impuestos", {}, {NodoXml{"cfdi:Traslados", {}, {Traslada(impuesto->second, neto, sumas)}}}});
    for (const std::string& pedimento : Pedimentos(renglon.lotes))
        concepto.hijos.push_back(NodoXml{"cfdi:InformacionAduanera", {{"NumeroPedimento", pedimento}}, {}});
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
        traslados.hijos.push_back(NodoTraslado(traslado));
        trasladados += traslado.importe;
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

NodoXml ComprobanteCfdi(const FacturaGuardada& factura, const DatosCfdi& datos, const kx204::host::Date& fecha,
                        const std::string& noCertificado, const std::string& certificado) {
    Sumas sumas;
    NodoXml conceptos{"cfdi:Conceptos", {}, {}};
    if (!datos.notas.empty()) {
        for (const NotaGlobal& nota : datos.notas) conceptos.hijos.push_back(ConceptoDeNota(nota, datos, sumas));
    } else {
        const std::vector<Centavos> descuentos = Descuentos(factura);
        for (std::size_t i = 0; i < factura.renglones.size(); ++i)
            conceptos.hijos.push_back(Concepto(factura.renglones[i], descuentos[i], datos, sumas));
    }
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
    if (factura.moneda != "MXN") comprobante.Pon("TipoCambio", TextoMillonesimas(Millonesimas(factura.tipoCambio), 0));
    if (datos.global)
        comprobante.hijos.push_back(NodoXml{
            "cfdi:InformacionGlobal",
            {{"Periodicidad", datos.global->periodicidad}, {"Meses", datos.global->meses}, {"Año", datos.global->anio}},
            {}});
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
