#include "bench/puesto.hpp"

#include <filesystem>

#include "qivera/db/base_datos.hpp"

namespace banco {

std::string BaseConNotas(int notas) {
    const auto ruta = std::filesystem::temp_directory_path() / ("kx204_bench_" + std::to_string(notas) + ".db");
    const std::string url = "sqlite:" + ruta.string();
    if (!std::filesystem::exists(ruta)) {
        qivera::db::InicializaBaseDatos(url, true, notas);
        auto conexion = qivera::db::AbreBaseDatos(url);
        for (const char* tabla : {"Venta", "Venta_Encabezado"})
            conexion->Execute(std::string("UPDATE ") + tabla +
                              " SET Sc_Cve_Sucursal = '01', Mn_Cve_Moneda = 'MXN' WHERE Es_Cve_Estado = 'AC'");
    }
    return url;
}

Puesto::Puesto(const std::string& url)
    : conexion(qivera::db::AbreBaseDatos(url)),
      persona([](const nlohmann::ordered_json&) {}),
      sesion{*conexion, persona, "ADMIN", kx204::host::Date::FromYmd(2026, 3, 15), nullptr, {}},
      fabrica(sesion),
      componente(fabrica),
      ventana(sesion),
      pantalla(*kx204::Pantalla(componente).GetPantalla()) {
    pantalla.SetPadre(&ventana);
    sesion.ventanaActiva = &pantalla;
    pantalla.Form_Activate();
    pantalla.Controles.Pulsa(kx204::host::ComandoBarra::Nuevo);
}

}  // namespace banco
