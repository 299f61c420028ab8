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
};

// Digits with an optional point: what the schema lets through.
Decimal Lee(const std::string& texto) {
    Decimal numero;
    bool fraccion = false;
    for (const char c : texto) {
        if (c == '.') {
            fraccion = true;
            continue;
        }
        numero.valor = numero.valor * 10 + (c - '0');
        if (fraccion) ++numero.escala;
    }
    return numero;
}

Entero Escalado(Decimal numero, int escala) { return numero.valor * Potencia(escala - numero.escala); }
int Comun(Decimal a, Decimal b) { return std::max(a.escala, b.escala); }
Decimal operator+(Decimal a, Decimal b) { return {Escalado(a, Comun(a, b)) + Escalado(b, Comun(a, b)), Comun(a, b)}; }
Decimal operator-(Decimal a, Decimal b) { return {Escalado(a, Comun(a, b)) - Escalado(b, Comun(a, b)), Comun(a, b)}; }
Decimal operator*(Decimal a, Decimal b) { return {a.valor * b.valor, a.escala + b.escala}; }
bool operator<(Decimal a, Decimal b) { return Escalado(a, Comun(a, b)) < Escalado(b, Comun(a, b)); }
bool operator==(Decimal a, Decimal b) { return Escalado(a, Comun(a, b)) == Escalado(b, Comun(a, b)); }

enum class Modo { Trunca, Redondea, HaciaArriba };

// To `decimales` places; rounding takes halves away from zero.
Decimal Ajusta(Decimal numero, int decimales, Modo modo) {
    if (numero.escala <= decimales) return {Escalado(numero, decimales), decimales};
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
    do {
        digitos.insert(digitos.begin(), static_cast<char>('0' + static_cast<int>(resto % 10)));
        resto /= 10;
    } while (resto > 0);
    const auto escala = static_cast<std::size_t>(numero.escala);
    if (digitos.size() <= escala) digitos.insert(0, escala + 1 - digitos.size(), '0');
    if (escala > 0) digitos.insert(digitos.size() - escala, ".");
    return (numero.valor < 0 ? "-" : "") + digitos;
}

// The values a written number may stand for, as the SAT bounds them: half a unit of its last place either
// way, the upper end just short of it.
struct Intervalo {
    Decimal minimo, maximo;
};

Intervalo Redondeado(Decimal numero) {
    const Decimal medio{5, numero.escala + 1}, casiNada{1, 12};
    return {numero - medio, numero + medio - casiNada};
}

Intervalo Exacto(Decimal numero) { return {numero, numero}; }

// The amounts accepted for a product: the low end truncated and the high end rounded up to the currency's decimals.
Intervalo Aceptados(Intervalo a, Intervalo b, int decimales) {
    return {Ajusta(a.minimo * b.minimo, decimales, Modo::Trunca),
            Ajusta(a.maximo * b.maximo, decimales, Modo::HaciaArriba)};
}

bool Dentro(Decimal numero, Intervalo intervalo) {
    return !(numero < intervalo.minimo) && !(intervalo.maximo < numero);
}

std::string Escribe(Intervalo intervalo) {
    return "[" + Escribe(intervalo.minimo) + ", " + Escribe(intervalo.maximo) + "]";
}

// The XML.

constexpr const char* kCfdi = "http://www.sat.gob.mx/cfd/4";

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

bool Es(const xmlNode* nodo, const char* nombre) {
    return nodo->type == XML_ELEMENT_NODE && nodo->ns && xmlStrEqual(nodo->ns->href, BAD_CAST kCfdi) &&
           xmlStrEqual(nodo->name, BAD_CAST nombre);
}

// The CFDI elements reached from `desde` through the names of `ruta`.
std::vector<const xmlNode*> Descendientes(const xmlNode* desde, std::initializer_list<const char*> ruta) {
    std::vector<const xmlNode*> nivel{desde};
    for (const char* nombre : ruta) {
        std::vector<const xmlNode*> siguiente;
        for (const xmlNode* padre : nivel)
            for (const xmlNode* hijo = padre->children; hijo; hijo = hijo->next)
                if (Es(hijo, nombre)) siguiente.push_back(hijo);
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

// The structure.

struct Esquema {
    std::unique_ptr<xmlSchema, decltype(&xmlSchemaFree)> esquema{nullptr, xmlSchemaFree};
    std::vector<std::string> errores;
};

// Compiled once for the whole run.
const Esquema& EsquemaCfdi() {
    static const Esquema compilado = [] {
        Esquema resultado;
        const std::unique_ptr<xmlSchemaParserCtxt, decltype(&xmlSchemaFreeParserCtxt)> lector(
            xmlSchemaNewParserCtxt(KX204_CFDI_XSD), xmlSchemaFreeParserCtxt);
        xmlSchemaSetParserStructuredErrors(lector.get(), Anota, &resultado.errores);
        resultado.esquema.reset(xmlSchemaParse(lector.get()));
        return resultado;
    }();
    return compilado;
}

std::vector<std::string> ErroresDeEstructura(xmlDoc* documento) {
    const Esquema& esquema = EsquemaCfdi();
    if (!esquema.esquema) return {"cfdi40.xsd does not compile"};
    std::vector<std::string> errores;
    const std::unique_ptr<xmlSchemaValidCtxt, decltype(&xmlSchemaFreeValidCtxt)> validador(
        xmlSchemaNewValidCtxt(esquema.esquema.get()), xmlSchemaFreeValidCtxt);
    xmlSchemaSetValidStructuredErrors(validador.get(), Anota, &errores);
    xmlSchemaValidateDoc(validador.get(), documento);
    return errores;
}

// The rules, on a document the schema accepts.

// From the SAT's currency catalog, for the currencies this program invoices in.
std::optional<int> DecimalesDe(const std::string& moneda) {
    static const std::map<std::string, int> decimales{{"MXN", 2}, {"USD", 2}};
    const auto encontrada = decimales.find(moneda);
    return encontrada == decimales.end() ? std::nullopt : std::optional<int>(encontrada->second);
}

// The concepts' taxes added up under "Impuesto TipoFactor TasaOCuota", as the document must show them.
struct Suma {
    Decimal base, importe;
};

std::string Clave(const xmlNode* traslado) {
    std::string clave = Valor(traslado, "Impuesto") + " " + Valor(traslado, "TipoFactor");
    if (const auto tasa = Atributo(traslado, "TasaOCuota")) clave += " " + *tasa;
    return clave;
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
        const Intervalo aceptado = Aceptados(Redondeado(Lee(cantidad)), Redondeado(Lee(unitario)), decimales_);
        if (!Dentro(Lee(importe), aceptado))
            Falla(nombre + ": Importe " + importe + " is outside " + Escribe(aceptado) + ", from Cantidad " + cantidad +
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
            return;
        }
        if (!tasa || !importe) {
            Falla(donde + " needs both TasaOCuota and Importe");
            return;
        }
        const Intervalo aceptado = Aceptados(Redondeado(Lee(base)), Exacto(Lee(*tasa)), decimales_);
        if (!Dentro(Lee(*importe), aceptado))
            Falla(donde + " Importe " + *importe + " is outside " + Escribe(aceptado) + ", from Base " + base);
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
        const auto declarados =
            impuestos.empty() ? std::nullopt : Atributo(impuestos.front(), "TotalImpuestosTrasladados");
        Decimales("TotalImpuestosTrasladados", declarados);
        Igual("TotalImpuestosTrasladados", declarados.value_or("0"), trasladados_,
              "the sum of the document's Traslado Importe");
        const Decimal total =
            Monto(comprobante_, "SubTotal") - Monto(comprobante_, "Descuento") + Lee(declarados.value_or("0"));
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
    const std::string moneda = Valor(comprobante, "Moneda");
    const auto decimales = DecimalesDe(moneda);
    if (!decimales) return {"Moneda " + moneda + ": its decimals are unknown to this checker"};
    return Revision(comprobante, moneda, *decimales).Errores();
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
