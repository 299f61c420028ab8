#include "qivera/services/documento_factura.hpp"

#include <cmath>

#include "kx204/host/texto.hpp"
#include "qivera/services/consecutivo.hpp"
#include "qivera/services/listas.hpp"

namespace qivera {

using kx204::host::Currency;
using kx204::host::SqlText;

namespace {

constexpr const char* kTablasFactura[] = {"Factura", "Factura_Encabezado"};
constexpr Currency kUno = Currency::FromScaled(Currency::kScale);

bool NoNegativo(double valor) { return std::isfinite(valor) && valor >= 0; }

// The line's amount, to the fourth decimal.
Currency Importe(const kx204::host::RenglonFactura& renglon) {
    return Currency::FromDouble(renglon.cantidad1 * renglon.precioUnitario);
}

bool ImporteRepresentable(const kx204::host::RenglonFactura& renglon) {
    try {
        Importe(renglon);
        return true;
    } catch (const kx204::host::RuntimeError&) {
        return false;
    }
}

// What the invoice's notes add up to, summed in fixed point so that the total matches theirs to the cent.
struct Totales {
    Currency subtotal, descuentoGlobal, impuesto, total;
};

// The engine sums whole ten-thousandths, exactly, and sends one row rather than every line of the notes.
Totales SumaNotas(kx204::host::Connection& conexion, const std::string& folio) {
    std::string sumas;
    for (const char* columna : {"Vn_Precio_Descontado_Importe", "Vn_Descuento_Global_Importe", "Vn_Impuesto_Importe",
                                "Vn_Precio_Neto_Importe"})
        sumas += std::string(sumas.empty() ? "" : ", ") + "sum(CAST(round(" + columna + " * 10000) AS BIGINT))";
    auto rs = conexion.Execute("SELECT " + sumas + " FROM Venta WHERE Fc_Folio = '" + SqlText(folio) + "'");
    const auto suma = [&](int i) {
        const kx204::host::Variant escalada = rs->Field(i);
        return escalada.IsNull() ? Currency() : Currency::FromScaled(escalada.ToCurrency().Scaled() / Currency::kScale);
    };
    const Totales t{suma(0), suma(1), suma(2), suma(3)};
    rs->Close();
    return t;
}

// The global discount as a fraction of the subtotal, as a note keeps its own.
double FactorDescuento(const Totales& t) {
    return t.subtotal == Currency() ? 0 : t.descuentoGlobal.ToDouble() / t.subtotal.ToDouble();
}

}  // namespace

void DocumentoFacturaQivera::Inicializa() {
    encabezado_ = {};
    renglones_.clear();
    productos_.clear();
    cuota_ = 0;
    error_.clear();
}

void DocumentoFacturaQivera::AsignaEncabezado(const kx204::host::EncabezadoFactura& encabezado) {
    const std::string folio = encabezado_.folio.empty() ? SiguienteFolio(sesion_, kFolioFactura) : encabezado_.folio;
    encabezado_ = encabezado;
    encabezado_.folio = folio;
}

const kx204::host::RenglonFactura& DocumentoFacturaQivera::ObtenRenglon() {
    static const kx204::host::RenglonFactura kNinguno{};
    return renglones_.empty() ? kNinguno : renglones_.back().datos;
}

void DocumentoFacturaQivera::AgregaRenglon(const kx204::host::RenglonFactura& renglon) {
    renglones_.push_back({renglon, cuota_});
    renglones_.back().datos.renglon = kx204::host::ConCeros(static_cast<long>(renglones_.size()), 4);
}

bool DocumentoFacturaQivera::RenglonCorrecto() {
    error_ = renglones_.empty() ? "La factura no tiene renglones" : ErrorRenglon(renglones_.back());
    return error_.empty();
}

std::string DocumentoFacturaQivera::ErrorRenglon(const Renglon& renglon) {
    const kx204::host::RenglonFactura& r = renglon.datos;
    const std::string en = "Renglón " + r.renglon + ": ";
    if (r.producto.empty()) return en + "falta el producto";
    const ProductoLeido& producto = Producto(r.producto);
    if (!producto.existe) return en + "el producto " + r.producto + " no existe";
    if (kx204::host::Mayusculas(producto.estado) == "BA")
        return en + "el producto " + r.producto + " está dado de baja";
    if (r.concepto.find_first_not_of(' ') == std::string::npos) return en + "falta el concepto";
    if (!NoNegativo(r.cantidad1) || !NoNegativo(r.cantidad2))
        return en + "las cantidades deben ser números mayores o iguales a cero";
    if (!NoNegativo(r.precioUnitario)) return en + "el precio unitario debe ser un número mayor o igual a cero";
    if (!NoNegativo(renglon.cuota)) return en + "la cuota fija debe ser un número mayor o igual a cero";
    if (!ImporteRepresentable(r)) return en + "el importe excede el máximo permitido";
    return {};
}

bool DocumentoFacturaQivera::Existe(const std::string& tabla, const std::string& folio) {
    return PrimerValor(sesion_.conexion, "SELECT Fc_Folio FROM " + tabla + " WHERE Fc_Folio = '" + SqlText(folio) + "'")
        .has_value();
}

bool DocumentoFacturaQivera::Graba(const std::string& folio) {
    return Atrapa(error_, [&] {
        if (folio.empty() || folio != encabezado_.folio) {
            error_ = "El folio " + folio + " no es el de esta factura (" + encabezado_.folio + ")";
            return false;
        }
        for (const char* tabla : kTablasFactura)
            if (Existe(tabla, folio)) {
                error_ = "La factura " + folio + " ya existe";
                return false;
            }
        for (const char* tabla : kTablasFactura) GrabaEncabezado(tabla);
        std::vector<std::vector<Valor>> filas;
        filas.reserve(renglones_.size());
        for (const Renglon& renglon : renglones_) filas.push_back(FilaDetalle(renglon));
        InsertaFilas(sesion_.conexion, "Factura_Detalle", filas);
        return true;
    });
}

void DocumentoFacturaQivera::GrabaEncabezado(const std::string& tabla) {
    const auto& e = encabezado_;
    InsertaFila(sesion_.conexion, tabla,
                ConSellos(sesion_, {{"Fc_Folio", LiteralTexto(e.folio)},
                                    {"Fc_Factura", LiteralTexto(e.factura)},
                                    {"Fc_Serie", LiteralTexto(e.serie)},
                                    {"Fc_Numero", std::to_string(e.numero)},
                                    {"Fc_Fecha", LiteralFecha(e.fecha)},
                                    {"Fc_Fecha_Vencimiento", LiteralFecha(e.vencimiento)},
                                    {"Fc_Tabla_Origen", LiteralTexto(e.tablaOrigen)},
                                    {"Fc_Referencia", LiteralTexto(e.referencia)},
                                    {"Fc_Comentario", LiteralTexto(e.comentario)},
                                    {"Fc_Credito", e.credito ? "'SI'" : "'NO'"},
                                    {"Mn_Cve_Moneda", LiteralTexto(e.moneda)},
                                    {"Fc_Tipo_Cambio", LiteralNumero(e.tipoCambio)},
                                    {"Sc_Cve_Sucursal", LiteralTexto(e.sucursal)},
                                    {"Al_Cve_Almacen", LiteralTexto(e.almacen)},
                                    {"Cl_Cve_Cliente", LiteralTexto(e.cliente)},
                                    {"Vn_Cve_Vendedor", LiteralTexto(e.vendedor)},
                                    {"Es_Cve_Estado", "'AC'"},
                                    {"Oper_Alta", LiteralTexto(sesion_.usuario)},
                                    {"Fecha_Alta", LiteralTexto(AhoraSQL(sesion_))}}));
}

const DocumentoFacturaQivera::ProductoLeido& DocumentoFacturaQivera::Producto(const std::string& clave) {
    auto leido = productos_.find(clave);
    if (leido != productos_.end()) return leido->second;
    auto rs = sesion_.conexion.Execute(
        "SELECT Producto.Es_Cve_Estado, Producto.Im_Cve_Impuesto, isnull(Impuesto.Im_Tasa, 0) FROM Producto LEFT "
        "JOIN Impuesto ON Impuesto.Im_Cve_Impuesto = Producto.Im_Cve_Impuesto WHERE Producto.Pr_Cve_Producto = '" +
        SqlText(clave) + "'");
    ProductoLeido producto;
    if (!rs->Eof())
        producto = {true, rs->Field(0).ToTextOrEmpty(), rs->Field(1).ToTextOrEmpty(), rs->Field(2).ToCurrency()};
    rs->Close();
    return productos_.emplace(clave, producto).first->second;
}

std::vector<Valor> DocumentoFacturaQivera::FilaDetalle(const Renglon& renglon) {
    const kx204::host::RenglonFactura& r = renglon.datos;
    const ProductoLeido& producto = Producto(r.producto);
    const Currency importe = Importe(r);
    return {{"Fc_Folio", LiteralTexto(encabezado_.folio)},
            {"Fd_Renglon", LiteralTexto(r.renglon)},
            {"Pr_Cve_Producto", LiteralTexto(r.producto)},
            {"Fd_Concepto", LiteralTexto(r.concepto)},
            {"Tl_Cve_Talla", LiteralTexto(r.talla)},
            {"Cl_Cve_Color", LiteralTexto(r.color)},
            {"Fd_Cantidad_Control_1", LiteralNumero(r.cantidad1)},
            {"Fd_Unidad_Control_1", LiteralTexto(r.unidad1)},
            {"Fd_Cantidad_Control_2", LiteralNumero(r.cantidad2)},
            {"Fd_Unidad_Control_2", LiteralTexto(r.unidad2)},
            {"Fd_Precio_Unitario", LiteralNumero(r.precioUnitario)},
            {"Fd_Cuota_Fija", LiteralImporte(Currency::FromDouble(renglon.cuota))},
            {"Fd_Importe", LiteralImporte(importe)},
            {"Im_Cve_Impuesto", LiteralTexto(producto.impuesto)},
            {"Fd_Impuesto_Importe", LiteralImporte(importe.MulDiv(producto.tasa, kUno))},
            {"Fd_Lotes", LiteralTexto(r.lotes.lista)},
            {"Fd_Series", LiteralTexto(r.series.lista)}};
}

// This host keeps no inventory, so there is nothing else for `afecta` to post.
bool DocumentoFacturaQivera::Aplica(const std::string& folio, bool /*afecta*/) {
    return Atrapa(error_, [&] {
        if (!Existe("Factura", folio)) {
            error_ = "La factura " + folio + " no existe";
            return false;
        }
        const Totales t = SumaNotas(sesion_.conexion, folio);
        const std::string cambios =
            Asignaciones(ConSellos(sesion_, {{"Fc_Subtotal", LiteralImporte(t.subtotal)},
                                             {"Fc_Descuento_Global_Importe", LiteralImporte(t.descuentoGlobal)},
                                             {"Fc_Impuesto", LiteralImporte(t.impuesto)},
                                             {"Fc_Total", LiteralImporte(t.total)},
                                             {"Fc_Descuento_Global_Factor", LiteralNumero(FactorDescuento(t))}}));
        for (const char* tabla : kTablasFactura)
            sesion_.conexion.Execute(std::string("UPDATE ") + tabla + " SET " + cambios + " WHERE Fc_Folio = '" +
                                     SqlText(folio) + "'");
        return true;
    });
}

}  // namespace qivera
