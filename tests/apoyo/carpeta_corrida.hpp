#pragma once
#include <filesystem>

namespace prueba {

// For the life of a test process, the temporary, data, runtime and configuration folders of the tests and
// of every program they start are folders of its own, removed with it: nothing a run writes outlives it,
// and no configuration of the user running it reaches it.
class CarpetaDeLaCorrida {
public:
    CarpetaDeLaCorrida();
    ~CarpetaDeLaCorrida();
    CarpetaDeLaCorrida(const CarpetaDeLaCorrida&) = delete;
    CarpetaDeLaCorrida& operator=(const CarpetaDeLaCorrida&) = delete;

private:
    std::filesystem::path raiz_;
};

}  // namespace prueba
