// Demo data: the same rows on every run (a fixed-seed generator).
//
//   Users        ADMIN     no bound branch; permissions KX204 CHFECHA and KEYF2
//                CAJERO    bound to branch 01 and warehouse 0101; KEYF2 only (cannot change the invoice date)
//                CONSULTA  no bound branch, no permissions
//   Branches     01 Matriz Centro (warehouses 0101, 0102; salesmen V01, V02; series A and AE, AE digital)
//                02 Sucursal Norte (0201, 0202; V03, V04; series B)
//                03 Sucursal Sur (0301, 0302; V05, V06; series C)
//   Currencies   MXN (local) and USD; a rate per day for both from 2026-01-01 to 2027-12-31
//   Conditions   CONT cash (type 01); CR15 credit 15 days, CR30 credit 30 days in 3 payments (type 02)
//   Clients      C0000 Público en general (cash only, any branch), C0001 Abarrotes La Esperanza (01, credit 50,000),
//                C0002 Tienda D'Lupita (01, cash only), C0003 Comercializadora del Norte (02, credit 250,000),
//                C0004 Farmacia San Ángel (03, cash only), C0005 Hotel Costa Azul (03, credit 100,000),
//                C0006 to C0039 generated; every client has one to three delivery addresses (01, 02, 03)
//   Products     P0001 to P0022; lots on P0001, P0002, P0003, P0005, P0012 (lots L0001-1 ... L0012-3), and on
//                P0019, P0020, P0021, equivalents of P0001, P0002, P0005; serial numbers on P0015 to P0018;
//                sizes and colours on P0013, P0014
//   Sale notes   NV000001 onwards, dated 2026-01-05 to 2026-11-30, one to five lines; of every twenty the
//                8th is cancelled (CA), the 14th invoiced (FA, one invoice each: F000001..., number A000001...),
//                the 18th deleted (DE, Oper_Baja ADMIN); the others are pending, `notas` of them. Amounts are
//                to the cent. NV000003 (01, C0009, CR30, receivable CXC0000001) and NV000006 (01, C0002, cash)
//                are pending in MXN; NV000008 is cancelled, NV000014 invoiced as F000001 (B000001), NV000018 deleted.
//                Credit notes carry a receivable (CXC0000001...), some paid in part or in full (PC00000001...).
//   Settings     FIN_MONEDA_LOCAL MXN, VEN_SUCURSAL_DEFAULT 01, VEN_ALMACEN_DEFAULT 0101, VEN_SUGERIR_VENDEDOR 1,
//                VEN_PERMITIR_CAPTURAR_NOTA_VENTA 1, FAC_ENVIAR_DOCUMENTO_EMAIL 1, CXC_FORMA_PAGO_CONSOLIDAR_NOTAS
//                CONN, GEN_VALIDAR_PERIODO_OPERATIVO 0; operative periods of module VENTAS by month, January 2026
//                closed.
#include "qivera/demo/demo.hpp"
#include "kx204/host/transaction.hpp"

#include <map>

#include "qivera/demo/demo_catalogo.hpp"
#include "qivera/demo/demo_firma.hpp"

namespace qivera::db {

namespace demo {

namespace {

using kx204::host::Variant;

constexpr std::uint64_t kSemilla = 0x4B583230342D4442ULL;

// Half up, for the non-negative amounts the demo computes.
Escalado Redondea(Escalado numerador, Escalado divisor) { return (numerador + divisor / 2) / divisor; }
// The same, to the cent, as amounts on a sale note are.
Escalado ACentavos(Escalado numerador, Escalado divisor) { return Redondea(numerador, divisor * 100) * 100; }

struct Renglon {
    const Producto* producto;
    std::string talla, color;
    int cantidad;
    Escalado precio, descuentoPorCiento, descontado, global, base, impuesto, neto;
    std::string Concepto() const { return producto->descripcion + (talla.empty() ? "" : " " + talla + " " + color); }
};

struct Factura {
    std::string folio, numero, serie;
    int consecutivo = 0;
};

struct Nota {
    std::string folio;
    int dia;
    std::string hora;
    const Sucursal* sucursal;
    std::string almacen, moneda;
    Escalado tipoCambio;
    const Cliente* cliente;
    const Condicion* condicion;
    std::string vendedor;
    int globalPorMil;
    std::string estado, operador, baja;
    Factura factura;
    std::vector<Renglon> renglones;

    std::string Alta() const { return Dia(dia) + " " + hora; }
    Escalado Suma(Escalado Renglon::*campo) const {
        Escalado suma = 0;
        for (const Renglon& renglon : renglones) suma += renglon.*campo;
        return suma;
    }
};

// Of every twenty notes three are not pending, always at the same places.
std::string EstadoDeNota(int numero) {
    switch (numero % 20) {
        case 7:
            return "CA";
        case 13:
            return "FA";
        case 17:
            return "DE";
        default:
            return "AC";
    }
}

struct Sentencias {
    SentenciaPreparada venta, encabezado, lote, serie, cuenta, impuesto, pago, factura, facturaEncabezado, detalle,
        direccion;
};

constexpr const char* kColumnasFactura =
    "Fc_Folio, Fc_Factura, Fc_Serie, Fc_Numero, Fc_Fecha, Fc_Fecha_Vencimiento, Fc_Tabla_Origen, Fc_Credito, "
    "Fc_Condicion_Venta, Mn_Cve_Moneda, Fc_Tipo_Cambio, Sc_Cve_Sucursal, Al_Cve_Almacen, Cl_Cve_Cliente, "
    "Vn_Cve_Vendedor, Fc_Descuento_Global_Factor, Fc_Subtotal, Fc_Descuento_Global_Importe, Fc_Impuesto, Fc_Total, "
    "Oper_Alta, Fecha_Alta, Oper_Ult_Modif, Fecha_Ult_Modif";

Sentencias Prepara(ConexionQt& conexion) {
    return {
        Inserta(conexion, "Venta",
                "Vn_Folio, Vn_Id, Vn_Fecha, Cl_Cve_Cliente, Sc_Cve_Sucursal, Al_Cve_Almacen, Mn_Cve_Moneda, "
                "Vn_Tipo_Cambio, Vn_Condicion_Venta, Vn_Cve_Vendedor, Pr_Cve_Producto, Tl_Cve_Talla, Cl_Cve_Color, "
                "Vn_Concepto, Vn_Cantidad_1, Vn_Unidad_1, Vn_Cantidad_Control_1, Vn_Unidad_Control_1, "
                "Vn_Cantidad_Control_2, Vn_Unidad_Control_2, Vn_Precio_Unitario, Vn_Descuento_Factor, Vn_Cuota_Fija, "
                "Vn_Precio_Descontado_Importe, Vn_Descuento_Global_Importe, Im_Cve_Impuesto, Vn_Impuesto_Importe, "
                "Vn_Precio_Neto_Importe, Fc_Folio, Fc_Factura, Es_Cve_Estado, Oper_Alta, Fecha_Alta, Oper_Baja, "
                "Oper_Ult_Modif, Fecha_Ult_Modif"),
        Inserta(conexion, "Venta_Encabezado",
                "Vn_Folio, Vn_Fecha, Cl_Cve_Cliente, Sc_Cve_Sucursal, Al_Cve_Almacen, Mn_Cve_Moneda, Vn_Tipo_Cambio, "
                "Vn_Condicion_Venta, Vn_Cve_Vendedor, Vn_Referencia, Vn_Forma_Pago, Vn_Origen, Vn_Documento, "
                "Vn_Descuento_Global_Factor, Fc_Folio, Fc_Factura, Es_Cve_Estado, Oper_Alta, Fecha_Alta, Oper_Baja, "
                "Oper_Ult_Modif, Fecha_Ult_Modif"),
        Inserta(conexion, "Lote_Documento",
                "Ld_Tabla, Ld_Documento, Ld_Renglon, Pr_Cve_Producto, Lt_Cve_Lote, Lt_Cantidad_Control_1, "
                "Lt_Cantidad_Control_2"),
        Inserta(conexion, "Serie_Documento",
                "Sd_Tabla, Sd_Documento, Sd_Renglon, Pr_Cve_Producto, Tl_Cve_Talla, Cl_Cve_Color, Sr_Cve_Serie"),
        Inserta(conexion, "Cuenta_x_Cobrar",
                "Cxc_Folio, Cxc_Fecha, Cxc_Fecha_Vencimiento, Cxc_Tabla, Cxc_Documento, Sc_Cve_Sucursal, "
                "Cl_Cve_Cliente, Cxc_Precio_Descontado_Importe, Cxc_Precio_Descontado_Saldo, Cxc_Impuesto_Importe, "
                "Cxc_Impuesto_Saldo, Cxc_Precio_Neto_Importe, Cxc_Precio_Neto_Saldo, Mn_Cve_Moneda, Cxc_Tipo_Cambio, "
                "Cxc_Condicion_Pago, Cxc_Pago_Parcial, Cxc_Parcialidades, Es_Cve_Estado, Oper_Ult_Modif, "
                "Fecha_Ult_Modif"),
        Inserta(conexion, "CUENTA_X_COBRAR_IMPUESTO", "Cxc_Folio, Im_Cve_Impuesto, Cxci_Importe, Cxci_Saldo"),
        Inserta(conexion, "Pago_Cxc",
                "Pc_Folio, Cxc_Folio, Pc_Fecha, Pc_Tabla, Pc_Documento, Pc_Comentario, Fp_Cve_Forma_Pago, Pc_Importe, "
                "Mn_Cve_Moneda, Pc_Tipo_Cambio, Oper_Ult_Modif, Fecha_Ult_Modif"),
        Inserta(conexion, "Factura", kColumnasFactura),
        Inserta(conexion, "Factura_Encabezado", kColumnasFactura),
        Inserta(conexion, "Factura_Detalle",
                "Fc_Folio, Fd_Renglon, Pr_Cve_Producto, Fd_Concepto, Tl_Cve_Talla, Cl_Cve_Color, "
                "Fd_Cantidad_Control_1, Fd_Unidad_Control_1, Fd_Cantidad_Control_2, Fd_Unidad_Control_2, "
                "Fd_Precio_Unitario, Fd_Cuota_Fija, Fd_Importe, Im_Cve_Impuesto, Fd_Impuesto_Importe"),
        Inserta(conexion, "Direccion_Documento", "Dd_Tabla, Dd_Documento, Dd_Catalogo, Dd_Clave, De_Cve_Direccion"),
    };
}

// Per-tax figures of a note, in key order.
using PorImpuesto = std::map<std::string, Escalado>;

class Generador {
public:
    Generador(ConexionQt& conexion, Azar& azar, const Catalogo& catalogo)
        : conexion_(conexion), azar_(azar), catalogo_(catalogo), sentencias_(Prepara(conexion)) {}

    void Genera(int pendientes) {
        for (int numero = 0; pendientes > 0; ++numero) {
            Nota nota = NuevaNota(numero);
            if (nota.estado == "AC") --pendientes;
            if (nota.estado == "FA") AsignaFactura(nota);
            Escribe(nota);
        }
        Consecutivos();
    }

private:
    const Sucursal& EligeSucursal() {
        const int suerte = azar_.Entre(1, 100);
        return catalogo_.sucursales[suerte <= 50 ? 0 : suerte <= 80 ? 1 : 2];
    }

    // A third of the notes go to the general public; the rest mostly to the branch's own clients.
    const Cliente& EligeCliente(const Sucursal& sucursal) {
        if (azar_.PorCiento(30)) return catalogo_.clientes.front();
        while (true) {
            const Cliente& cliente = azar_.Elige(catalogo_.clientes);
            if (cliente.sucursal == sucursal.clave || azar_.PorCiento(10)) return cliente;
        }
    }

    const Condicion& EligeCondicion(const Cliente& cliente) {
        const int suerte = azar_.Entre(1, 100);
        if (cliente.limiteCredito <= 0 || suerte <= 50) return catalogo_.condiciones[0];
        return catalogo_.condiciones[suerte <= 80 ? 1 : 2];
    }

    Nota NuevaNota(int numero) {
        Nota nota;
        nota.folio = Clave("NV", numero + 1, 6);
        nota.dia = azar_.Entre(4, 333);
        nota.hora = Clave("", azar_.Entre(9, 19), 2) + ":" + Clave("", azar_.Entre(0, 59), 2) + ":00";
        nota.sucursal = &EligeSucursal();
        nota.almacen = azar_.Elige(nota.sucursal->almacenes);
        nota.moneda = azar_.PorCiento(12) ? "USD" : "MXN";
        nota.tipoCambio =
            nota.moneda == "USD" ? catalogo_.dolar[static_cast<std::size_t>(nota.dia)] : kx204::host::Currency::kScale;
        nota.cliente = &EligeCliente(*nota.sucursal);
        nota.condicion = &EligeCondicion(*nota.cliente);
        nota.vendedor =
            nota.cliente->vendedor.empty() ? azar_.Elige(nota.sucursal->vendedores) : nota.cliente->vendedor;
        nota.globalPorMil = azar_.Elige(std::vector<int>{0, 0, 0, 0, 0, 0, 0, 20, 20, 50});
        nota.estado = EstadoDeNota(numero);
        nota.operador = nota.sucursal->clave == "01" ? "CAJERO" : "ADMIN";
        nota.baja = nota.estado == "DE" ? "ADMIN" : "";
        for (int n = azar_.Entre(1, 5); n > 0; --n) nota.renglones.push_back(NuevoRenglon(nota));
        return nota;
    }

    // Prices are in pesos; a dollar note converts them at the day's rate, to the cent.
    Escalado Precio(const Producto& producto, const Nota& nota) const {
        if (nota.moneda == "MXN") return producto.precio;
        return ACentavos(producto.precio * 10000, nota.tipoCambio);
    }

    Renglon NuevoRenglon(const Nota& nota) {
        Renglon r{};
        r.producto = &azar_.Elige(catalogo_.productos);
        r.cantidad = r.producto->serie ? azar_.Entre(1, 2) : azar_.Entre(1, 20);
        if (r.producto->tallas) {
            r.talla = azar_.Elige(std::vector<std::string>{"CH", "MED", "GDE"});
            r.color = azar_.Elige(std::vector<std::string>{"BLANCO", "NEGRO", "AZUL"});
        }
        r.precio = Precio(*r.producto, nota);
        r.descuentoPorCiento = azar_.Elige(std::vector<int>{0, 0, 0, 5, 10});
        const Escalado bruto = r.precio * r.cantidad;
        r.descontado = bruto - ACentavos(bruto * r.descuentoPorCiento, 100);
        r.global = ACentavos(r.descontado * nota.globalPorMil, 1000);
        r.base = r.descontado - r.global;
        r.impuesto = ACentavos(r.base * (r.producto->impuesto == "IVA16" ? 16 : 0), 100);
        r.neto = r.base + r.impuesto;
        return r;
    }

    void AsignaFactura(Nota& nota) {
        Factura& factura = nota.factura;
        factura.serie = azar_.Elige(nota.sucursal->series);
        factura.consecutivo = ++numerosPorSerie_[factura.serie];
        factura.folio = Clave("F", ++facturas_, 6);
        factura.numero = factura.serie + Clave("", factura.consecutivo, 6);
    }

    void Escribe(const Nota& nota) {
        for (std::size_t i = 0; i < nota.renglones.size(); ++i) EscribeRenglon(nota, static_cast<int>(i) + 1);
        EscribeEncabezado(nota);
        if (nota.condicion->credito && (nota.estado == "AC" || nota.estado == "CA")) EscribeCuenta(nota);
        if (!nota.factura.folio.empty()) EscribeFactura(nota);
    }

    std::string UltimaModificacion(const Nota& nota) const {
        return nota.factura.folio.empty() ? nota.Alta() : Dia(nota.dia + 1) + " 18:00:00";
    }

    void EscribeRenglon(const Nota& nota, int id) {
        const Renglon& r = nota.renglones[static_cast<std::size_t>(id) - 1];
        const Producto& p = *r.producto;
        sentencias_.venta.Ejecuta({nota.folio,
                                   id,
                                   Dia(nota.dia),
                                   nota.cliente->clave,
                                   nota.sucursal->clave,
                                   nota.almacen,
                                   nota.moneda,
                                   Dinero(nota.tipoCambio),
                                   nota.condicion->clave,
                                   nota.vendedor,
                                   p.clave,
                                   r.talla,
                                   r.color,
                                   r.Concepto(),
                                   r.cantidad,
                                   "PZA",
                                   r.cantidad,
                                   "PZA",
                                   Dinero(p.factor2 * r.cantidad),
                                   p.unidad2,
                                   Dinero(r.precio),
                                   Dinero(r.descuentoPorCiento * 100),
                                   Dinero(p.cuotaFija),
                                   Dinero(r.descontado),
                                   Dinero(r.global),
                                   p.impuesto,
                                   Dinero(r.impuesto),
                                   Dinero(r.neto),
                                   nota.factura.folio,
                                   nota.factura.numero,
                                   nota.estado,
                                   nota.operador,
                                   nota.Alta(),
                                   nota.baja,
                                   nota.baja.empty() ? nota.operador : nota.baja,
                                   UltimaModificacion(nota)});
        if (p.lote) EscribeLotes(nota, id, r);
        if (p.serie) EscribeSeries(nota, id, r);
    }

    // A line takes its quantity from one lot, or now and then from two.
    void EscribeLotes(const Nota& nota, int id, const Renglon& r) {
        const Producto& p = *r.producto;
        const int primero = azar_.Entre(1, 3);
        const int enPrimero = r.cantidad >= 2 && azar_.PorCiento(30) ? r.cantidad / 2 : r.cantidad;
        const auto escribe = [&](int lote, int cantidad) {
            sentencias_.lote.Ejecuta({"Venta", nota.folio, id, p.clave,
                                      "L" + p.MaestroDeLotes().substr(1) + "-" + std::to_string(lote), cantidad,
                                      Dinero(p.factor2 * cantidad)});
        };
        escribe(primero, enPrimero);
        if (enPrimero < r.cantidad) escribe(primero % 3 + 1, r.cantidad - enPrimero);
    }

    void EscribeSeries(const Nota& nota, int id, const Renglon& r) {
        const Producto& p = *r.producto;
        for (int unidad = 0; unidad < r.cantidad; ++unidad)
            sentencias_.serie.Ejecuta({"VENTA", nota.folio, id, p.clave, r.talla, r.color,
                                       "SN" + p.clave.substr(1) + Clave("", ++seriesPorProducto_[p.clave], 6)});
    }

    void EscribeEncabezado(const Nota& nota) {
        const int suerte = azar_.Entre(1, 100);
        const std::string origen = suerte <= 70 ? "PUNTO DE VENTA" : suerte <= 90 ? "MOSTRADOR" : "PEDIDO";
        const std::string referencia = azar_.PorCiento(40) ? "REF-" + Clave("", azar_.Entre(1, 99999), 5) : "";
        const std::string formaPago =
            nota.condicion->credito ? "" : azar_.Elige(std::vector<std::string>{"EFE", "TAR", "TRA"});
        sentencias_.encabezado.Ejecuta({nota.folio,
                                        Dia(nota.dia),
                                        nota.cliente->clave,
                                        nota.sucursal->clave,
                                        nota.almacen,
                                        nota.moneda,
                                        Dinero(nota.tipoCambio),
                                        nota.condicion->clave,
                                        nota.vendedor,
                                        referencia,
                                        formaPago,
                                        origen,
                                        "TK-" + nota.folio.substr(2),
                                        Dinero(nota.globalPorMil * 10),
                                        nota.factura.folio,
                                        nota.factura.numero,
                                        nota.estado,
                                        nota.operador,
                                        nota.Alta(),
                                        nota.baja,
                                        nota.baja.empty() ? nota.operador : nota.baja,
                                        UltimaModificacion(nota)});
    }

    // Most receivables are open; some are paid in full, some in half, each payment recorded.
    void EscribeCuenta(const Nota& nota) {
        const int suerte = azar_.Entre(1, 100);
        const auto saldo = [&](Escalado importe) {
            return suerte <= 10 ? 0 : suerte <= 15 ? ACentavos(importe, 2) : importe;
        };
        PorImpuesto impuestos;
        for (const Renglon& r : nota.renglones) impuestos[r.producto->impuesto] += r.impuesto;
        const std::string folio = Clave("CXC", ++cuentas_, 7);
        Escalado impuestoSaldo = 0;
        for (const auto& [clave, importe] : impuestos) {
            sentencias_.impuesto.Ejecuta({folio, clave, Dinero(importe), Dinero(saldo(importe))});
            impuestoSaldo += saldo(importe);
        }
        const Escalado base = nota.Suma(&Renglon::base), neto = nota.Suma(&Renglon::neto);
        const Escalado netoSaldo = saldo(base) + impuestoSaldo;
        const bool parcial = nota.condicion->clave == "CR30";
        sentencias_.cuenta.Ejecuta({folio,
                                    Dia(nota.dia),
                                    Dia(nota.dia + nota.condicion->dias),
                                    "VENTA",
                                    nota.folio,
                                    nota.sucursal->clave,
                                    nota.cliente->clave,
                                    Dinero(base),
                                    Dinero(saldo(base)),
                                    Dinero(nota.Suma(&Renglon::impuesto)),
                                    Dinero(impuestoSaldo),
                                    Dinero(neto),
                                    Dinero(netoSaldo),
                                    nota.moneda,
                                    Dinero(nota.tipoCambio),
                                    nota.condicion->clave,
                                    parcial ? "SI" : "NO",
                                    parcial ? 3 : 0,
                                    nota.estado,
                                    nota.operador,
                                    nota.Alta()});
        if (netoSaldo < neto) EscribePago(nota, folio, neto - netoSaldo);
    }

    void EscribePago(const Nota& nota, const std::string& cuenta, Escalado importe) {
        sentencias_.pago.Ejecuta({Clave("PC", ++pagos_, 8), cuenta, Dia(nota.dia + 7), "VENTA", nota.folio,
                                  "Pago de la nota " + nota.folio,
                                  azar_.Elige(std::vector<std::string>{"EFE", "TRA", "CHE"}), Dinero(importe),
                                  nota.moneda, Dinero(nota.tipoCambio), nota.operador, nota.Alta()});
    }

    void EscribeFactura(const Nota& nota) {
        const Factura& f = nota.factura;
        const std::vector<Variant> fila = {f.folio,
                                           f.numero,
                                           f.serie,
                                           f.consecutivo,
                                           Dia(nota.dia + 1),
                                           Dia(nota.dia + 1 + nota.cliente->diasCredito),
                                           "Venta",
                                           "NO",
                                           nota.condicion->clave,
                                           nota.moneda,
                                           Dinero(nota.tipoCambio),
                                           nota.sucursal->clave,
                                           nota.almacen,
                                           nota.cliente->clave,
                                           nota.vendedor,
                                           Dinero(nota.globalPorMil * 10),
                                           Dinero(nota.Suma(&Renglon::descontado)),
                                           Dinero(nota.Suma(&Renglon::global)),
                                           Dinero(nota.Suma(&Renglon::impuesto)),
                                           Dinero(nota.Suma(&Renglon::neto)),
                                           "ADMIN",
                                           UltimaModificacion(nota),
                                           "ADMIN",
                                           UltimaModificacion(nota)};
        sentencias_.factura.Ejecuta(fila);
        sentencias_.facturaEncabezado.Ejecuta(fila);
        for (std::size_t i = 0; i < nota.renglones.size(); ++i) {
            const Renglon& r = nota.renglones[i];
            sentencias_.detalle.Ejecuta({f.folio, Clave("", static_cast<int>(i) + 1, 4), r.producto->clave,
                                         r.Concepto(), r.talla, r.color, r.cantidad, "PZA",
                                         Dinero(r.producto->factor2 * r.cantidad), r.producto->unidad2,
                                         Dinero(Redondea(r.base, r.cantidad)), Dinero(r.producto->cuotaFija),
                                         Dinero(r.base), r.producto->impuesto, Dinero(r.impuesto)});
        }
        sentencias_.direccion.Ejecuta({"Factura", f.folio, "Cliente", nota.cliente->clave, "01"});
    }

    // The last numbers used, so that the host's services go on from them.
    void Consecutivos() {
        for (const auto& [serie, ultimo] : numerosPorSerie_)
            conexion_.Execute("UPDATE Serie SET Sr_Ultimo_Numero = " + std::to_string(ultimo) + " WHERE Sr_Serie = '" +
                              kx204::host::SqlText(serie) + "'");
        SentenciaPreparada consecutivo = conexion_.Prepara("UPDATE Consecutivo SET Cn_Ultimo = ? WHERE Cn_Tabla = ?");
        consecutivo.Ejecuta({facturas_, "Factura"});
        consecutivo.Ejecuta({cuentas_, "Cuenta_x_Cobrar"});
        consecutivo.Ejecuta({pagos_, "Pago_Cxc"});
    }

    ConexionQt& conexion_;
    Azar& azar_;
    const Catalogo& catalogo_;
    Sentencias sentencias_;
    std::map<std::string, int> numerosPorSerie_;
    std::map<std::string, int> seriesPorProducto_;
    int facturas_ = 0, cuentas_ = 0, pagos_ = 0;
};

}  // namespace

}  // namespace demo

void GeneraDemo(ConexionQt& conexion, int notas) {
    kx204::host::Transaction transaccion(conexion, kx204::host::Transaction::Mode::JoinOrBegin);
    Azar azar(demo::kSemilla);
    const demo::Catalogo catalogo = demo::GeneraCatalogo(conexion, azar);
    demo::Generador(conexion, azar, catalogo).Genera(notas);
    demo::GeneraFirma(conexion);
    transaccion.Commit();
}

}  // namespace qivera::db
