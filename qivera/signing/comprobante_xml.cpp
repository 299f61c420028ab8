#include "qivera/signing/comprobante_xml.hpp"

#include <array>
#include <charconv>

namespace qivera {

namespace {

std::string Escapa(const std::string& texto) {
    std::string escapado;
    escapado.reserve(texto.size());
    for (const char c : texto) {
        switch (c) {
            case '&':
                escapado += "&amp;";
                break;
            case '<':
                escapado += "&lt;";
                break;
            case '>':
                escapado += "&gt;";
                break;
            // A parser would turn a bare carriage return into a line feed.
            case '\r':
                escapado += "&#13;";
                break;
            default:
                // XML 1.0 cannot carry the other control characters at all.
                if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n') escapado += c;
        }
    }
    return escapado;
}

// Fixed decimals without the C library, whose decimal point follows the process's locale.
std::string Fijo(double valor, int decimales) {
    std::array<char, 64> texto{};
    const auto [fin, error] =
        std::to_chars(texto.data(), texto.data() + texto.size(), valor, std::chars_format::fixed, decimales);
    return error == std::errc() ? std::string(texto.data(), fin) : std::string();
}

class Escritor {
public:
    void Abre(const char* nombre) { xml_ += std::string("<") + nombre + ">"; }
    void Cierra(const char* nombre) { xml_ += std::string("</") + nombre + ">"; }
    void Elemento(const char* nombre, const std::string& texto) {
        Abre(nombre);
        xml_ += Escapa(texto);
        Cierra(nombre);
    }
    std::string& Texto() { return xml_; }

private:
    std::string xml_ = R"(<?xml version="1.0" encoding="UTF-8"?>)";
};

void Concepto(Escritor& x, const RenglonGuardado& r) {
    x.Abre("Concepto");
    x.Elemento("Renglon", r.renglon);
    x.Elemento("Producto", r.producto);
    x.Elemento("Descripcion", r.concepto);
    x.Elemento("Talla", r.talla);
    x.Elemento("Color", r.color);
    x.Elemento("Cantidad", TextoCantidad(r.cantidad1));
    x.Elemento("Unidad", r.unidad1);
    x.Elemento("Cantidad2", TextoCantidad(r.cantidad2));
    x.Elemento("Unidad2", r.unidad2);
    x.Elemento("ValorUnitario", TextoDecimal(r.precioUnitario));
    x.Elemento("CuotaFija", TextoDecimal(r.cuotaFija));
    x.Elemento("Importe", TextoDecimal(r.importe));
    x.Elemento("Impuesto", r.impuesto);
    x.Elemento("ImporteImpuesto", TextoDecimal(r.impuestoImporte));
    x.Elemento("Lotes", r.lotes);
    x.Elemento("Series", r.series);
    x.Cierra("Concepto");
}

}  // namespace

std::string ComprobanteXml(const FacturaGuardada& f, const std::string& baseDatos) {
    Escritor x;
    x.Abre("Comprobante");
    x.Elemento("BaseDatos", baseDatos);
    x.Elemento("Folio", f.folio);
    x.Elemento("Factura", f.factura);
    x.Elemento("Serie", f.serie);
    x.Elemento("Numero", std::to_string(f.numero));
    x.Elemento("Fecha", f.fecha.ToIso());
    x.Elemento("Moneda", f.moneda);
    x.Elemento("TipoCambio", Fijo(f.tipoCambio, 6));
    x.Elemento("CondicionVenta", f.condicionVenta);
    x.Abre("Emisor");
    x.Elemento("Sucursal", f.sucursal);
    x.Elemento("Nombre", f.sucursalNombre);
    x.Elemento("Direccion", f.sucursalDireccion);
    x.Elemento("Almacen", f.almacen);
    x.Cierra("Emisor");
    x.Abre("Receptor");
    x.Elemento("Cliente", f.cliente);
    x.Elemento("Nombre", f.clienteNombre);
    x.Elemento("Rfc", f.clienteRfc);
    x.Elemento("Direccion", f.clienteDireccion);
    x.Cierra("Receptor");
    x.Abre("Conceptos");
    for (const RenglonGuardado& renglon : f.renglones) Concepto(x, renglon);
    x.Cierra("Conceptos");
    x.Elemento("Subtotal", TextoDecimal(f.subtotal));
    x.Elemento("Descuento", TextoDecimal(f.descuento));
    x.Elemento("Impuesto", TextoDecimal(f.impuesto));
    x.Elemento("Total", TextoDecimal(f.total));
    x.Cierra("Comprobante");
    return std::move(x.Texto());
}

}  // namespace qivera
