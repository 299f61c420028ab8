#include "qivera/services/cancelacion_factura.hpp"

#include <optional>
#include <string_view>

#include "kx204/host/texto.hpp"
#include "qivera/services/consecutivo.hpp"
#include "qivera/services/interfaz.hpp"
#include "qivera/services/listas.hpp"
#include "qivera/services/servicios.hpp"

namespace qivera {

using kx204::host::Date;

namespace {

constexpr std::string_view kTipoFactura = "1|";

std::string CondicionComprobante(const std::string& folio) {
    return " WHERE Cd_Tabla = 'Factura' AND Cd_Documento = " + LiteralTexto(folio);
}

bool MismoMes(const Date& a, const Date& b) { return a.Year() == b.Year() && a.Month() == b.Month(); }

}  // namespace

bool CancelacionFacturaQivera::CancelaFactura(const std::string& folio, int) {
    error_.clear();
    const std::string condicion = " WHERE Fc_Folio = " + LiteralTexto(folio);
    const std::optional<kx204::host::Variant> estado =
        PrimerValor(sesion_.conexion, "SELECT Es_Cve_Estado FROM Factura" + condicion);
    if (!estado)
        error_ = "No existe la factura " + folio;
    else if (kx204::host::Mayusculas(estado->ToTextOrEmpty()) == "CA")
        error_ = "La factura " + folio + " ya está cancelada";
    if (!error_.empty()) return false;
    const std::string asignaciones =
        Asignaciones(ConSellos(sesion_, {{"Es_Cve_Estado", "'CA'"}, {"Oper_Baja", LiteralTexto(sesion_.usuario)}}));
    for (const char* tabla : {"Factura", "Factura_Encabezado"})
        sesion_.conexion.Execute(std::string("UPDATE ") + tabla + " SET " + asignaciones + condicion);
    try {
        CancelaCfdi(folio);
    } catch (const kx204::host::RuntimeError& error) {
        error_ = error.description;
        return false;
    }
    return true;
}

// The digital document falls with the invoice, in the same transaction; a stamp only once the tax
// authority has cancelled it, or when it waits for its replacement.
void CancelacionFacturaQivera::CancelaCfdi(const std::string& folio) {
    const std::optional<kx204::host::Variant> vigente =
        PrimerValor(sesion_.conexion, "SELECT Cd_Estado_Cancelacion FROM Comprobante_Digital" +
                                          CondicionComprobante(folio) + " AND Cd_Timbrado = 1 AND Cd_Cancelado = 0");
    if (!vigente) {
        sesion_.conexion.Execute("UPDATE Comprobante_Digital SET Cd_Cancelado = 1" + CondicionComprobante(folio));
        return;
    }
    if (vigente->ToTextOrEmpty() != kPorSustituir)
        throw kx204::host::RuntimeError(5, "El CFDI de la factura " + folio + " no está cancelado ante el SAT");
    // Read before the notes are released, which is the deletion's next step.
    const std::string documento = LiteralTexto(folio);
    sesion_.conexion.Execute("DELETE FROM Cfdi_Sustituido WHERE Cs_Documento = " + documento);
    sesion_.conexion.Execute("INSERT INTO Cfdi_Sustituido (Cs_Documento, Vn_Folio) SELECT DISTINCT " + documento +
                             ", Vn_Folio FROM Venta WHERE Fc_Folio = " + documento);
}

ValidacionDocumento ValidaCancelacion(Sesion& sesion, const std::string& documento) {
    if (!documento.starts_with(kTipoFactura) || documento.size() == kTipoFactura.size())
        return {false, "Clave de documento no válida: " + documento + " (se espera 1|<folio de la factura>)", {}};
    const std::string folio = documento.substr(kTipoFactura.size());
    auto rs =
        sesion.conexion.Execute("SELECT Cd_Fecha, Cd_Cancelado FROM Comprobante_Digital" + CondicionComprobante(folio));
    const bool firmada = !rs->Eof();
    const bool yaCancelado = firmada && rs->Field(1).ToLong() != 0;
    const std::optional<kx204::host::Date> firmadoEl = firmada ? std::optional(rs->Field(0).ToDate()) : std::nullopt;
    rs->Close();
    const bool cancelable = firmada && (yaCancelado || MismoMes(*firmadoEl, InterfazQivera(sesion).FechaServidor()));
    if (!firmada) return {true, {}, {}};
    if (!cancelable) return {false, "El comprobante digital de la factura " + folio + " ya no puede cancelarse", {}};
    return {true, {}, {}};
}

}  // namespace qivera
