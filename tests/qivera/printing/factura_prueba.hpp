#pragma once
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "apoyo/entorno.hpp"

namespace prueba {

// What the session was told of: event, folio, file.
struct Registro {
    std::string evento, folio, archivo;
    bool operator==(const Registro&) const = default;
};

// The test environment with a stored invoice of branch 01 for client C1 (named with characters
// that need escaping, with e-mail, RFC and address): two lines, the first with lots, the second
// with serial numbers; total $1,234.5678. Documents go to a temporary folder of the test's own,
// issued as CFDI by the test issuer and stamped by the test provider, and what the session is told is kept.
class ConFactura : public Entorno {
public:
    static constexpr const char* kFolio = "F000001";
    static constexpr const char* kCliente = "Abarrotes O'Brien & Hijos <Ñandú>";

    explicit ConFactura(BaseDePrueba::Alcance alcance = BaseDePrueba::Alcance::UnaConexion);
    // Another invoice like the first, with `renglones` lines.
    void OtraFactura(const std::string& folio, int renglones);
    std::string Valor(const std::string& sentencia);
    std::string Carpeta() const { return carpeta.path().toStdString(); }

    QTemporaryDir carpeta;
    std::vector<Registro> registros;
};

// The whole file, bytes as they are.
std::string LeeArchivo(const std::string& ruta);

}  // namespace prueba
