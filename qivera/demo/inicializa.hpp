#pragma once
#include <string>
#include <vector>

#include "qivera/demo/demo.hpp"

namespace qivera::db {

// How this machine stamps, told by init and by an upgrade.
struct TimbradoDelEquipo {
    bool configurado = false;  // its configuration names a stamping command
    std::string escrito;       // the command written just now in the user's file (the test provider); empty otherwise
};

// What a new database holds, told to whoever made it.
struct ResumenInicial {
    std::string base;               // its URL, without a password
    long long notasPendientes = 0;  // sale notes not yet invoiced
    long long facturas = 0;
    std::vector<std::string> usuarios;  // "CAJERO (ACCESO, FACTURAR)", "with a password" when one is set
    std::string documentos;             // where printed invoices, CFDI and mail go unless variables say otherwise
    std::string csd;                    // the folder of the demo's test CSD; empty without the demo
    TimbradoDelEquipo timbrado;
};

// Creates the schema and the query templates, and the demo data with `notas`
// pending sale notes when asked (the user ADMIN alone otherwise), all in one transaction. The demo's
// invoices are stamped by the test provider's command `timbrador`, when given: after the commit it goes in
// the user's configuration, unless this machine's already names a stamping command. A database that already
// has the schema is refused with a RuntimeError and left untouched.
ResumenInicial InicializaBaseDatos(const std::string& url, bool demo, int notas = kNotasDemo,
                                   const std::string& timbrador = {});

// What an upgrade did and what the database still lacks.
struct ResumenActualizacion {
    int version = 0;
    std::vector<std::string> retiradas;  // the variables removed, each with why: "NAME (why)"
    TimbradoDelEquipo timbrado;
    std::vector<std::string> faltaCfdi;  // what it lacks to issue a CFDI (see FaltaParaEmitirCfdi)
};

// Upgrades the database a URL names to this program's schema (see ActualizaEsquema) in one transaction,
// which also removes the variables a shared database must no longer hold: the old signer's key and
// certificate in clear text, and the stamping command. When that command was the test provider's, this
// machine goes on stamping with `timbrador` as InicializaBaseDatos gives it to a demo.
ResumenActualizacion ActualizaBaseDatos(const std::string& url, const std::string& timbrador = {});

}  // namespace qivera::db
