// Accept of one invoice from every pending note of a branch (the demo's notes carry one to five
// lines, with lots and serial numbers), grouped and line by line, with and without consolidation,
// beside the raw floor: the same reads and writes of a grouped invoice in the fewest statements,
// on SQLite (last argument 0) and PostgreSQL (1); and the peak memory of Accept at 100,000 notes.
//   build/bench/kx204_bench --benchmark_filter='Aceptar|PisoCrudo'
#include <benchmark/benchmark.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <string>

#include "bench/puesto.hpp"
#include "kx204/host/transaction.hpp"
#include "qivera/db/base_datos.hpp"

namespace {

// A fresh copy of the sized database of the benchmark's engine; empty (and the benchmark skipped)
// when that engine has no server.
std::string Copia(benchmark::State& state) {
    const std::string url = banco::CopiaDe(static_cast<int>(state.range(0)), static_cast<banco::Motor>(state.range(3)));
    if (url.empty()) state.SkipWithError("KX204_POSTGRES names no server");
    return url;
}

// The clerk ready to accept: client taken, the notes loaded and all ticked.
std::unique_ptr<banco::Puesto> Listo(const std::string& url, bool porRenglon, bool consolidar) {
    auto puesto = std::make_unique<banco::Puesto>(url);
    if (porRenglon)
        puesto->conexion->Execute(
            "UPDATE Variable SET Vr_Valor = '1' WHERE Vr_Nombre = 'FAC_CONSOLIDADA_NO_PROMEDIA_PRECIO'");
    auto& pantalla = puesto->pantalla;
    puesto->persona.Responde("01");
    pantalla.txt_Cl_Cve_Cliente.Teclea("C0001");
    pantalla.txt_Cl_Cve_Cliente.Confirma();
    pantalla.txtCondicionVenta.Teclea("CONT");
    pantalla.txtCondicionVenta.Confirma();
    pantalla.Controles_B1Click();
    pantalla.chkMarcarTodos.Click();
    if (consolidar) pantalla.chkConsolidar.SetValue(1);
    return puesto;
}

std::string FoliosPendientes(kx204::host::Connection& conexion) {
    std::string folios;
    auto rs = conexion.Execute(
        "SELECT DISTINCT Vn_Folio FROM Venta WHERE Es_Cve_Estado = 'AC' AND Fc_Folio = '' "
        "AND Sc_Cve_Sucursal = '01' AND Mn_Cve_Moneda = 'MXN'");
    for (; !rs->Eof(); rs->MoveNext()) folios += (folios.empty() ? "'" : ", '") + rs->Field(0).ToText() + "'";
    rs->Close();
    return folios;
}

// The invoice's own writing, as Accept runs it in its transaction: header, detail (with a relation per
// line, line by line), the notes marked and the totals posted; no signing, printing or mail, whose work
// grows with the lines printed.
void FacturarVenta(benchmark::State& state) {
    const bool porRenglon = state.range(1) != 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::string url = Copia(state);
        if (url.empty()) return;
        auto puesto = Listo(url, porRenglon, false);
        auto& pantalla = puesto->pantalla;
        const std::string folios = FoliosPendientes(*puesto->conexion);
        const std::string serie = pantalla.txt_Fc_Factura.Serie();
        const auto numero = kx204::host::Variant(pantalla.txt_Fc_Factura.Numero()).ToLong();
        state.ResumeTiming();
        kx204::host::Transaction transaccion(*puesto->conexion);
        const std::string folio = pantalla.Facturar_Venta(folios, serie, numero);
        transaccion.Commit();
        state.PauseTiming();
        if (folio.empty()) state.SkipWithError(pantalla.sErrorFactura.c_str());
        puesto.reset();
        state.ResumeTiming();
    }
}

void Lee(kx204::host::Connection& conexion, const std::string& sentencia) {
    auto rs = conexion.Execute(sentencia);
    for (; !rs->Eof(); rs->MoveNext())
        for (int i = 0; i < rs->FieldCount(); ++i) benchmark::DoNotOptimize(rs->Field(i));
    rs->Close();
}

// Consolidation in the fewest statements: every open receivable of the notes paid in full, its tax
// lines settled, and one receivable for the invoice.
void ConsolidaCrudo(kx204::host::Connection& conexion, const std::string& folios) {
    const std::string cuentas = " FROM Cuenta_x_Cobrar WHERE Cxc_Tabla = 'VENTA' AND Cxc_Documento IN (" + folios +
                                ") AND Es_Cve_Estado <> 'CA' AND Cxc_Precio_Neto_Saldo > 0";
    conexion.Execute(
        "INSERT INTO Pago_Cxc (Pc_Folio, Cxc_Folio, Pc_Tabla, Pc_Documento, Pc_Importe, Pc_Precio_Descontado, "
        "Pc_Impuesto) SELECT 'PISO' || Cxc_Folio, Cxc_Folio, 'FACTURA', 'PISO', Cxc_Precio_Neto_Saldo, "
        "Cxc_Precio_Descontado_Saldo, Cxc_Impuesto_Saldo" +
        cuentas);
    conexion.Execute(
        "INSERT INTO Pago_Cxc_Impuesto (Pc_Folio, Im_Cve_Impuesto, Pci_Importe) SELECT 'PISO' || Cxc_Folio, "
        "Im_Cve_Impuesto, Cxci_Saldo FROM CUENTA_X_COBRAR_IMPUESTO WHERE Cxc_Folio IN (SELECT Cxc_Folio" +
        cuentas + ")");
    conexion.Execute("UPDATE CUENTA_X_COBRAR_IMPUESTO SET Cxci_Saldo = 0 WHERE Cxc_Folio IN (SELECT Cxc_Folio" +
                     cuentas + ")");
    conexion.Execute(
        "UPDATE Cuenta_x_Cobrar SET Cxc_Precio_Descontado_Saldo = 0, Cxc_Impuesto_Saldo = 0, "
        "Cxc_Precio_Neto_Saldo = 0 WHERE Cxc_Folio IN (SELECT Cxc_Folio" +
        cuentas + ")");
    conexion.Execute(
        "INSERT INTO Cuenta_x_Cobrar (Cxc_Folio, Cxc_Tabla, Cxc_Documento) VALUES ('PISO', 'FACTURA', "
        "'PISO')");
}

// What Accept must do at the least, written by hand in one transaction: the floor it is measured against.
void FacturaCruda(qivera::db::ConexionQt& conexion, const std::string& folios, bool consolida) {
    kx204::host::Transaction transaccion(conexion);
    Lee(conexion,
        "SELECT v.Pr_Cve_Producto, v.Tl_Cve_Talla, v.Cl_Cve_Color, p.Pr_Descripcion, "
        "SUM(v.Vn_Cantidad_Control_1), SUM(v.Vn_Precio_Descontado_Importe - v.Vn_Descuento_Global_Importe) "
        "FROM Venta v JOIN Producto p ON p.Pr_Cve_Producto = v.Pr_Cve_Producto WHERE v.Vn_Folio IN (" +
            folios + ") GROUP BY v.Pr_Cve_Producto, v.Tl_Cve_Talla, v.Cl_Cve_Color, p.Pr_Descripcion");
    Lee(conexion,
        "SELECT d.Pr_Cve_Producto, d.Lt_Cve_Lote, SUM(d.Lt_Cantidad_Control_1) FROM Lote_Documento d "
        "WHERE d.Ld_Tabla = 'Venta' AND d.Ld_Documento IN (" +
            folios + ") GROUP BY d.Pr_Cve_Producto, d.Lt_Cve_Lote");
    Lee(conexion,
        "SELECT Pr_Cve_Producto, Sr_Cve_Serie FROM Serie_Documento WHERE Sd_Tabla = 'VENTA' AND "
        "Sd_Documento IN (" +
            folios + ")");
    conexion.Execute("INSERT INTO Factura (Fc_Folio) VALUES ('PISO')");
    conexion.Execute(
        "INSERT INTO Factura_Detalle (Fc_Folio, Fd_Renglon, Pr_Cve_Producto) SELECT 'PISO', "
        "Pr_Cve_Producto, Pr_Cve_Producto FROM Producto");
    for (const char* tabla : {"Venta", "Venta_Encabezado"})
        conexion.Execute(std::string("UPDATE ") + tabla +
                         " SET Fc_Folio = 'PISO', Es_Cve_Estado = 'FA' WHERE Vn_Folio IN (" + folios + ")");
    if (consolida) ConsolidaCrudo(conexion, folios);
    transaccion.Commit();
}

double Milisegundos(const std::function<void()>& trabajo) {
    const auto inicio = std::chrono::steady_clock::now();
    trabajo();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - inicio).count();
}

// The floor of the ticked notes on a fresh copy, as PisoCrudo times it.
double PisoMs(benchmark::State& state, bool consolida) {
    auto conexion = qivera::db::AbreBaseDatos(Copia(state));
    const std::string folios = FoliosPendientes(*conexion);
    return Milisegundos([&] { FacturaCruda(*conexion, folios, consolida); });
}

// Each Accept is followed, untimed, by its floor (and a by-line one by its grouped Accept) on fresh copies:
// the table of ratios divides times of one moment, which a shared machine's drift leaves alone.
void Aceptar(benchmark::State& state) {
    const bool porRenglon = state.range(1) != 0, consolidar = state.range(2) != 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::string url = Copia(state);
        if (url.empty()) return;
        auto puesto = Listo(url, porRenglon, consolidar);
        state.ResumeTiming();
        puesto->pantalla.Controles_Aceptar();
        state.PauseTiming();
        auto rs = puesto->conexion->Execute(
            "SELECT count(*) FROM Venta WHERE Fc_Folio = (SELECT max(Fc_Folio) FROM "
            "Factura)");
        state.counters["renglones_venta"] = rs->Field(0).ToDouble();
        rs->Close();
        puesto.reset();
        state.counters["piso_ms"] = PisoMs(state, consolidar);
        if (porRenglon) {
            auto agrupado = Listo(Copia(state), false, consolidar);
            state.counters["agrupada_ms"] = Milisegundos([&] { agrupado->pantalla.Controles_Aceptar(); });
        }
        state.ResumeTiming();
    }
}

// Linux keeps the process's peak resident memory; writing 5 to clear_refs starts it afresh from what
// the process holds now.
void ReiniciaPico() { std::ofstream("/proc/self/clear_refs") << "5"; }

double PicoMB() {
    std::ifstream estado("/proc/self/status");
    for (std::string linea; std::getline(estado, linea);)
        if (linea.rfind("VmHWM:", 0) == 0) return std::stod(linea.substr(6)) / 1024;
    return 0;
}

// The process's peak memory while it accepts every loaded note, grouped and consolidated, with the
// list and the clerk it holds.
void AceptarMemoria(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        const std::string url = Copia(state);
        if (url.empty()) return;
        auto puesto = Listo(url, false, true);
        ReiniciaPico();
        state.ResumeTiming();
        puesto->pantalla.Controles_Aceptar();
        state.PauseTiming();
        state.counters["pico_MB"] = PicoMB();
        puesto.reset();
        state.ResumeTiming();
    }
}

void PisoCrudo(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        const std::string url = Copia(state);
        if (url.empty()) return;
        auto conexion = qivera::db::AbreBaseDatos(url);
        const std::string folios = FoliosPendientes(*conexion);
        state.ResumeTiming();
        FacturaCruda(*conexion, folios, state.range(2) != 0);
        state.PauseTiming();
        conexion.reset();
        state.ResumeTiming();
    }
}

// Arguments: notes, line by line, consolidation, engine.
// Three runs of one Accept each: a single run swings by half between runs on a shared machine, and the
// table of ratios takes the median of the three paired ratios.
BENCHMARK(Aceptar)
    ->ArgsProduct({{1000, 15000}, {0, 1}, {0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3);
// Arguments as Accept's; consolidation is not part of it.
BENCHMARK(FacturarVenta)
    ->ArgsProduct({{1000, 15000}, {0, 1}, {0}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
// Arguments as Accept's.
BENCHMARK(AceptarMemoria)->ArgsProduct({{100000}, {0}, {1}, {0, 1}})->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(PisoCrudo)->ArgsProduct({{1000, 15000}, {0}, {0, 1}, {0, 1}})->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
