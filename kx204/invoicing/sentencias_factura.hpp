#pragma once
#include <string>

// The statements the invoice reads its notes and their receivables with. The host knows them by their text,
// so that it can answer the per-product reads of one invoice from a read of all its notes, and read ahead
// the balances of every receivable it pays (see the host's db layer).
namespace kx204::sentencias {

// The notes' lines, one per group of product, size, colour, units and fixed fee.
std::string LineasAgrupadas(const std::string& folios);
// The notes' lines one by one, by folio and line id.
std::string LineasPorRenglon(const std::string& folios);
// The lots of `producto` that the documents of `tabla` consumed, a row per lot.
std::string LotesDeProducto(const std::string& tabla, const std::string& documentos, const std::string& producto);
// The serial numbers of `producto` registered on the notes.
std::string SeriesDeProducto(const std::string& folios, const std::string& producto);

// The open receivables of the notes, as every consolidation statement reads them, from the WHERE on.
std::string CuentasDeNotas(const std::string& folios);
// The same receivables with their clients, from the FROM on.
std::string CuentasConClientes(const std::string& folios);
// The receivables with a balance that consolidating the notes pays, one payment each.
std::string CuentasPorSaldar(const std::string& folios);

}  // namespace kx204::sentencias
