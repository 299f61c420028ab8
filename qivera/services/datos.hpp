#pragma once
#include "kx204/host/servicios.hpp"
#include "qivera/services/sesion.hpp"

namespace qivera {

// objDatos: clients' credit and receivables.
class DatosQivera : public kx204::host::Datos {
public:
    explicit DatosQivera(Sesion& sesion) : sesion_(sesion) {}
    double CreditoDisponible(const std::string& cliente, int opcion) override;
    std::string MensajeError() override { return error_; }
    bool ObtenCuenta(kx204::host::CuentaCxc& cuenta) override;
    bool RegistraAbono(const kx204::host::AbonoCxc& abono, bool a, bool b, bool c) override;
    bool RegistraCuenta(const kx204::host::CuentaCxc& cuenta, bool a, bool b) override;
    bool AgregaImpuesto(const kx204::host::ImpuestoCxc& impuesto) override;

private:
    Sesion& sesion_;
    std::string error_;
};

// objAuxiliar: per-user conditions.
class AuxiliarQivera : public kx204::host::Auxiliar {
public:
    explicit AuxiliarQivera(Sesion& sesion) : sesion_(sesion) {}
    std::string FiltroAdicional(int opcion) override;

private:
    Sesion& sesion_;
};

}  // namespace qivera
