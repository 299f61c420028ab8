#pragma once
#include <string>
#include <vector>

namespace qivera {

// One request the test provider answered: "timbrado" (a new stamp), "repetido" (the same sealed XML
// again, answered with its first stamp), or a cancellation's answer ("cancelado", "en_proceso",
// "rechazado"). `relacion` is, for a stamp, the UUIDs it replaces (relation 04), comma-separated; for a
// cancellation with reason 01, the replacement's UUID.
struct AsientoPac {
    std::string evento, uuid, fechaTimbrado, documento, motivo, relacion;
};

// The test provider's ledger: a file of JSON lines, one a request, that tests read to count the stamps
// a document got. Requests from several processes are written one at a time.
class LibroPacPrueba {
public:
    explicit LibroPacPrueba(std::string ruta) : ruta_(std::move(ruta)) {}

    // Runs `anota` over what the ledger holds, with every other writer kept out, and appends what it answers.
    template <class Anota>
    void Modifica(Anota anota) {
        Bloqueo bloqueo(ruta_);
        const std::vector<AsientoPac> nuevos = anota(Asientos());
        Agrega(nuevos);
    }
    std::vector<AsientoPac> Asientos() const;

private:
    class Bloqueo {
    public:
        explicit Bloqueo(const std::string& ruta);
        ~Bloqueo();
        Bloqueo(const Bloqueo&) = delete;
        Bloqueo& operator=(const Bloqueo&) = delete;

    private:
        int descriptor_;
    };
    void Agrega(const std::vector<AsientoPac>& asientos) const;

    std::string ruta_;
};

}  // namespace qivera
