#pragma once
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "kx204/host/connection.hpp"
#include "kx204/host/currency.hpp"
#include "qivera/printing/factura_guardada.hpp"
#include "qivera/sesion/sesion.hpp"

namespace qivera {

// A tax as the SAT names it: c_Impuesto ("002" VAT), c_TipoFactor ("Tasa", "Cuota", "Exento") and the rate.
struct ImpuestoSat {
    std::string impuesto = "002", tipoFactor = "Tasa";
    kx204::host::Currency tasa;
};

// What a product is in the SAT's catalogs.
struct ProductoSat {
    std::string claveProdServ, claveUnidad, objetoImpuesto;
};

// A sale note a global invoice covers, which is a concept of its own: its amount before the global
// discount, that discount, and per tax key (empty for lines without tax) its amount after the discount.
struct NotaGlobal {
    std::string folio;
    kx204::host::Currency importe, descuento;
    std::map<std::string, kx204::host::Currency> bases;
};

// Everything a CFDI needs beyond the stored invoice: the issuer, the receiver's fiscal data, the payment
// form and method, each product's and tax's SAT keys, and the period of a global invoice.
struct DatosCfdi {
    std::string emisorRfc, emisorNombre, emisorRegimen, lugarExpedicion;
    std::string receptorRfc, receptorNombre, receptorRegimen, receptorDomicilio, usoCfdi;
    std::string formaPago, metodoPago;
    std::map<std::string, ProductoSat> productos;  // by product key
    std::map<std::string, ImpuestoSat> impuestos;  // by tax key
    std::optional<PeriodoGlobal> global;
    std::vector<NotaGlobal> notas;         // a global invoice's notes, in folio order
    std::vector<std::string> sustituidos;  // UUIDs of the CFDIs this one replaces (reason 01)
};

inline constexpr const char* kRfcPublicoEnGeneral = "XAXX010101000";

// Reads them for `factura`. The issuer is in the variables CFDI_EMISOR_RFC, CFDI_EMISOR_NOMBRE and
// CFDI_EMISOR_REGIMEN; the place of issue is the branch's postal code. A product without SAT keys is
// "01010101" (not in the catalog) by the piece ("H87"); a tax without them, VAT at its rate. Raises RuntimeError naming
// what is missing, in Spanish, when a CFDI cannot be made.
// A general-public invoice covers `periodo` when given; otherwise the day of its notes when they are of
// one day, or the month of the latest. It is paid in one exhibition (PUE) with the form that paid most of
// its notes, and refused when none names one. It replaces the stamped CFDIs, still standing, that a
// Delete with reason 01 set aside for the next invoice of their notes (see CfdiPorSustituir).
DatosCfdi LeeDatosCfdi(kx204::host::Connection& conexion, const FacturaGuardada& factura,
                       const std::optional<PeriodoGlobal>& periodo = std::nullopt);

}  // namespace qivera
