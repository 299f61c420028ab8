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

long SeriesQivera::UltimoNumero(const std::string& sucursal, const std::string& serie, bool& existe) {
    auto rs = sesion_.conexion.Execute("SELECT Sr_Ultimo_Numero FROM Serie WHERE Sc_Cve_Sucursal = '" +
                                       SqlText(sucursal) + "' AND Sr_Serie = '" + SqlText(serie) + "'");
    existe = !rs->Eof();
    const long ultimo = existe ? rs->Field(0).ToLong() : 0;
    rs->Close();
    return ultimo;
}

bool SeriesQivera::Reserva(const std::string& sucursal, const std::string& serie, long numero, std::string& error) {
    bool existe = false;
    const long ultimo = UltimoNumero(sucursal, serie, existe);
    if (!existe) {
        error = "La serie " + serie + " no existe en la sucursal " + sucursal;
        return false;
    }
    if (numero <= ultimo) {
        error = "El número " + std::to_string(numero) + " de la serie " + serie + " ya fue utilizado";
        return false;
    }
    sesion_.conexion.Execute("UPDATE Serie SET Sr_Ultimo_Numero = " + std::to_string(numero) +
                             " WHERE Sc_Cve_Sucursal = '" + SqlText(sucursal) + "' AND Sr_Serie = '" + SqlText(serie) +
                             "'");
    return true;
}

}  // namespace qivera
