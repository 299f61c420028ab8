#include "qivera/signing/firma_documentos.hpp"
#include "kx204/host/transaction.hpp"

#include <cstdlib>
#include <fstream>

#include <QFileInfo>

#include "kx204/host/runtime_error.hpp"
#include "qivera/cfdi/cadena_original.hpp"
#include "qivera/db/sql.hpp"
#include "qivera/printing/carpetas.hpp"
#include "qivera/printing/factura_guardada.hpp"
#include "qivera/services/interfaz.hpp"
#include "qivera/services/listas.hpp"
#include "qivera/services/servicios.hpp"
#include "qivera/signing/ajuste_redondeo.hpp"
#include "qivera/signing/cfdi.hpp"
#include "qivera/signing/credenciales.hpp"
#include "qivera/signing/csd.hpp"
#include "qivera/signing/sustitucion_cfdi.hpp"
#include "qivera/signing/timbrado.hpp"
#include "qivera/signing/timbrado_pendiente.hpp"

namespace qivera {

using kx204::host::Currency;
using kx204::host::Date;
using kx204::host::RuntimeError;
using kx204::host::SqlText;

namespace {

constexpr long kErrorFirma = 5;  // VB's "Invalid procedure call or argument"
constexpr const char* kTipoFactura = "1";

[[noreturn]] void Rechaza(const std::string& motivo) { throw RuntimeError(kErrorFirma, motivo); }

std::string Variable(Sesion& sesion, const char* nombre, const char* que) {
    std::string valor = ValorVariable(sesion.conexion, nombre);
    if (valor.empty()) Rechaza(std::string("No hay ") + que + " para firmar (variable " + nombre + ")");
    return valor;
}

// The CSD the variables name: the .key and .cer files and the file holding the key's password.
Csd CsdConfigurado(Sesion& sesion) {
    const std::string llave = Variable(sesion, "CFDI_CSD_LLAVE", "llave privada del CSD");
    const std::string certificado = Variable(sesion, "CFDI_CSD_CERTIFICADO", "certificado del CSD");
    const std::string archivoClave = Variable(sesion, "CFDI_CSD_CONTRASENA", "contraseña de la llave del CSD");
    std::ifstream entrada(archivoClave);
    std::string contrasena;
    if (!entrada || !std::getline(entrada, contrasena))
        Rechaza("No se pudo leer la contraseña de la llave del CSD (archivo " + archivoClave +
                ", variable CFDI_CSD_CONTRASENA)");
    if (!contrasena.empty() && contrasena.back() == '\r') contrasena.pop_back();
    return LeeCsd(llave, certificado, contrasena);
}

// How long the provider may take, in seconds (CFDI_TIMBRADO_ESPERA); two minutes unless set.
int EsperaTimbrado(Sesion& sesion) {
    const std::string texto = ValorVariable(sesion.conexion, "CFDI_TIMBRADO_ESPERA");
    const int segundos = texto.empty() ? 0 : std::atoi(texto.c_str());
    return segundos > 0 ? segundos : 120;
}

}  // namespace

std::vector<std::string> FaltaParaEmitirCfdi(kx204::host::Connection& conexion) {
    std::vector<std::string> falta;
    if (!PrimerValor(conexion, "SELECT Sr_Serie FROM Serie WHERE Sr_Digital = 1"))
        falta.emplace_back("a digital series (Sr_Digital 1 in Serie)");
    for (const char* nombre : {"CFDI_EMISOR_RFC", "CFDI_EMISOR_NOMBRE", "CFDI_EMISOR_REGIMEN"})
        if (ValorVariable(conexion, nombre).empty()) falta.push_back(std::string("the variable ") + nombre);
    for (const char* nombre : {"CFDI_CSD_LLAVE", "CFDI_CSD_CERTIFICADO", "CFDI_CSD_CONTRASENA"}) {
        const std::string archivo = ValorVariable(conexion, nombre);
        const QFileInfo info(QString::fromStdString(archivo));
        if (archivo.empty())
            falta.push_back(std::string("the variable ") + nombre);
        else if (!info.isFile() || !info.isReadable())
            falta.push_back("a readable " + archivo + " (variable " + nombre + ")");
    }
    for (const std::string& sucursal : PrimeraColumna(
             conexion,
             "SELECT DISTINCT s.Sc_Cve_Sucursal FROM Serie s JOIN Sucursal c ON c.Sc_Cve_Sucursal = s.Sc_Cve_Sucursal "
             "WHERE s.Sr_Digital = 1 AND c.Sc_Codigo_Postal = '' ORDER BY s.Sc_Cve_Sucursal"))
        falta.push_back("the postal code of branch " + sucursal + " (Sc_Codigo_Postal)");
    return falta;
}

std::string FirmaDocumentos::Firma(const std::string& documento) {
    try {
        return FirmaFolio(FolioDe(documento)).error;
    } catch (const RuntimeError& error) {
        return error.description;
    }
}

FirmaDocumentos::Resultado FirmaDocumentos::FirmaFolio(const std::string& folio) {
    try {
        const Comprobante c = FirmaFactura(folio);
        return {folio, c.uuid, c.archivo, {}};
    } catch (const RuntimeError& error) {
        AnotaFallo(sesion_.conexion, folio, error.description);
        return {folio, {}, {}, error.description};
    }
}

std::vector<FirmaDocumentos::Resultado> FirmaDocumentos::ReintentaPendientes(const std::string& sucursal) {
    std::vector<Resultado> resultados;
    for (const std::string& folio : FoliosPendientes(sesion_.conexion, sucursal))
        resultados.push_back(FirmaFolio(folio));
    return resultados;
}

std::string FirmaDocumentos::FolioDe(const std::string& documento) const {
    const std::size_t primera = documento.find('|');
    const std::size_t segunda = primera == std::string::npos ? primera : documento.find('|', primera + 1);
    if (segunda == std::string::npos) Rechaza("Clave de documento no válida: " + documento);
    const std::string base = documento.substr(0, primera);
    if (base != sesion_.conexion.DefaultDatabase())
        Rechaza("El documento es de la base de datos " + base + ", no de " + sesion_.conexion.DefaultDatabase());
    if (documento.substr(primera + 1, segunda - primera - 1) != kTipoFactura)
        Rechaza("Tipo de documento no admitido: " + documento);
    return documento.substr(segunda + 1);
}

bool FirmaDocumentos::EstaFirmada(const std::string& folio) const {
    return PrimerValor(sesion_.conexion,
                       "SELECT Cd_Documento FROM Comprobante_Digital WHERE Cd_Tabla = 'Factura' AND Cd_Documento = '" +
                           SqlText(folio) + "'")
        .has_value();
}

// Seals a new CFDI of the invoice, or takes the one already sealed and waiting, so that a retry sends the
// provider the very same XML; then has it stamped outside any transaction and keeps the answer.
Comprobante FirmaDocumentos::FirmaFactura(const std::string& folio) {
    if (sesion_.conexion.InTransaction()) Rechaza("La factura " + folio + " no se firma con una transacción abierta");
    if (EstaFirmada(folio)) Rechaza("La factura " + folio + " ya está firmada");
    std::optional<Comprobante> pendiente = LeePendiente(sesion_.conexion, folio);
    if (!pendiente) pendiente = SellaYRegistra(folio);
    Comprobante c = std::move(*pendiente);
    const std::string comando = ComandoTimbrado(sesion_.conexion);
    if (!comando.empty()) {
        try {
            c.xml = Timbra(comando, c.xml, EsperaTimbrado(sesion_));
        } catch (const TimbreRechazado&) {
            DescartaPendiente(sesion_.conexion, folio);
            throw;
        }
        c.uuid = UuidDelTimbre(c.xml, c.sello);
        c.timbrado = true;
    }
    // The file before the row: a failure between them leaves the pending row, and the retry rewrites
    // the same file.
    GuardaArchivo(c.archivo, c.xml);
    try {
        GuardaComprobante(sesion_.conexion, c);
    } catch (const RuntimeError&) {
        // Another clerk's Firmar sent the same XML and kept it first.
        if (EstaFirmada(folio)) Rechaza("La factura " + folio + " ya está firmada");
        throw;
    }
    if (sesion_.registra) sesion_.registra("sign", folio, c.archivo);
    if (c.timbrado) CancelaLosQueSustituye(c.uuid);
    return c;
}

// The invoice is signed whatever the cancellations of the CFDIs it replaces answer: the clerk is told, and
// `qivera timbrar --pendientes` asks again.
void FirmaDocumentos::CancelaLosQueSustituye(const std::string& uuid) {
    try {
        for (const CancelacionSustituida& c : CancelaSustituidos(sesion_.conexion, uuid))
            if (sesion_.registra) sesion_.registra("sustitucion", c.folio, c.error.empty() ? c.estado : c.error);
    } catch (const RuntimeError& fallo) {
        if (sesion_.registra) sesion_.registra("sustitucion", {}, fallo.description);
    }
}

// The seal, the books made to agree with it and the intent to stamp, committed together. When another
// clerk sealed the invoice meanwhile, theirs is the one to send.
Comprobante FirmaDocumentos::SellaYRegistra(const std::string& folio) {
    Sellado sellado;
    try {
        kx204::host::Transaction transaccion(sesion_.conexion);
        sellado = Sella(folio);
        RegistraPendiente(sesion_.conexion, sellado.comprobante);
        transaccion.Commit();
    } catch (const RuntimeError&) {
        if (EstaFirmada(folio)) Rechaza("La factura " + folio + " ya está firmada");
        if (std::optional<Comprobante> suyo = LeePendiente(sesion_.conexion, folio)) return *suyo;
        throw;
    }
    if (sellado.ajuste != Currency() && sesion_.registra) sesion_.registra("ajuste", folio, sellado.ajuste.ToString());
    return sellado.comprobante;
}

FirmaDocumentos::Sellado FirmaDocumentos::Sella(const std::string& folio) {
    const std::optional<FacturaGuardada> factura = LeeFactura(sesion_.conexion, folio, Alcance::Renglones);
    if (!factura) Rechaza("No existe la factura " + folio);
    const Csd csd = CsdConfigurado(sesion_);
    // The CFDI is issued now by the server's clock, whatever day the session works on: a provider stamps
    // only a CFDI issued in the last hours. The books date the digital document by the session's day.
    const Date momento = sesion_.reloj.Ahora(sesion_.conexion);
    ExigeVigenciaCsd(csd, momento);
    NodoXml cfdi = ComprobanteCfdi(*factura, LeeDatosCfdi(sesion_.conexion, *factura, sesion_.periodoGlobal), momento,
                                   csd.noCertificado, csd.certificadoBase64);
    Comprobante c;
    c.folio = folio;
    c.fecha = sesion_.Ahora().ToIsoDateTime();
    c.cadenaOriginal = CadenaOriginal(cfdi);
    c.certificado = csd.certificadoBase64;
    c.noCertificado = csd.noCertificado;
    c.archivo = RutaDocumento(CarpetaDocumentos(sesion_.conexion, "FAC_FIRMA_DIRECTORIO", "comprobantes"),
                              factura->factura.empty() ? folio : factura->factura, "xml");
    c.sello = Base64(FirmaRsaSha256(csd.llave.get(), c.cadenaOriginal));
    cfdi.Pon("Sello", c.sello);
    c.xml = EscribeXml(cfdi);
    return {c, IgualaLibrosAlCfdi(sesion_.conexion, *factura, cfdi)};
}

}  // namespace qivera
