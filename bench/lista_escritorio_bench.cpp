// The desktop's note list with 50,000 notes of 16 columns: a reload shown, one tick, scrolling.
// Only the view's share is timed; the list's own reload and sort are paused out.
//   kx204_bench --benchmark_filter='ListaEscritorio'
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QWindow>
#include <string>
#include <vector>

#include "qivera/desktop/vista_lista.hpp"

namespace {

namespace host = kx204::host;

constexpr int kNotas = 50000;

std::vector<host::ColumnaLista> Columnas() {
    std::vector<host::ColumnaLista> columnas;
    for (const char* caption : {"Folio", "Cliente", "Fecha", "Tipo", "Referencia"})
        columnas.push_back({caption, host::Alineacion::Izquierda, 2540});
    for (const char* caption : {"Impuesto", "Total"}) columnas.push_back({caption, host::Alineacion::Derecha, 1800});
    for (const char* caption : {"DSCTO GLOBAL", "SUBTOTAL"})
        columnas.push_back({caption, host::Alineacion::Derecha, 0});
    for (const char* caption : {"Cond. Venta", "Forma pago", "Operador", "Vendedor", "Origen", "Documento"})
        columnas.push_back({caption, host::Alineacion::Izquierda, 2540});
    return columnas;
}

std::vector<host::ItemLista> Notas() {
    std::vector<host::ItemLista> notas(kNotas);
    for (int i = 0; i < kNotas; ++i) {
        const std::string n = std::to_string(i);
        const std::string importe = std::to_string(100 + (i * 37) % 9000) + ".50";
        notas[static_cast<std::size_t>(i)] = {
            "NV-" + std::string(6 - n.size(), '0') + n,
            {"Cliente número " + std::to_string(i % 700), "2024-05-" + std::to_string(10 + i % 18), "Contado",
             "Ref " + n, "16.00", importe, "0.00", importe, "CONTADO", "Efectivo", "OPER",
             "Vendedor " + std::to_string(i % 40), "Mostrador", "NV"}};
    }
    return notas;
}

// Counts the viewport's paint events, so a run shows that every repaint really drew.
class CuentaPintadas : public QObject {
public:
    int pintadas = 0;
    bool eventFilter(QObject*, QEvent* evento) override {
        if (evento->type() == QEvent::Paint) ++pintadas;
        return false;
    }
};

// One list and its view for every benchmark, never destroyed: widgets must not outlive the
// application, which static objects would.
struct Escritorio {
    host::Lista lista{"lvNotas", host::Control::kSinGrupo};
    std::vector<host::ItemLista> notas = Notas();
    qivera::escritorio::VistaLista* vista;
    CuentaPintadas cuenta;

    Escritorio() {
        lista.SetColumnas(Columnas());
        lista.SetMultiSelect(true);
        lista.SetOrden(0, host::Orden::Ascendente);
        lista.Agrega(notas);
        vista = new qivera::escritorio::VistaLista(lista);
        vista->resize(1000, 600);
        vista->show();
        vista->Refresca();
        vista->viewport()->installEventFilter(&cuenta);
        // Until the window is exposed, repaint() draws nothing.
        while (!vista->windowHandle()->isExposed()) QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

    // Paint events per iteration, since `desde`.
    double PintadasPor(int desde, benchmark::IterationCount iteraciones) const {
        return static_cast<double>(cuenta.pintadas - desde) / static_cast<double>(iteraciones);
    }
};

Escritorio& Compartido() {
    static Escritorio* escritorio = new Escritorio;
    return *escritorio;
}

void ListaEscritorioRecarga(benchmark::State& state) {
    Escritorio& e = Compartido();
    const int desde = e.cuenta.pintadas;
    for (auto _ : state) {
        state.PauseTiming();
        e.lista.Clear();
        e.lista.Agrega(e.notas);
        state.ResumeTiming();
        e.vista->Refresca();
        e.vista->viewport()->repaint();
    }
    state.counters["notas"] = e.vista->model()->rowCount();
    state.counters["pintadas"] = e.PintadasPor(desde, state.iterations());
}

void ListaEscritorioMarca(benchmark::State& state) {
    Escritorio& e = Compartido();
    const bool pinta = state.range(0) != 0;
    const QModelIndex indice = e.vista->model()->index(kNotas / 2, 0);
    e.vista->scrollTo(indice, QAbstractItemView::PositionAtCenter);
    bool marcada = false;
    const int desde = e.cuenta.pintadas;
    for (auto _ : state) {
        marcada = !marcada;
        e.vista->model()->setData(indice, marcada ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
        e.vista->Refresca();
        if (pinta) e.vista->viewport()->repaint();
    }
    state.SetLabel(pinta ? "tick, refresh, repaint" : "tick, refresh");
    state.counters["pintadas"] = e.PintadasPor(desde, state.iterations());
}

void ListaEscritorioDesplaza(benchmark::State& state) {
    Escritorio& e = Compartido();
    // Two places far enough apart that every step repaints a whole new page of rows.
    const QModelIndex medio = e.vista->model()->index(kNotas / 2, 0);
    const QModelIndex otro = e.vista->model()->index(kNotas / 2 + 300, 0);
    bool alterna = false;
    const int desde = e.cuenta.pintadas;
    for (auto _ : state) {
        alterna = !alterna;
        e.vista->scrollTo(alterna ? medio : otro, QAbstractItemView::PositionAtCenter);
        e.vista->viewport()->repaint();
    }
    state.counters["pintadas"] = e.PintadasPor(desde, state.iterations());
}

// One wheel notch, three rows down then up, drawn as the event loop draws it: Qt moves the
// pixels it has and paints only the rows that came in.
void ListaEscritorioRueda(benchmark::State& state) {
    Escritorio& e = Compartido();
    e.vista->scrollTo(e.vista->model()->index(kNotas / 2, 0), QAbstractItemView::PositionAtCenter);
    QCoreApplication::processEvents();
    QScrollBar* barra = e.vista->verticalScrollBar();
    const int paso = 3 * e.vista->verticalHeader()->defaultSectionSize();
    bool baja = false;
    const int desde = e.cuenta.pintadas;
    for (auto _ : state) {
        baja = !baja;
        barra->setValue(barra->value() + (baja ? paso : -paso));
        QCoreApplication::processEvents();
    }
    state.counters["pintadas"] = e.PintadasPor(desde, state.iterations());
}

BENCHMARK(ListaEscritorioRecarga)->Unit(benchmark::kMillisecond);
BENCHMARK(ListaEscritorioMarca)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(ListaEscritorioDesplaza)->Unit(benchmark::kMicrosecond);
BENCHMARK(ListaEscritorioRueda)->Unit(benchmark::kMicrosecond);

}  // namespace
