#pragma once
#include <string>
#include <vector>

#include "qivera/demo/demo.hpp"

namespace qivera::db {

// What a new database holds, told to whoever made it.
struct ResumenInicial {
    std::string base;               // its URL, without a password
    long long notasPendientes = 0;  // sale notes not yet invoiced
    long long facturas = 0;
    std::vector<std::string> usuarios;  // "CAJERO (ACCESO, FACTURAR)", "with a password" when one is set
    std::string documentos;             // where printed invoices, CFDI and mail go unless variables say otherwise
    std::string csd;                    // the folder of the demo's test CSD; empty without the demo
};

// Creates the schema and the query templates, and the demo data with `notas`
// pending sale notes when asked (the user ADMIN alone otherwise), all in one transaction. The demo's
// invoices are stamped by the command `timbrador` when given (see CFDI_TIMBRADO_COMANDO). A database that already
// has the schema is refused with a RuntimeError and left untouched.
ResumenInicial InicializaBaseDatos(const std::string& url, bool demo, int notas = kNotasDemo,
                                   const std::string& timbrador = {});

}  // namespace qivera::db
