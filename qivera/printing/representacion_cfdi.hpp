#pragma once
#include <optional>
#include <string>
#include <vector>

#include "kx204/host/connection.hpp"
#include "kx204/host/currency.hpp"

namespace qivera {

// What the printed representation of a CFDI shows, read from the stored XML.
struct RepresentacionCfdi {
    // One concept, in the invoice's line order: its SAT keys and its price and amount before discount;
    // for a global invoice's, whose concepts are its notes, also what it is.
    struct Claves {
        std::string prodServ, unidad, objetoImp;
        kx204::host::Currency valorUnitario, importe;
        std::string noIdentificacion, descripcion;
        double cantidad = 0;
    };
    // One transferred tax of the document: "IVA 16%", its base and amount; an exempt one has no amount.
    struct Impuesto {
        std::string nombre;
        kx204::host::Currency base, importe;
        bool exento = false;
    };

    std::string fecha, emisorRfc, emisorNombre, emisorRegimen, lugarExpedicion;
    std::string receptorRfc, receptorNombre, receptorRegimen, receptorDomicilio, usoCfdi;
    std::string formaPago, metodoPago, moneda, periodo;  // periodo: a global invoice's, "Diaria 03/2026"
    kx204::host::Currency subtotal, descuento, total;
    std::vector<Claves> conceptos;
    std::vector<Impuesto> impuestos;
    std::string noCertificado, sello;
    bool timbrado = false;
    std::string uuid, fechaTimbrado, rfcProvCertif, noCertificadoSat, selloSat, cadenaTimbre;

    // The SAT's verification address, which the QR code carries.
    std::string UrlVerificacion() const;
};

// The CFDI of the invoice `folio`, when it has one.
std::optional<RepresentacionCfdi> LeeRepresentacionCfdi(kx204::host::Connection& conexion, const std::string& folio);
// The same from the XML itself.
RepresentacionCfdi RepresentacionDe(const std::string& xml);

// A code of the SAT's catalogs with its name when this program knows it: "601 General de Ley Personas Morales".
std::string ConDescripcion(const std::string& codigo);

}  // namespace qivera
