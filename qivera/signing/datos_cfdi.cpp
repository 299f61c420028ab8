#include "qivera/signing/datos_cfdi.hpp"

#include "kx204/host/runtime_error.hpp"
#include "qivera/db/sql.hpp"
#include "qivera/services/cancelacion_factura.hpp"
#include "qivera/services/servicios.hpp"

namespace qivera {

namespace {

using kx204::host::Connection;
using kx204::host::Currency;

[[noreturn]] void Falta(const std::string& que) {
    throw kx204::host::RuntimeError(5, "No se puede emitir el CFDI: falta " + que);
}

std::string Requerido(const std::string& valor, const std::string& que) {
    if (valor.empty()) Falta(que);
    return valor;
}

std::string Variable(Connection& conexion, const char* nombre, const char* que) {
    return Requerido(ValorVariable(conexion, nombre), std::string(que) + " (variable " + nombre + ")");
}

std::string Texto(Connection& conexion, const std::string& sentencia) {
    const auto valor = PrimerValor(conexion, sentencia);
    return valor ? valor->ToTextOrEmpty() : std::string();
}

void Receptor(Connection& conexion, const FacturaGuardada& factura, DatosCfdi& datos) {
    auto rs = conexion.Execute(
        "SELECT Cl_R_F_C, Cl_Razon_Social_1, Cl_Descripcion, Cl_Regimen_Fiscal, Cl_Codigo_Postal, Cl_Uso_CFDI "
        "FROM Cliente WHERE Cl_Cve_Cliente = " +
        LiteralTexto(factura.cliente));
    if (rs->Eof()) Falta("el cliente " + factura.cliente);
    datos.receptorRfc = rs->Field(0).ToTextOrEmpty();
    const std::string razonSocial = rs->Field(1).ToTextOrEmpty();
    datos.receptorNombre = razonSocial.empty() ? rs->Field(2).ToTextOrEmpty() : razonSocial;
    datos.receptorRegimen = rs->Field(3).ToTextOrEmpty();
    datos.receptorDomicilio = rs->Field(4).ToTextOrEmpty();
    datos.usoCfdi = rs->Field(5).ToTextOrEmpty();
    rs->Close();
    const std::string cliente = "del cliente " + factura.cliente;
    Requerido(datos.receptorRfc, "el RFC " + cliente);
    if (datos.receptorRfc == kRfcPublicoEnGeneral) {
        // The general public has no fiscal data of its own: the SAT's fixed ones, at the place of issue.
        datos.receptorNombre = "PUBLICO EN GENERAL";
        datos.receptorRegimen = "616";
        datos.receptorDomicilio = datos.lugarExpedicion;
        datos.usoCfdi = "S01";
        return;
    }
    Requerido(datos.receptorRegimen, "el régimen fiscal " + cliente);
    Requerido(datos.receptorDomicilio, "el código postal fiscal " + cliente);
    Requerido(datos.usoCfdi, "el uso del CFDI " + cliente);
}

// A credit invoice is paid later: PPD, the form "to be defined". A cash one takes the form that paid
// most of its notes; when none names one it is still to be defined.
void Pago(Connection& conexion, const FacturaGuardada& factura, DatosCfdi& datos) {
    const std::string forma = Texto(
        conexion,
        // Each note's amount first, so that a header is looked up once per note rather than per line.
        "SELECT fp.Fp_Clave_SAT FROM (SELECT Vn_Folio, sum(Vn_Precio_Neto_Importe) AS Importe FROM Venta WHERE "
        "Fc_Folio = " +
            LiteralTexto(factura.folio) +
            " GROUP BY Vn_Folio) v JOIN Venta_Encabezado e ON e.Vn_Folio = v.Vn_Folio JOIN Forma_Pago fp ON "
            "fp.Fp_Cve_Forma_Pago = e.Vn_Forma_Pago WHERE fp.Fp_Clave_SAT NOT IN ('', '99') GROUP BY fp.Fp_Clave_SAT "
            "ORDER BY sum(v.Importe) DESC, fp.Fp_Clave_SAT");
    const bool credito =
        Texto(conexion, "SELECT Fc_Credito FROM Factura WHERE Fc_Folio = " + LiteralTexto(factura.folio)) == "SI";
    if (datos.receptorRfc == kRfcPublicoEnGeneral) {
        datos.metodoPago = "PUE";
        datos.formaPago = Requerido(forma, "la forma de pago de las notas de la factura global " + factura.folio);
        return;
    }
    datos.metodoPago = credito || forma.empty() ? "PPD" : "PUE";
    datos.formaPago = datos.metodoPago == "PPD" ? "99" : forma;
}

// The SAT's keys of the tax `clave`, once; none for an empty one.
void Impuesto(Connection& conexion, const std::string& clave, DatosCfdi& datos) {
    if (clave.empty() || datos.impuestos.count(clave)) return;
    auto rs = conexion.Execute(
        "SELECT Im_Impuesto_SAT, Im_Tipo_Factor, Im_Tasa FROM Impuesto WHERE Im_Cve_Impuesto = " + LiteralTexto(clave));
    if (rs->Eof()) Falta("el impuesto " + clave);
    ImpuestoSat impuesto{rs->Field(0).ToTextOrEmpty(), rs->Field(1).ToTextOrEmpty(), rs->Field(2).ToCurrency()};
    rs->Close();
    if (impuesto.impuesto.empty()) impuesto.impuesto = "002";
    if (impuesto.tipoFactor.empty()) impuesto.tipoFactor = "Tasa";
    datos.impuestos[clave] = impuesto;
}

void Catalogos(Connection& conexion, const FacturaGuardada& factura, DatosCfdi& datos) {
    for (const RenglonGuardado& renglon : factura.renglones) {
        if (!datos.productos.count(renglon.producto)) {
            auto rs = conexion.Execute(
                "SELECT Pr_Clave_Prod_Serv, Pr_Clave_Unidad, Pr_Objeto_Impuesto FROM Producto WHERE "
                "Pr_Cve_Producto = " +
                LiteralTexto(renglon.producto));
            ProductoSat producto;
            if (!rs->Eof())
                producto = {rs->Field(0).ToTextOrEmpty(), rs->Field(1).ToTextOrEmpty(), rs->Field(2).ToTextOrEmpty()};
            rs->Close();
            // A product not classified yet takes the SAT's own "not in the catalog" key, sold by the piece.
            if (producto.claveProdServ.empty()) producto.claveProdServ = "01010101";
            if (producto.claveUnidad.empty()) producto.claveUnidad = "H87";
            if (producto.objetoImpuesto.empty()) producto.objetoImpuesto = renglon.impuesto.empty() ? "01" : "02";
            datos.productos[renglon.producto] = producto;
        }
        Impuesto(conexion, renglon.impuesto, datos);
    }
}

// Each note's amounts from its lines, by tax; the taxes' SAT keys too.
void Notas(Connection& conexion, const FacturaGuardada& factura, DatosCfdi& datos) {
    auto rs = conexion.Execute(
        "SELECT Vn_Folio, Im_Cve_Impuesto, sum(Vn_Precio_Descontado_Importe), sum(Vn_Descuento_Global_Importe) FROM "
        "Venta WHERE Fc_Folio = " +
        LiteralTexto(factura.folio) + " GROUP BY Vn_Folio, Im_Cve_Impuesto ORDER BY Vn_Folio, Im_Cve_Impuesto");
    for (; !rs->Eof(); rs->MoveNext()) {
        const std::string folio = rs->Field(0).ToTextOrEmpty(), impuesto = rs->Field(1).ToTextOrEmpty();
        if (datos.notas.empty() || datos.notas.back().folio != folio) datos.notas.push_back({folio, {}, {}, {}});
        NotaGlobal& nota = datos.notas.back();
        const Currency importe = rs->Field(2).ToCurrency(), descuento = rs->Field(3).ToCurrency();
        nota.importe = nota.importe + importe;
        nota.descuento = nota.descuento + descuento;
        nota.bases[impuesto] = importe - descuento;
    }
    rs->Close();
    for (const NotaGlobal& nota : datos.notas)
        for (const auto& [impuesto, base] : nota.bases) Impuesto(conexion, impuesto, datos);
}

// The notes of one day make a daily global invoice; longer, a monthly one of the latest note's month.
void Global(Connection& conexion, const FacturaGuardada& factura, DatosCfdi& datos) {
    auto rs = conexion.Execute("SELECT min(e.Vn_Fecha), max(e.Vn_Fecha) FROM Venta_Encabezado e WHERE e.Fc_Folio = " +
                               LiteralTexto(factura.folio));
    kx204::host::Date desde = factura.fecha, hasta = factura.fecha;
    if (!rs->Eof() && !rs->Field(0).IsNull()) {
        desde = rs->Field(0).ToDate();
        hasta = rs->Field(1).ToDate();
    }
    rs->Close();
    const std::string mes = std::string(hasta.Month() < 10 ? "0" : "") + std::to_string(hasta.Month());
    datos.global = PeriodoGlobal{desde.ToIso() == hasta.ToIso() ? "01" : "04", mes, std::to_string(hasta.Year())};
}

// The CFDIs a Delete with reason 01 set aside whose notes this invoice now carries, while none has a
// replacement stamped yet.
std::vector<std::string> Sustituidos(Connection& conexion, const FacturaGuardada& factura) {
    return PrimeraColumna(conexion,
                          "SELECT DISTINCT c.Cd_Uuid FROM Comprobante_Digital c JOIN Cfdi_Sustituido s ON "
                          "s.Cs_Documento = c.Cd_Documento JOIN Venta v ON v.Vn_Folio = s.Vn_Folio WHERE c.Cd_Tabla = "
                          "'Factura' AND c.Cd_Timbrado = 1 AND c.Cd_Cancelado = 0 AND c.Cd_Estado_Cancelacion = " +
                              LiteralTexto(kPorSustituir) + " AND c.Cd_Uuid_Sustituto = '' AND v.Fc_Folio = " +
                              LiteralTexto(factura.folio) + " ORDER BY c.Cd_Uuid");
}

}  // namespace

DatosCfdi LeeDatosCfdi(Connection& conexion, const FacturaGuardada& factura,
                       const std::optional<PeriodoGlobal>& periodo) {
    DatosCfdi datos;
    datos.emisorRfc = Variable(conexion, "CFDI_EMISOR_RFC", "el RFC del emisor");
    datos.emisorNombre = Variable(conexion, "CFDI_EMISOR_NOMBRE", "la razón social del emisor");
    datos.emisorRegimen = Variable(conexion, "CFDI_EMISOR_REGIMEN", "el régimen fiscal del emisor");
    datos.lugarExpedicion = Requerido(Texto(conexion, "SELECT Sc_Codigo_Postal FROM Sucursal WHERE Sc_Cve_Sucursal = " +
                                                          LiteralTexto(factura.sucursal)),
                                      "el código postal de la sucursal " + factura.sucursal);
    Receptor(conexion, factura, datos);
    Pago(conexion, factura, datos);
    Catalogos(conexion, factura, datos);
    datos.sustituidos = Sustituidos(conexion, factura);
    if (datos.receptorRfc == kRfcPublicoEnGeneral) {
        if (periodo)
            datos.global = periodo;
        else
            Global(conexion, factura, datos);
        Notas(conexion, factura, datos);
    }
    return datos;
}

}  // namespace qivera
