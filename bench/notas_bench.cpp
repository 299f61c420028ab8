// Loading the pending notes with "Cargar ventas" and ticking them all with
// "Marcar todos", beside the same statement read raw through the same driver.
//   build/bench/kx204_bench [--benchmark_filter=...]
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <filesystem>
#include <map>
#include <memory>

#include "kx204/component/pantalla.hpp"
#include "kx204/screen/frm_kx204.hpp"
#include "qivera/db/base_datos.hpp"
#include "qivera/script/persona_guionada.hpp"
#include "qivera/script/ventana_guionada.hpp"
#include "qivera/services/fabrica.hpp"

namespace {

// A demo database whose pending notes all belong to branch 01 in pesos, so that one load takes them all.
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

// One clerk with the screen in New on that database.
struct Puesto {
    explicit Puesto(int notas)
        : conexion(qivera::db::AbreBaseDatos(BaseConNotas(notas))),
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

    std::unique_ptr<qivera::db::ConexionQt> conexion;
    qivera::PersonaGuionada persona;
    qivera::Sesion sesion;
    qivera::FabricaQivera fabrica;
    kx204::Componente componente;
    qivera::VentanaGuionada ventana;
    kx204::frmKX204& pantalla;
};

Puesto& PuestoCon(int notas) {
    static std::map<int, std::unique_ptr<Puesto>> puestos;
    auto& puesto = puestos[notas];
    if (!puesto) puesto = std::make_unique<Puesto>(notas);
    return *puesto;
}

void CargarVentas(benchmark::State& state) {
    Puesto& puesto = PuestoCon(static_cast<int>(state.range(0)));
    for (auto _ : state) puesto.pantalla.Controles_B1Click();
    state.counters["notas"] = puesto.pantalla.lvNotas.Count();
}

void LecturaCruda(benchmark::State& state) {
    Puesto& puesto = PuestoCon(static_cast<int>(state.range(0)));
    puesto.pantalla.Controles_B1Click();
    const std::string sentencia = puesto.pantalla.sSQL;
    std::size_t renglones = 0;
    for (auto _ : state) {
        renglones = 0;
        auto rs = puesto.conexion->Execute(sentencia);
        for (; !rs->Eof(); rs->MoveNext(), ++renglones)
            for (int i = 0; i < rs->FieldCount(); ++i) benchmark::DoNotOptimize(rs->Field(i));
        rs->Close();
    }
    state.counters["notas"] = static_cast<double>(renglones);
}

void MarcarTodos(benchmark::State& state) {
    Puesto& puesto = PuestoCon(static_cast<int>(state.range(0)));
    puesto.pantalla.Controles_B1Click();
    for (auto _ : state) puesto.pantalla.chkMarcarTodos.Click();  // ticks all, then unticks all
    state.counters["notas"] = puesto.pantalla.lvNotas.Count();
}

BENCHMARK(CargarVentas)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(LecturaCruda)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(MarcarTodos)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication aplicacion(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
