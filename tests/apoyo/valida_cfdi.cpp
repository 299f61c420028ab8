#include "apoyo/valida_cfdi.hpp"

#include <algorithm>
#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <utility>

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlschemas.h>

namespace prueba {

namespace {

// Exact decimals: money never goes through a double. A product of two six-decimal amounts, each
// widened by the SAT's tolerance, needs 24 decimals, beyond 64 bits.
__extension__ typedef __int128 Entero;

Entero Potencia(int exponente) {
    Entero potencia = 1;
    while (exponente-- > 0) potencia *= 10;
    return potencia;
}

// valor × 10^-escala, with the scale it was written with.
struct Decimal {
    Entero valor = 0;
    int escala = 0;
    Entero A(int otra) const { return valor * Potencia(otra - escala); }  // at a scale no smaller
};

// Digits with an optional point: what the schema lets through.
Decimal Lee(const std::string& texto) {
    Decimal numero;
    for (const char c : texto)
        if (c != '.') numero.valor = numero.valor * 10 + (c - '0');
    const auto punto = texto.find('.');
    numero.escala = punto == std::string::npos ? 0 : static_cast<int>(texto.size() - punto - 1);
    return numero;
}

Decimal operator+(Decimal a, Decimal b) {
    const int escala = std::max(a.escala, b.escala);
    return {a.A(escala) + b.A(escala), escala};
}
Decimal operator-(Decimal a, Decimal b) { return a + Decimal{-b.valor, b.escala}; }
Decimal operator*(Decimal a, Decimal b) { return {a.valor * b.valor, a.escala + b.escala}; }
bool operator<(Decimal a, Decimal b) { return (a - b).valor < 0; }
bool operator==(Decimal a, Decimal b) { return (a - b).valor == 0; }

enum class Modo { Trunca, Redondea, HaciaArriba };

// To `decimales` places; rounding takes halves away from zero.
Decimal Ajusta(Decimal numero, int decimales, Modo modo) {
    if (numero.escala <= decimales) return {numero.A(decimales), decimales};
    const Entero divisor = Potencia(numero.escala - decimales), resto = numero.valor % divisor;
    Entero cociente = numero.valor / divisor;
    if (modo == Modo::HaciaArriba && resto > 0) ++cociente;
    if (modo == Modo::Redondea && 2 * resto >= divisor) ++cociente;
    if (modo == Modo::Redondea && -2 * resto >= divisor) --cociente;
    return {cociente, decimales};
}

std::string Escribe(Decimal numero) {
    Entero resto = numero.valor < 0 ? -numero.valor : numero.valor;
    std::string digitos;
    for (; resto > 0 || digitos.size() <= static_cast<std::size_t>(numero.escala); resto /= 10)
        digitos.insert(digitos.begin(), static_cast<char>('0' + static_cast<int>(resto % 10)));
    if (numero.escala > 0) digitos.insert(digitos.size() - numero.escala, ".");
    return (numero.valor < 0 ? "-" : "") + digitos;
}

// The values accepted for a product of two written numbers, as the SAT bounds them: each factor stands for
// half a unit of its last place either way (the upper end just short of it) unless it is exact, the low end
// truncated and the high end rounded up to the currency's decimals.
struct Intervalo {
    Decimal minimo, maximo;
    bool Contiene(Decimal numero) const { return !(numero < minimo) && !(maximo < numero); }
    std::string Texto() const { return "[" + Escribe(minimo) + ", " + Escribe(maximo) + "]"; }
};

Intervalo Producto(Decimal a, Decimal b, bool bExacto, int decimales) {
    const auto medio = [](Decimal n) { return Decimal{5, n.escala + 1}; };
    const Decimal casiNada{1, 12}, bMedio = bExacto ? Decimal{} : medio(b);
    return {Ajusta((a - medio(a)) * (b - bMedio), decimales, Modo::Trunca),
            Ajusta((a + medio(a) - casiNada) * (b + bMedio - (bExacto ? Decimal{} : casiNada)), decimales,
                   Modo::HaciaArriba)};
}

// The XML.

std::optional<std::string> Atributo(const xmlNode* nodo, const char* nombre) {
    xmlChar* valor = xmlGetNoNsProp(nodo, BAD_CAST nombre);
    if (!valor) return std::nullopt;
    std::string texto(reinterpret_cast<const char*>(valor));
    xmlFree(valor);
    return texto;
}

// An attribute the schema makes required, or an amount that counts as zero when absent.
std::string Valor(const xmlNode* nodo, const char* nombre) { return Atributo(nodo, nombre).value_or(""); }
Decimal Monto(const xmlNode* nodo, const char* nombre) { return Lee(Atributo(nodo, nombre).value_or("0")); }

// The CFDI elements reached from `desde` through the names of `ruta`.
std::vector<const xmlNode*> Descendientes(const xmlNode* desde, std::initializer_list<const char*> ruta) {
    std::vector<const xmlNode*> nivel{desde};
    for (const char* nombre : ruta) {
        std::vector<const xmlNode*> siguiente;
        for (const xmlNode* padre : nivel)
            for (const xmlNode* hijo = padre->children; hijo; hijo = hijo->next)
                if (hijo->type == XML_ELEMENT_NODE && hijo->ns &&
                    xmlStrEqual(hijo->ns->href, BAD_CAST "http://www.sat.gob.mx/cfd/4") &&
                    xmlStrEqual(hijo->name, BAD_CAST nombre))
                    siguiente.push_back(hijo);
        nivel = std::move(siguiente);
    }
    return nivel;
}

std::string Mensaje(const xmlError* error) {
    std::string mensaje = error && error->message ? error->message : "unknown error";
    while (!mensaje.empty() && mensaje.back() == '\n') mensaje.pop_back();
    return "line " + std::to_string(error ? error->line : 0) + ": " + mensaje;
}

// A template so that the const error pointer of newer libxml2 fits too.
template <typename Error>
void Anota(void* errores, Error* error) {
    static_cast<std::vector<std::string>*>(errores)->push_back(Mensaje(error));
}

// The structure, against the schema compiled once for the whole run.
std::vector<std::string> ErroresDeEstructura(xmlDoc* documento) {
    static const std::unique_ptr<xmlSchema, decltype(&xmlSchemaFree)> esquema = [] {
        const std::unique_ptr<xmlSchemaParserCtxt, decltype(&xmlSchemaFreeParserCtxt)> lector(
            xmlSchemaNewParserCtxt(KX204_CFDI_XSD), xmlSchemaFreeParserCtxt);
        return std::unique_ptr<xmlSchema, decltype(&xmlSchemaFree)>(xmlSchemaParse(lector.get()), xmlSchemaFree);
    }();
    if (!esquema) return {"cfdi40.xsd does not compile"};
    std::vector<std::string> errores;
    const std::unique_ptr<xmlSchemaValidCtxt, decltype(&xmlSchemaFreeValidCtxt)> validador(
        xmlSchemaNewValidCtxt(esquema.get()), xmlSchemaFreeValidCtxt);
    xmlSchemaSetValidStructuredErrors(validador.get(), Anota, &errores);
    xmlSchemaValidateDoc(validador.get(), documento);
    return errores;
}

// The rules, on a document the schema accepts.

// The concepts' taxes added up under "Impuesto TipoFactor TasaOCuota", as the document must show them.
struct Suma {
    Decimal base, importe;
};

std::string Clave(const xmlNode* traslado) {
    const auto tasa = Atributo(traslado, "TasaOCuota");
    return Valor(traslado, "Impuesto") + " " + Valor(traslado, "TipoFactor") + (tasa ? " " + *tasa : "");
}

class Revision {
public:
    Revision(const xmlNode* comprobante, std::string moneda, int decimales)
        : comprobante_(comprobante), moneda_(std::move(moneda)), decimales_(decimales) {}

    std::vector<std::string> Errores() {
        TipoCambio();
        PublicoEnGeneral();
        const auto conceptos = Descendientes(comprobante_, {"Conceptos", "Concepto"});
        for (std::size_t i = 0; i < conceptos.size(); ++i) Concepto(conceptos[i], i + 1);
        ImpuestosDelComprobante();
        Totales();
        return errores_;
    }

private:
    void Falla(const std::string& mensaje) { errores_.push_back(mensaje); }

    void Decimales(const std::string& que, const std::optional<std::string>& valor) {
        if (valor && Lee(*valor).escala > decimales_)
            Falla(que + " " + *valor + " has more than the " + std::to_string(decimales_) + " decimals of " + moneda_);
    }

    void Igual(const std::string& que, const std::string& valor, Decimal esperado, const std::string& porque) {
        if (!(Lee(valor) == esperado)) Falla(que + " " + valor + " is not " + Escribe(esperado) + ", " + porque);
    }

    Decimal Redondea(Decimal numero) const { return Ajusta(numero, decimales_, Modo::Redondea); }

    void TipoCambio() {
        const auto tipoCambio = Atributo(comprobante_, "TipoCambio");
        if (moneda_ == "MXN" && tipoCambio && *tipoCambio != "1")
            Falla("Moneda MXN: TipoCambio " + *tipoCambio + " must be 1 or absent");
        if (moneda_ != "MXN" && !tipoCambio) Falla("Moneda " + moneda_ + ": TipoCambio is missing");
    }

    void PublicoEnGeneral() {
        const xmlNode* receptor = Descendientes(comprobante_, {"Receptor"}).front();
        const bool global = !Descendientes(comprobante_, {"InformacionGlobal"}).empty();
        if (Valor(receptor, "Rfc") != "XAXX010101000") {
            if (global) Falla("InformacionGlobal is only for the general public, Receptor Rfc XAXX010101000");
            return;
        }
        if (!global) Falla("general public: InformacionGlobal is missing");
        const std::pair<const char*, std::string> esperados[] = {
            {"Nombre", "PUBLICO EN GENERAL"},
            {"UsoCFDI", "S01"},
            {"RegimenFiscalReceptor", "616"},
            {"DomicilioFiscalReceptor", Valor(comprobante_, "LugarExpedicion")}};
        for (const auto& [atributo, esperado] : esperados)
            if (Valor(receptor, atributo) != esperado)
                Falla("general public: Receptor " + std::string(atributo) + " " + Valor(receptor, atributo) +
                      " is not " + esperado);
    }

    void Concepto(const xmlNode* concepto, std::size_t indice) {
        const std::string nombre =
            "concept " + Atributo(concepto, "NoIdentificacion").value_or("#" + std::to_string(indice));
        const std::string cantidad = Valor(concepto, "Cantidad"), unitario = Valor(concepto, "ValorUnitario"),
                          importe = Valor(concepto, "Importe");
        Decimales(nombre + ": Importe", importe);
        Decimales(nombre + ": Descuento", Atributo(concepto, "Descuento"));
        const Intervalo aceptado = Producto(Lee(cantidad), Lee(unitario), false, decimales_);
        if (!aceptado.Contiene(Lee(importe)))
            Falla(nombre + ": Importe " + importe + " is outside " + aceptado.Texto() + ", from Cantidad " + cantidad +
                  " times ValorUnitario " + unitario);
        importes_ = importes_ + Lee(importe);
        descuentos_ = descuentos_ + Monto(concepto, "Descuento");
        // 02 is an object of tax and declares it; 01 and the others declare none.
        const bool conImpuestos = !Descendientes(concepto, {"Impuestos"}).empty();
        if ((Valor(concepto, "ObjetoImp") == "02") != conImpuestos)
            Falla(nombre + ": ObjetoImp " + Valor(concepto, "ObjetoImp") +
                  (conImpuestos ? " yet it has Impuestos" : " without Impuestos"));
        for (const xmlNode* traslado : Descendientes(concepto, {"Impuestos", "Traslados", "Traslado"}))
            Traslado(traslado, nombre);
    }

    void Traslado(const xmlNode* traslado, const std::string& concepto) {
        const std::string donde = concepto + ": Traslado " + Clave(traslado), base = Valor(traslado, "Base");
        const auto tasa = Atributo(traslado, "TasaOCuota"), importe = Atributo(traslado, "Importe");
        Suma& suma = sumas_[Clave(traslado)];
        suma.base = suma.base + Lee(base);
        suma.importe = suma.importe + Monto(traslado, "Importe");
        if (Valor(traslado, "TipoFactor") == "Exento") {
            if (tasa || importe) Falla(donde + " is exempt yet has a TasaOCuota or an Importe");
        } else if (!tasa || !importe) {
            Falla(donde + " needs both TasaOCuota and Importe");
        } else if (const Intervalo aceptado = Producto(Lee(base), Lee(*tasa), true, decimales_);
                   !aceptado.Contiene(Lee(*importe))) {
            Falla(donde + " Importe " + *importe + " is outside " + aceptado.Texto() + ", from Base " + base);
        }
    }

    // Each group of the concepts' taxes once, to the cent, and the total of their amounts.
    void ImpuestosDelComprobante() {
        auto pendientes = sumas_;
        for (const xmlNode* traslado : Descendientes(comprobante_, {"Impuestos", "Traslados", "Traslado"})) {
            const std::string donde = "document Traslado " + Clave(traslado);
            Decimales(donde + ": Base", Atributo(traslado, "Base"));
            Decimales(donde + ": Importe", Atributo(traslado, "Importe"));
            trasladados_ = trasladados_ + Monto(traslado, "Importe");
            const auto suma = pendientes.find(Clave(traslado));
            if (suma == pendientes.end()) {
                Falla(donde + " repeats or matches no concept's Traslado");
                continue;
            }
            Igual(donde + ": Base", Valor(traslado, "Base"), Redondea(suma->second.base), "the concepts' sum");
            Igual(donde + ": Importe", Atributo(traslado, "Importe").value_or("0"), Redondea(suma->second.importe),
                  "the concepts' sum");
            pendientes.erase(suma);
        }
        for (const auto& [clave, suma] : pendientes)
            Falla("the document has no Traslado " + clave + " for the concepts' Base " + Escribe(Redondea(suma.base)));
    }

    void Totales() {
        for (const char* total : {"SubTotal", "Descuento", "Total"}) Decimales(total, Atributo(comprobante_, total));
        Igual("SubTotal", Valor(comprobante_, "SubTotal"), Redondea(importes_), "the sum of the concepts' Importe");
        Igual("Descuento", Atributo(comprobante_, "Descuento").value_or("0"), Redondea(descuentos_),
              "the sum of the concepts' Descuento");
        const auto impuestos = Descendientes(comprobante_, {"Impuestos"});
        const std::string declarados =
            impuestos.empty() ? "0" : Atributo(impuestos.front(), "TotalImpuestosTrasladados").value_or("0");
        Decimales("TotalImpuestosTrasladados", declarados);
        Igual("TotalImpuestosTrasladados", declarados, trasladados_, "the sum of the document's Traslado Importe");
        const Decimal total = Monto(comprobante_, "SubTotal") - Monto(comprobante_, "Descuento") + Lee(declarados);
        Igual("Total", Valor(comprobante_, "Total"), Redondea(total),
              "SubTotal - Descuento + TotalImpuestosTrasladados");
    }

    const xmlNode* comprobante_;
    const std::string moneda_;
    const int decimales_;
    std::vector<std::string> errores_;
    Decimal importes_, descuentos_, trasladados_;
    std::map<std::string, Suma> sumas_;
};

std::vector<std::string> ErroresDeReglas(const xmlNode* comprobante) {
    // From the SAT's currency catalog, for the currencies this program invoices in.
    static const std::map<std::string, int> kDecimales{{"MXN", 2}, {"USD", 2}};
    const std::string moneda = Valor(comprobante, "Moneda");
    const auto decimales = kDecimales.find(moneda);
    if (decimales == kDecimales.end()) return {"Moneda " + moneda + ": its decimals are unknown to this checker"};
    return Revision(comprobante, moneda, decimales->second).Errores();
}

}  // namespace

std::vector<std::string> ErroresCfdi(const std::string& xml) {
    const std::unique_ptr<xmlParserCtxt, decltype(&xmlFreeParserCtxt)> lector(xmlNewParserCtxt(), xmlFreeParserCtxt);
    const std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> documento(
        xmlCtxtReadMemory(lector.get(), xml.data(), static_cast<int>(xml.size()), nullptr, nullptr,
                          XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING),
        xmlFreeDoc);
    if (!documento) return {"not well-formed XML, " + Mensaje(xmlCtxtGetLastError(lector.get()))};
    const std::vector<std::string> errores = ErroresDeEstructura(documento.get());
    // The rules read what the schema guarantees: required attributes and plain decimals.
    if (!errores.empty()) return errores;
    return ErroresDeReglas(xmlDocGetRootElement(documento.get()));
}

}  // namespace prueba
