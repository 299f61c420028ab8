// The benchmarks' program: a widgets application (invoices are printed, the desktop's list is drawn)
// on the offscreen platform. It ends cleanly, so that it can run unattended.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>

#include "bench/puesto.hpp"
#include "bench/razones.hpp"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication aplicacion(argc, argv);
    benchmark::Initialize(&argc, argv);
    banco::ReporteConRazones reporte;
    benchmark::RunSpecifiedBenchmarks(&reporte);
    benchmark::Shutdown();
    banco::LiberaPuestos();
    return 0;
}
