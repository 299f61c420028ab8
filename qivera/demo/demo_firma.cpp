#include "qivera/demo/demo_firma.hpp"

#include "qivera/demo/demo_catalogo.hpp"
#include "qivera/signing/credenciales_demo.hpp"

namespace qivera::db::demo {

namespace {

constexpr std::uint64_t kSemillaFirma = 0x4B583230342D4649ULL;  // "KX204-FI"

}  // namespace

void GeneraFirma(ConexionQt& conexion) {
    using kx204::host::Date;
    const CredencialesPem credenciales = GeneraCredencialesDemo(
        "Qivera Demo - Matriz Centro", Date::FromYmd(2025, 1, 1), Date::FromYmd(2036, 1, 1), kSemillaFirma);
    SentenciaPreparada variable = Inserta(conexion, "Variable", "Vr_Nombre, Vr_Valor");
    variable.Ejecuta({"FAC_FIRMA_LLAVE", credenciales.llave});
    variable.Ejecuta({"FAC_FIRMA_CERTIFICADO", credenciales.certificado});
}

}  // namespace qivera::db::demo
