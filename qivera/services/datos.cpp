#include "qivera/services/datos.hpp"

#include "kx204/host/currency.hpp"
#include "qivera/services/listas.hpp"

namespace qivera {

using kx204::host::SqlText;

namespace {

// The condition that lets everything through, for users without one of their own.
constexpr const char* kSinFiltro = "1 = 1";

bool EnBlanco(const std::string& texto) { return texto.find_first_not_of(" \t\r\n") == std::string::npos; }

}  // namespace

double DatosQivera::CreditoDisponible(const std::string& cliente, int /*opcion*/) {
    const std::string clave = SqlText(cliente);
    const auto limite =
        PrimerValor(sesion_.conexion, "SELECT Cl_Limite_Credito FROM Cliente WHERE Cl_Cve_Cliente = '" + clave + "'");
    if (!limite) return 0;
    // Summed row by row in fixed point, so that cents never drift.
    kx204::host::Currency disponible = limite->ToCurrency();
    auto rs = sesion_.conexion.Execute("SELECT Cxc_Precio_Neto_Saldo FROM Cuenta_x_Cobrar WHERE Cl_Cve_Cliente = '" +
                                       clave + "' AND Es_Cve_Estado <> 'CA'");
    for (; !rs->Eof(); rs->MoveNext()) disponible -= rs->Field(0).ToCurrency();
    rs->Close();
    return disponible.ToDouble();
}

std::string AuxiliarQivera::FiltroAdicional(int /*opcion*/) {
    const auto condicion =
        PrimerValor(sesion_.conexion, "SELECT Fu_Condicion FROM Filtro_Usuario WHERE Us_Cve_Usuario = '" +
                                          SqlText(sesion_.usuario) + "'");
    const std::string texto = condicion ? condicion->ToTextOrEmpty() : std::string();
    return EnBlanco(texto) ? kSinFiltro : texto;
}

}  // namespace qivera
