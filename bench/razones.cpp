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
    }
}

void ReporteConRazones::Finalize() {
    ConsoleReporter::Finalize();
    std::map<std::string, double> ms;
    for (const auto& [nombre, tiempos] : tiempos_) ms[nombre] = Mediana(tiempos);
    auto razon = [&](const std::string& medido, const std::string& base, const std::string& que) {
        const auto a = ms.find(medido), b = ms.find(base);
        if (a == ms.end() || b == ms.end() || b->second <= 0) return;
        std::printf("%-58s %10.0f ms %10.0f ms %6.2fx\n", que.c_str(), a->second, b->second, a->second / b->second);
    };
    std::printf("\n%-58s %13s %13s %7s\n", "ratio (medians of this run)", "measured", "against", "ratio");
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
        const std::string resto = "/" + std::to_string(consolida) + "/" + std::to_string(motorId);
        razon(nombre, "PisoCrudo/" + std::to_string(notas) + "/0" + resto, "Accept " + como + " vs floor");
        if (porRenglon)
            razon(nombre, "Aceptar/" + std::to_string(notas) + "/0" + resto, "Accept " + como + " vs grouped");
    }
    for (const auto& [nombre, pico] : picos_)
        std::printf("%-58s %10.0f MB peak\n", (nombre + ", " + Motor(nombre.back())).c_str(), pico);
    std::fflush(stdout);
}

}  // namespace banco
