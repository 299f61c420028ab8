// Eight clerks, each with a screen and a connection of their own, invoice one sale note after another
// on the series their screens propose, all pressing Accept at the same moment every round: invoices
// per second, the median and the slowest Accept, and how many Accepts were refused. On PostgreSQL
// (last argument 1) and SQLite (0).
//   build/bench/kx204_bench --benchmark_filter=OchoPuestos
#include <algorithm>
#include <barrier>
#include <chrono>
#include <thread>

#include <benchmark/benchmark.h>

#include "bench/puesto.hpp"
#include "qivera/db/base_datos.hpp"
#include "qivera/db/sql.hpp"

namespace {

using Reloj = std::chrono::steady_clock;

constexpr int kNotas = 400;  // enough pending notes for every clerk's invoices

// The notes the screen loads, in folio order: clerk i invoices the (round × clerks + i)-th.
std::vector<std::string> NotasPendientes(const std::string& url) {
    auto conexion = qivera::db::AbreBaseDatos(url);
    return qivera::PrimeraColumna(*conexion,
                                  "SELECT DISTINCT Vn_Folio FROM Venta WHERE Es_Cve_Estado NOT IN ('CA', 'FA', 'DE') "
                                  "AND Fc_Folio = '' AND Sc_Cve_Sucursal = '01' AND Mn_Cve_Moneda = 'MXN' ORDER BY "
                                  "Vn_Folio");
}

// What one round of one clerk gave.
struct Aceptacion {
    double segundos = 0;
    bool rechazada = false;
};

// The whole run, gathered by the main thread between rounds.
struct Medicion {
    std::vector<double> segundos;
    int rechazos = 0, sinNota = 0;
    double pared = 0;  // from each round's start to the last clerk's end, summed
};

// A clerk on a thread of their own (a connection belongs to the thread that opened it), waiting at
// the barrier with the others: their note ready, then all accept at once, then the round is counted.
void Trabaja(const std::string& url, const std::vector<std::string>& notas, int puesto, int puestos, int rondas,
             std::barrier<>& barrera, std::vector<Aceptacion>& ronda, int& sinNota) {
    banco::Puesto lugar(url);
    auto& pantalla = lugar.pantalla;
    for (int r = 0; r < rondas; ++r) {
        pantalla.Controles.Pulsa(kx204::host::ComandoBarra::Cancelar);
        pantalla.Controles.Pulsa(kx204::host::ComandoBarra::Nuevo);
        lugar.persona.Responde("01");
        pantalla.txt_Cl_Cve_Cliente.Teclea("C0001");
        pantalla.txt_Cl_Cve_Cliente.Confirma();
        pantalla.txtCondicionVenta.Teclea("CONT");
        pantalla.txtCondicionVenta.Confirma();
        pantalla.Controles_B1Click();
        const int item = pantalla.lvNotas.Busca(notas[static_cast<std::size_t>(r * puestos + puesto)]);
        if (item >= 0)
            pantalla.lvNotas.SetChecked(item, true);
        else
            ++sinNota;
        barrera.arrive_and_wait();  // every clerk is ready
        const auto inicio = Reloj::now();
        pantalla.Controles.Pulsa(kx204::host::ComandoBarra::Aceptar);
        ronda[static_cast<std::size_t>(puesto)] = {std::chrono::duration<double>(Reloj::now() - inicio).count(),
                                                   pantalla.Controles.NuevoDocumento()};  // still capturing: refused
        barrera.arrive_and_wait();                                                        // the round is over
    }
}

Medicion Juega(const std::string& url, int puestos, int rondas) {
    const auto notas = NotasPendientes(url);
    Medicion medicion;
    if (notas.size() < static_cast<std::size_t>(puestos * rondas)) {
        medicion.sinNota = puestos * rondas;
        return medicion;
    }
    std::barrier<> barrera(puestos + 1);
    std::vector<Aceptacion> ronda(static_cast<std::size_t>(puestos));
    std::vector<int> sinNota(static_cast<std::size_t>(puestos));
    std::vector<std::jthread> hilos;
    for (int i = 0; i < puestos; ++i)
        hilos.emplace_back(Trabaja, std::cref(url), std::cref(notas), i, puestos, rondas, std::ref(barrera),
                           std::ref(ronda), std::ref(sinNota[static_cast<std::size_t>(i)]));
    for (int r = 0; r < rondas; ++r) {
        barrera.arrive_and_wait();
        const auto inicio = Reloj::now();
        barrera.arrive_and_wait();
        medicion.pared += std::chrono::duration<double>(Reloj::now() - inicio).count();
        for (const Aceptacion& a : ronda) {
            medicion.segundos.push_back(a.segundos);
            medicion.rechazos += a.rechazada ? 1 : 0;
        }
    }
    hilos.clear();
    for (int n : sinNota) medicion.sinNota += n;
    return medicion;
}

// Arguments: clerks, invoices each, engine.
void OchoPuestos(benchmark::State& state) {
    const int puestos = static_cast<int>(state.range(0)), rondas = static_cast<int>(state.range(1));
    for (auto _ : state) {
        const std::string url = banco::CopiaDe(kNotas, static_cast<banco::Motor>(state.range(2)));
        if (url.empty()) return state.SkipWithError("KX204_POSTGRES names no server");
        Medicion medicion = Juega(url, puestos, rondas);
        if (medicion.sinNota > 0) return state.SkipWithError("a clerk's note was not among the loaded ones");
        state.SetIterationTime(medicion.pared);
        std::sort(medicion.segundos.begin(), medicion.segundos.end());
        const int facturas = puestos * rondas - medicion.rechazos;
        state.counters["facturas_por_segundo"] = facturas / medicion.pared;
        state.counters["mediana_ms"] = 1000 * medicion.segundos[medicion.segundos.size() / 2];
        state.counters["maxima_ms"] = 1000 * medicion.segundos.back();
        state.counters["rechazos"] = medicion.rechazos;
    }
}

BENCHMARK(OchoPuestos)
    ->ArgsProduct({{8}, {25}, {0, 1}})
    ->ArgNames({"puestos", "facturas", "motor"})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace
