#include "qivera/services/datos.hpp"

namespace qivera {

double DatosQivera::CreditoDisponible(const std::string&, int) {
    (void)sesion_;
    NoDisponible("CreditoDisponible");
}

std::string AuxiliarQivera::FiltroAdicional(int) {
    (void)sesion_;
    NoDisponible("FiltroAdicional");
}

}  // namespace qivera
