#include "apoyo/carpeta_corrida.hpp"

#include "apoyo/base_prueba.hpp"

#include <utility>

#include <stdlib.h>

namespace prueba {

CarpetaDeLaCorrida::CarpetaDeLaCorrida() {
    raiz_ = CarpetaTemporal("kx204-corrida");  // private to its owner, as a runtime folder must be
    for (const auto& [variable, subcarpeta] :
         {std::pair{"TMPDIR", "tmp"}, std::pair{"XDG_DATA_HOME", "datos"}, std::pair{"XDG_RUNTIME_DIR", "runtime"},
          std::pair{"XDG_CONFIG_HOME", "configuracion"}}) {
        std::filesystem::create_directory(raiz_ / subcarpeta);
        std::filesystem::permissions(raiz_ / subcarpeta, std::filesystem::perms::owner_all);
        ::setenv(variable, (raiz_ / subcarpeta).c_str(), 1);
    }
}

CarpetaDeLaCorrida::~CarpetaDeLaCorrida() {
    std::error_code ignorado;
    std::filesystem::remove_all(raiz_, ignorado);
}

}  // namespace prueba
