#pragma once
#include <string>

#include "apoyo/entorno.hpp"

namespace prueba {

// A sale note of one or more identical lines, each of `subtotal` plus 16% tax.
struct Nota {
    std::string folio;
    std::string sucursal = "01";
    std::string moneda = "MXN";
    std::string subtotal = "100";
    std::string estado = "AC";
    std::string condicion = "CONT";
    std::string fecha = "2026-03-10";
    std::string cliente = "C1";
    int lineas = 1;
};

void InsertaNota(Entorno& entorno, const Nota& nota);

// The configuration and catalog a note list needs: local currency, sale conditions and a salesman.
void PreparaCaptura(Entorno& entorno);

}  // namespace prueba
