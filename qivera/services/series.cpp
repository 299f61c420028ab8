#include "qivera/services/series.hpp"

namespace qivera {

using kx204::host::SqlText;

bool SeriesQivera::Propone(const std::string& sucursal, std::string& serie, long& numero) {
    auto rs = sesion_.conexion.Execute("SELECT top 1 Sr_Serie, Sr_Ultimo_Numero FROM Serie WHERE Sc_Cve_Sucursal = '" +
                                       SqlText(sucursal) + "' ORDER BY Sr_Digital DESC, Sr_Serie");
    const bool existe = !rs->Eof();
    if (existe) {
        serie = rs->Field(0).ToTextOrEmpty();
        numero = rs->Field(1).ToLong() + 1;
    }
    rs->Close();
    return existe;
}

bool SeriesQivera::Reserva(const std::string& sucursal, const std::string& serie, long numero, std::string& error) {
    const std::string clave =
        " WHERE Sc_Cve_Sucursal = '" + SqlText(sucursal) + "' AND Sr_Serie = '" + SqlText(serie) + "'";
    const std::string numeroSql = std::to_string(numero);
    // One statement decides: a clerk who reserved the number first holds the row until their
    // commit, and then this condition no longer holds.
    if (sesion_.conexion.ExecuteNonQuery("UPDATE Serie SET Sr_Ultimo_Numero = " + numeroSql + clave +
                                         " AND Sr_Ultimo_Numero < " + numeroSql) == 1)
        return true;
    long siguiente = 0;
    const bool existe = Siguiente(sucursal, serie, siguiente);
    error = existe ? "El número " + numeroSql + " de la serie " + serie + " ya fue utilizado"
                   : "La serie " + serie + " no existe en la sucursal " + sucursal;
    return false;
}

bool SeriesQivera::Siguiente(const std::string& sucursal, const std::string& serie, long& numero) {
    auto rs = sesion_.conexion.Execute("SELECT Sr_Ultimo_Numero FROM Serie WHERE Sc_Cve_Sucursal = '" +
                                       SqlText(sucursal) + "' AND Sr_Serie = '" + SqlText(serie) + "'");
    const bool existe = !rs->Eof();
    if (existe) numero = rs->Field(0).ToLong() + 1;
    rs->Close();
    return existe;
}

}  // namespace qivera
