#include "qivera/services/series.hpp"

#include "qivera/db/sql.hpp"

namespace qivera {

using kx204::host::SqlText;

namespace {

std::string ClaveSerie(const std::string& sucursal, const std::string& serie) {
    return " WHERE Sc_Cve_Sucursal = '" + SqlText(sucursal) + "' AND Sr_Serie = '" + SqlText(serie) + "'";
}

std::string SerieInexistente(const std::string& sucursal, const std::string& serie) {
    return "La serie " + serie + " no existe en la sucursal " + sucursal;
}

std::string NumeroUtilizado(const std::string& serie, long numero) {
    return "El número " + std::to_string(numero) + " de la serie " + serie + " ya fue utilizado";
}

}  // namespace

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
    const std::string numeroSql = std::to_string(numero);
    // One statement decides: a clerk who reserved the number first holds the row until their
    // commit, and then this condition no longer holds.
    if (sesion_.conexion.ExecuteNonQuery("UPDATE Serie SET Sr_Ultimo_Numero = " + numeroSql +
                                         ClaveSerie(sucursal, serie) + " AND Sr_Ultimo_Numero < " + numeroSql) == 1)
        return true;
    long siguiente = 0;
    error = Siguiente(sucursal, serie, siguiente) ? NumeroUtilizado(serie, numero) : SerieInexistente(sucursal, serie);
    return false;
}

bool SeriesQivera::TomaLibre(const std::string& sucursal, const std::string& serie, long& numero, std::string& error) {
    const std::string clave = ClaveSerie(sucursal, serie), numeroSql = std::to_string(numero);
    // One statement takes the number or, when another clerk got there first, the one after theirs. The
    // row stays locked until the commit: a second clerk waits here and then counts on from this one.
    if (sesion_.conexion.ExecuteNonQuery("UPDATE Serie SET Sr_Ultimo_Numero = CASE WHEN Sr_Ultimo_Numero < " +
                                         numeroSql + " THEN " + numeroSql + " ELSE Sr_Ultimo_Numero + 1 END" + clave) ==
        0) {
        error = SerieInexistente(sucursal, serie);
        return false;
    }
    const long tomado = PrimerValor(sesion_.conexion, "SELECT Sr_Ultimo_Numero FROM Serie" + clave)->ToLong();
    if (tomado != numero) {
        // Told once the invoice is stored, so that nobody waits on this row while the clerk reads.
        const std::string aviso =
            NumeroUtilizado(serie, numero) + "; la factura se guardó con el número " + std::to_string(tomado);
        Persona& persona = sesion_.persona;
        sesion_.conexion.TrasConfirmar([&persona, aviso] { persona.Mensaje(aviso, 64, "Qivera", ""); });
    }
    numero = tomado;
    return true;
}

bool SeriesQivera::Siguiente(const std::string& sucursal, const std::string& serie, long& numero) {
    auto rs = sesion_.conexion.Execute("SELECT Sr_Ultimo_Numero FROM Serie" + ClaveSerie(sucursal, serie));
    const bool existe = !rs->Eof();
    if (existe) numero = rs->Field(0).ToLong() + 1;
    rs->Close();
    return existe;
}

}  // namespace qivera
