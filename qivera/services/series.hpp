#pragma once
#include "kx204/host/controls/campo_serie.hpp"
#include "qivera/sesion/sesion.hpp"

namespace qivera {

// The invoice series of each branch, kept in table Serie with their last number issued.
class SeriesQivera : public kx204::host::ServicioSeries {
public:
    explicit SeriesQivera(Sesion& sesion) : sesion_(sesion) {}
    // A branch that issues signed invoices issues them by default: its digital series comes first.
    bool Propone(const std::string& sucursal, std::string& serie, long& numero) override;
    bool Reserva(const std::string& sucursal, const std::string& serie, long numero, std::string& error) override;
    bool TomaLibre(const std::string& sucursal, const std::string& serie, long& numero, std::string& error) override;
    bool Siguiente(const std::string& sucursal, const std::string& serie, long& numero) override;

private:
    Sesion& sesion_;
};

}  // namespace qivera
