// Loading the pending notes with "Cargar ventas" and ticking them all with
// "Marcar todos", beside the same statement read raw through the same driver, on SQLite (0) and
// PostgreSQL (1).
//   build/bench/kx204_bench --benchmark_filter='CargarVentas|LecturaCruda|MarcarTodos'
#include <benchmark/benchmark.h>

#include "bench/puesto.hpp"

namespace {

// The clerk on the sized database of the benchmark's engine; null (and the benchmark skipped)
// when that engine has no server.
banco::Puesto* PuestoCon(benchmark::State& state) {
    const std::string url =
        banco::BaseConNotas(static_cast<int>(state.range(0)), static_cast<banco::Motor>(state.range(1)));
    if (url.empty()) {
        state.SkipWithError("KX204_POSTGRES names no server");
        return nullptr;
    }
    return &banco::PuestoEn(url);
}

void CargarVentas(benchmark::State& state) {
    banco::Puesto* puesto = PuestoCon(state);
    if (puesto == nullptr) return;
    for (auto _ : state) puesto->pantalla.Controles_B1Click();
    state.counters["notas"] = puesto->pantalla.lvNotas.Count();
}

void LecturaCruda(benchmark::State& state) {
    banco::Puesto* puesto = PuestoCon(state);
    if (puesto == nullptr) return;
    puesto->pantalla.Controles_B1Click();
    const std::string sentencia = puesto->pantalla.sSQL;
    std::size_t renglones = 0;
    for (auto _ : state) {
        renglones = 0;
        auto rs = puesto->conexion->Execute(sentencia);
        for (; !rs->Eof(); rs->MoveNext(), ++renglones)
            for (int i = 0; i < rs->FieldCount(); ++i) benchmark::DoNotOptimize(rs->Field(i));
        rs->Close();
    }
    state.counters["notas"] = static_cast<double>(renglones);
}

void MarcarTodos(benchmark::State& state) {
    banco::Puesto* puesto = PuestoCon(state);
    if (puesto == nullptr) return;
    puesto->pantalla.Controles_B1Click();
    for (auto _ : state) puesto->pantalla.chkMarcarTodos.Click();  // ticks all, then unticks all
    state.counters["notas"] = puesto->pantalla.lvNotas.Count();
}

// Three runs each, as Accept's: the table of ratios takes their median.
BENCHMARK(CargarVentas)->ArgsProduct({{10000, 50000, 100000}, {0, 1}})->Unit(benchmark::kMillisecond)->Repetitions(3);
BENCHMARK(LecturaCruda)->ArgsProduct({{10000, 50000, 100000}, {0, 1}})->Unit(benchmark::kMillisecond)->Repetitions(3);
BENCHMARK(MarcarTodos)->ArgsProduct({{1000, 10000, 50000}, {0}})->Unit(benchmark::kMillisecond);

}  // namespace
