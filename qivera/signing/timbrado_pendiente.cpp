#include "qivera/signing/timbrado_pendiente.hpp"

#include "kx204/host/transaction.hpp"
#include "qivera/db/sql.hpp"
#include "qivera/signing/sustitucion_cfdi.hpp"

namespace qivera {

namespace {

constexpr const char* kDondeFactura = " WHERE Tp_Tabla = 'Factura' AND Tp_Documento = ";

// The sealed CFDI's columns, which both tables name alike after their prefix ("Tp_", "Cd_").
std::vector<Valor> Columnas(const std::string& prefijo, const Comprobante& c) {
    return {{prefijo + "Tabla", "'Factura'"},
            {prefijo + "Documento", LiteralTexto(c.folio)},
            {prefijo + "Fecha", LiteralTexto(c.fecha)},
            {prefijo + "Cadena_Original", LiteralTexto(c.cadenaOriginal)},
            {prefijo + "Sello", LiteralTexto(c.sello)},
            {prefijo + "Certificado", LiteralTexto(c.certificado)},
            {prefijo + "No_Certificado", LiteralTexto(c.noCertificado)},
            {prefijo + "Archivo", LiteralTexto(c.archivo)},
            {prefijo + "Xml", LiteralTexto(c.xml)}};
}

}  // namespace

std::optional<Comprobante> LeePendiente(kx204::host::Connection& conexion, const std::string& folio) {
    const auto rs = conexion.Execute(
        "SELECT Tp_Fecha, Tp_Cadena_Original, Tp_Sello, Tp_Certificado, Tp_No_Certificado, Tp_Archivo, Tp_Xml FROM "
        "Timbrado_Pendiente" +
        std::string(kDondeFactura) + LiteralTexto(folio));
    if (rs->Eof()) return std::nullopt;
    Comprobante c;
    c.folio = folio;
    c.fecha = rs->Field(0).ToDate().ToIsoDateTime();
    c.cadenaOriginal = rs->Field(1).ToTextOrEmpty();
    c.sello = rs->Field(2).ToTextOrEmpty();
    c.certificado = rs->Field(3).ToTextOrEmpty();
    c.noCertificado = rs->Field(4).ToTextOrEmpty();
    c.archivo = rs->Field(5).ToTextOrEmpty();
    c.xml = rs->Field(6).ToTextOrEmpty();
    return c;
}

void RegistraPendiente(kx204::host::Connection& conexion, const Comprobante& c) {
    kx204::host::Transaction transaccion(conexion, kx204::host::Transaction::Mode::JoinOrBegin);
    InsertaFila(conexion, "Timbrado_Pendiente", Columnas("Tp_", c));
    transaccion.Commit();
}

void DescartaPendiente(kx204::host::Connection& conexion, const std::string& folio) {
    conexion.Execute("DELETE FROM Timbrado_Pendiente" + std::string(kDondeFactura) + LiteralTexto(folio));
}

void AnotaFallo(kx204::host::Connection& conexion, const std::string& folio, const std::string& motivo) noexcept {
    try {
        conexion.Execute("UPDATE Timbrado_Pendiente SET Tp_Ultimo_Error = " + LiteralTexto(motivo) + kDondeFactura +
                         LiteralTexto(folio));
    } catch (...) {
        // the pending row and the clerk's message are what count
    }
}

void GuardaComprobante(kx204::host::Connection& conexion, const Comprobante& c) {
    kx204::host::Transaction transaccion(conexion);
    std::vector<Valor> columnas = Columnas("Cd_", c);
    columnas.emplace_back("Cd_Uuid", LiteralTexto(c.uuid));
    columnas.emplace_back("Cd_Timbrado", c.timbrado ? "1" : "0");
    InsertaFila(conexion, "Comprobante_Digital", columnas);
    if (c.timbrado) AnotaSustituto(conexion, c.xml, c.uuid);
    DescartaPendiente(conexion, c.folio);
    transaccion.Commit();
}

std::vector<std::string> FoliosPendientes(kx204::host::Connection& conexion, const std::string& sucursal) {
    return PrimeraColumna(conexion,
                          "SELECT Tp_Documento FROM Timbrado_Pendiente JOIN Factura ON Factura.Fc_Folio = "
                          "Timbrado_Pendiente.Tp_Documento WHERE Tp_Tabla = 'Factura'" +
                              (sucursal.empty() ? "" : " AND Factura.Sc_Cve_Sucursal = " + LiteralTexto(sucursal)) +
                              " ORDER BY Tp_Documento");
}

}  // namespace qivera
