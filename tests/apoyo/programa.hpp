#pragma once
#include <string>

#include <QByteArray>
#include <QProcessEnvironment>
#include <QStringList>

namespace prueba {

// How a run of the qivera program ended and what it printed.
struct Corrida {
    bool caida = false;  // it crashed or was killed
    int estado = -1;
    std::string salida, errores;
};

// Runs the qivera program with `argumentos`, `entrada` on its standard input, in `entorno`. What it
// printed goes to the suite's transcripts, and what it was handed as a secret (a database URL's password,
// PGPASSWORD, the password --password-stdin reads) to the secrets they are scanned for (see salidas.hpp).
Corrida Qivera(const QStringList& argumentos, const QByteArray& entrada = {},
               const QProcessEnvironment& entorno = QProcessEnvironment::systemEnvironment());

}  // namespace prueba
