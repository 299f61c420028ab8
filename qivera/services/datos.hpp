#pragma once
#include <optional>

#include "kx204/host/servicios.hpp"
#include "qivera/sesion/sesion.hpp"

namespace qivera {

// objDatos: clients' credit and receivables. The receivables are written on the session's
// connection, inside the caller's transaction.
class DatosQivera : public kx204::host::Datos {
public:
    explicit DatosQivera(Sesion& sesion) : sesion_(sesion) {}
    double CreditoDisponible(const std::string& cliente, int opcion) override;
    std::string MensajeError() override { return error_; }
    // The receivable last created by this instance.
    bool ObtenCuenta(kx204::host::CuentaCxc& cuenta) override;
    // Pays abono.cxcFolio: a Pago_Cxc row, and every balance of the receivable lowered alike.
    bool RegistraAbono(const kx204::host::AbonoCxc& abono, bool a, bool b, bool c) override;
    // Creates a receivable with a new folio.
    bool RegistraCuenta(const kx204::host::CuentaCxc& cuenta, bool a, bool b) override;
    // A tax balance of the receivable last created.
    bool AgregaImpuesto(const kx204::host::ImpuestoCxc& impuesto) override;
    bool CancelaCuentaPorCobrar(const std::string& tabla, const std::string& folio) override;
    bool CancelaPagos(const std::string& tabla, const std::string& folio) override;

private:
    Sesion& sesion_;
    std::string error_;
    std::optional<kx204::host::CuentaCxc> creada_;
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
