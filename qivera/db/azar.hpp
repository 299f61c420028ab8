#pragma once
#include <cstdint>
#include <vector>

namespace qivera::db {

// splitmix64: a tiny generator whose sequence depends only on its seed, so that
// generated data come out the same on every run and every machine.
class Azar {
public:
    explicit Azar(std::uint64_t semilla) : estado_(semilla) {}

    std::uint64_t Siguiente() {
        std::uint64_t z = (estado_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // Inclusive on both ends.
    int Entre(int minimo, int maximo) {
        return minimo + static_cast<int>(Siguiente() % static_cast<std::uint64_t>(maximo - minimo + 1));
    }
    bool PorCiento(int probabilidad) { return Entre(1, 100) <= probabilidad; }
    template <typename T>
    const T& Elige(const std::vector<T>& opciones) {
        return opciones[static_cast<std::size_t>(Entre(0, static_cast<int>(opciones.size()) - 1))];
    }

private:
    std::uint64_t estado_;
};

}  // namespace qivera::db
