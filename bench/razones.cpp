#include "bench/razones.hpp"

#include <algorithm>
#include <cstdio>

namespace banco {

namespace {

// "Aceptar/15000/0/1/0/iterations:1/repeats:3" is "Aceptar/15000/0/1/0".
std::string SinSufijos(std::string nombre) {
    for (const char* sufijo : {"/iterations:", "/repeats:", "/min_time:"}) {
        const std::size_t desde = nombre.find(sufijo);
        if (desde != std::string::npos) nombre.erase(desde);
    }
    return nombre;
}

double Mediana(std::vector<double> valores) {
    std::sort(valores.begin(), valores.end());
    return valores[valores.size() / 2];
}

const char* Motor(char ultimo) { return ultimo == '0' ? "SQLite" : "PostgreSQL"; }

}  // namespace

void ReporteConRazones::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.run_type != Run::RT_Iteration || run.error_occurred || run.iterations == 0) continue;
        const std::string nombre = SinSufijos(run.benchmark_name());
        tiempos_[nombre].push_back(run.real_accumulated_time * 1000 / static_cast<double>(run.iterations));
        const auto pico = run.counters.find("pico_MB");
        if (pico != run.counters.end()) picos_[nombre] = pico->second.value;
        for (const char* base : {"piso_ms", "agrupada_ms"})
            if (const auto par = run.counters.find(base); par != run.counters.end() && par->second.value > 0)
                pares_[nombre][base].emplace_back(tiempos_[nombre].back(), par->second.value);
    }
}

void ReporteConRazones::Finalize() {
    ConsoleReporter::Finalize();
    std::map<std::string, double> ms;
    for (const auto& [nombre, tiempos] : tiempos_) ms[nombre] = Mediana(tiempos);
    auto linea = [](const std::string& que, double medido, double base, double cociente) {
        std::printf("%-58s %10.0f ms %10.0f ms %6.2fx\n", que.c_str(), medido, base, cociente);
    };
    auto razon = [&](const std::string& medido, const std::string& base, const std::string& que) {
        const auto a = ms.find(medido), b = ms.find(base);
        if (a == ms.end() || b == ms.end() || b->second <= 0) return;
        linea(que, a->second, b->second, a->second / b->second);
    };
    // The median of an Accept's ratios to what was timed right after each of its runs.
    auto pareada = [&](const std::string& nombre, const char* base, const std::string& que) {
        const auto par = pares_.find(nombre);
        if (par == pares_.end() || !par->second.count(base)) return;
        std::vector<double> bases, cocientes;
        for (const auto& [medido, contra] : par->second.at(base)) {
            bases.push_back(contra);
            cocientes.push_back(medido / contra);
        }
        linea(que, ms[nombre], Mediana(bases), Mediana(cocientes));
    };
    std::printf("\n%-58s %13s %13s %7s\n", "ratio (Accept: median of paired runs)", "measured", "against", "ratio");
    for (const auto& [nombre, tiempo] : ms) {
        const std::size_t barra = nombre.find('/');
        const std::string funcion = nombre.substr(0, barra), args = nombre.substr(barra + 1);
        const char* motor = Motor(nombre.back());
        if (funcion == "CargarVentas")
            razon(nombre, "LecturaCruda/" + args, std::string("load ") + args + " vs raw read, " + motor);
        if (funcion != "Aceptar") continue;
        // Arguments: notes, line by line, consolidation, engine.
        int notas = 0, porRenglon = 0, consolida = 0, motorId = 0;
        if (std::sscanf(args.c_str(), "%d/%d/%d/%d", &notas, &porRenglon, &consolida, &motorId) != 4) continue;
        const std::string como = std::to_string(notas) + (porRenglon ? " by line" : " grouped") +
                                 (consolida ? " +consolidation, " : ", ") + motor;
        pareada(nombre, "piso_ms", "Accept " + como + " vs floor");
        pareada(nombre, "agrupada_ms", "Accept " + como + " vs grouped");
    }
    for (const auto& [nombre, pico] : picos_)
        std::printf("%-58s %10.0f MB peak\n", (nombre + ", " + Motor(nombre.back())).c_str(), pico);
    std::fflush(stdout);
}

}  // namespace banco
