#pragma once
#include <string>

// The statements the invoice reads its notes with. The host knows them by their text, so that it can
// answer the per-product reads of one invoice from a read of all its notes (see the host's db layer).
namespace kx204::sentencias {

// The notes' lines, one per group of product, size, colour, units and fixed fee.
std::string LineasAgrupadas(const std::string& folios);
// The notes' lines one by one, by folio and line id.
std::string LineasPorRenglon(const std::string& folios);
// The lots of `producto` that the documents of `tabla` consumed, a row per lot.
std::string LotesDeProducto(const std::string& tabla, const std::string& documentos, const std::string& producto);
// The serial numbers of `producto` registered on the notes.
std::string SeriesDeProducto(const std::string& folios, const std::string& producto);

}  // namespace kx204::sentencias
