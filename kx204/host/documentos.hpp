#pragma once
#include <cstdint>
#include <string>

#include "kx204/host/currency.hpp"
#include "kx204/host/date.hpp"

namespace kx204::host {

// The invoice header the screen hands to the invoice document; fields it does not fill stay empty.
struct EncabezadoFactura {
    Date fecha;
    std::string tablaOrigen;
    std::string origen2;
    std::string referencia;
    std::string comentario;
    bool credito = false;
    Date vencimiento;
    std::string moneda;
    double tipoCambio = 0;
    std::string folio;    // assigned by the document
    std::string factura;  // the invoice number text
    std::string serie;
    std::int32_t numero = 0;
    std::string sucursal;
    std::string almacen;
    std::string cliente;
    std::string vendedor;
};

// A list text carried by an invoice line (lots or serial numbers).
struct ListaRenglon {
    std::string lista;
};

// One invoice detail line.
struct RenglonFactura {
    std::string renglon;  // assigned by the document: "0001", "0002"…
    std::string producto;
    std::string concepto;
    std::string talla;
    std::string color;
    double cantidad1 = 0;
    std::string unidad1;
    double cantidad2 = 0;
    std::string unidad2;
    double precioUnitario = 0;  // the line's amount over its first quantity, unrounded
    ListaRenglon series;
    ListaRenglon lotes;
};

// The fixed fee of the line about to be appended.
struct Cuota {
    double CuotaFija = 0;
};

// The host's invoice document: assigns the folio and the line numbers, validates
// each line and stores the invoice on the shared connection, inside the caller's transaction.
class DocumentoFactura {
public:
    virtual ~DocumentoFactura() = default;
    virtual std::string MensajeError() = 0;
    virtual EncabezadoFactura ObtenEncabezado() = 0;
    virtual void AsignaEncabezado(const EncabezadoFactura& encabezado) = 0;
    // The line last appended, until the next one is.
    virtual const RenglonFactura& ObtenRenglon() = 0;
    virtual void AgregaRenglon(const RenglonFactura& renglon) = 0;
    virtual void Inicializa() = 0;
    [[nodiscard]] virtual bool Graba(const std::string& folio) = 0;
    [[nodiscard]] virtual bool RenglonCorrecto() = 0;
    [[nodiscard]] virtual bool Aplica(const std::string& folio, bool afecta) = 0;
    virtual void AsignaCuota(const Cuota& cuota) = 0;
};

// One payment of a receivable.
struct AbonoCxc {
    std::string cxcFolio;
    Date fecha;
    std::string tabla;
    std::string documento;
    std::string factura;
    std::string comentario;
    Currency importe;
    std::string formaPago;
    std::string moneda;
    double tipoCambio = 0;
};

// An amount of a receivable: what it was, what is owed, what was paid.
struct SaldoCxc {
    Currency importe, saldo, abonado;
};

// A receivable.
struct CuentaCxc {
    std::string folio;  // assigned by the service
    Date fecha;
    Date vencimiento;
    std::string tabla;
    std::string documento;
    std::string factura;
    std::string comentario;
    std::string sucursal;
    std::string cliente;
    SaldoCxc precioDescontado;
    SaldoCxc impuesto;
    SaldoCxc precioNeto;
    std::string moneda;
    double tipoCambio = 0;
};

// One tax balance of the receivable last created: what it was, what was paid, what is owed.
struct ImpuestoCxc {
    std::string impuesto;
    Currency importe, abonado, saldo;
};

// The host's mail component.
class Correo {
public:
    virtual ~Correo() = default;
    virtual std::string MensajeError() = 0;
    [[nodiscard]] virtual bool EnviaDocumento(const std::string& tabla, const std::string& folio, int a, int b, int c,
                                const std::string& texto) = 0;
};

}  // namespace kx204::host
