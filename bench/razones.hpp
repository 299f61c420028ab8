#pragma once
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace banco {

// The console's report, and at its end the ratios the work is judged by, each from times of this same
// run (a shared machine's load moves them all alike): loading against the raw read, Accept against the
// raw floor, line by line against grouped; and Accept's peak memory.
class ReporteConRazones : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;

private:
    // Milliseconds of each iteration, and the last counters, by name without the iterations suffix.
    std::map<std::string, std::vector<double>> tiempos_;
    std::map<std::string, double> picos_;
};

}  // namespace banco
