#pragma once
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace banco {

// The console's report, and at its end the ratios the work is judged by, each from times of this same
// run: loading against the raw read; Accept against the raw floor and line by line against grouped, each
// Accept divided by the one timed right after it (a shared machine's load drifts within minutes); and
// Accept's peak memory.
class ReporteConRazones : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;

private:
    // Milliseconds of each iteration, and the last counters, by name without the iterations suffix.
    std::map<std::string, std::vector<double>> tiempos_;
    // What was timed right after each run of an Accept: the floor ("piso_ms") or a grouped Accept
    // ("agrupada_ms"), each beside that run's time.
    std::map<std::string, std::map<std::string, std::vector<std::pair<double, double>>>> pares_;
    std::map<std::string, double> picos_;
};

}  // namespace banco
