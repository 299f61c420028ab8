#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "kx204/host/date.hpp"
#include "qivera/db/azar.hpp"
#include "qivera/db/conexion_qt.hpp"

namespace qivera::db::demo {

// Money is counted in ten-thousandths, as kx204::host::Currency holds it.
using Escalado = std::int64_t;

struct Producto {
    std::string clave;
    std::string descripcion;
    std::string unidad2;  // second control unit, empty when the product has none
    Escalado factor2;     // second-unit quantity per first-unit piece
    Escalado precio;      // in pesos
    std::string impuesto;
    Escalado cuotaFija;
    bool lote;
    bool serie;
    bool tallas;              // sold in sizes and colours
    std::string equivalente;  // shares the lots of this product when not empty
    // The product whose lot master rows this one uses.
    const std::string& MaestroDeLotes() const { return equivalente.empty() ? clave : equivalente; }
};

struct Cliente {
    std::string clave;
    std::string sucursal;  // empty: any branch
    Escalado limiteCredito;
    int diasCredito;
    std::string vendedor;
    std::vector<std::string> direcciones;
};

struct Condicion {
    std::string clave;
    bool credito;
    int dias;
};

struct Sucursal {
    std::string clave;
    std::vector<std::string> almacenes;
    std::vector<std::string> vendedores;
    std::vector<std::string> series;  // of the invoices the demo stores
};

// The catalogs the notes draw from, once written to the database.
struct Catalogo {
    std::vector<Sucursal> sucursales;
    std::vector<Producto> productos;
    std::vector<Cliente> clientes;
    std::vector<Condicion> condiciones;
    std::vector<Escalado> dolar;  // USD rate per day from kPrimerDia
};

inline const kx204::host::Date kPrimerDia = kx204::host::Date::FromYmd(2026, 1, 1);
inline constexpr int kDiasConTipoDeCambio = 730;

// "NV", 42, 6 → "NV000042".
std::string Clave(const char* prefijo, int numero, int digitos);
kx204::host::Variant Dinero(Escalado escalado);
// The date so many days after kPrimerDia, as 'YYYY-MM-DD'.
std::string Dia(int desdeElPrimero);

// An INSERT of the named columns, prepared once for many rows.
SentenciaPreparada Inserta(ConexionQt& conexion, const std::string& tabla, const std::string& columnas);

// Branches, warehouses, currencies and rates, products and lots, clients with
// their addresses, configuration, users, permissions, series and periods.
Catalogo GeneraCatalogo(ConexionQt& conexion, Azar& azar);

}  // namespace qivera::db::demo
