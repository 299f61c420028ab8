// Loading the pending notes with "Cargar ventas" and ticking them all with
// "Marcar todos", beside the same statement read raw through the same driver.
//   build/bench/kx204_bench --benchmark_filter='CargarVentas|LecturaCruda|MarcarTodos'
#include <benchmark/benchmark.h>

#include <map>
#include <memory>

#include "bench/puesto.hpp"

namespace {

banco::Puesto& PuestoCon(int notas) {
    static std::map<int, std::unique_ptr<banco::Puesto>> puestos;
    auto& puesto = puestos[notas];
    if (!puesto) puesto = std::make_unique<banco::Puesto>(banco::BaseConNotas(notas));
    return *puesto;
}

void CargarVentas(benchmark::State& state) {
    banco::Puesto& puesto = PuestoCon(static_cast<int>(state.range(0)));
    for (auto _ : state) puesto.pantalla.Controles_B1Click();
    state.counters["notas"] = puesto.pantalla.lvNotas.Count();
}

void LecturaCruda(benchmark::State& state) {
    banco::Puesto& puesto = PuestoCon(static_cast<int>(state.range(0)));
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
    banco::Puesto& puesto = PuestoCon(static_cast<int>(state.range(0)));
    puesto.pantalla.Controles_B1Click();
    for (auto _ : state) puesto.pantalla.chkMarcarTodos.Click();  // ticks all, then unticks all
    state.counters["notas"] = puesto.pantalla.lvNotas.Count();
}

BENCHMARK(CargarVentas)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(LecturaCruda)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(MarcarTodos)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);

}  // namespace
