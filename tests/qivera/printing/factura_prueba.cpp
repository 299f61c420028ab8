#include "qivera/printing/factura_prueba.hpp"

#include <fstream>
#include <iterator>

#include "apoyo/cfdi_prueba.hpp"
#include "kx204/host/runtime_error.hpp"
#include "qivera/services/listas.hpp"

namespace prueba {

ConFactura::ConFactura(BaseDePrueba::Alcance alcance) : Entorno("ADMIN", alcance) {
    sesion.registra = [this](const std::string& evento, const std::string& folio, const std::string& archivo) {
        registros.push_back({evento, folio, archivo});
    };
    Sql("UPDATE Cliente SET Cl_Razon_Social_1 = '" + kx204::host::SqlText(kCliente) +
        "', Cl_R_F_C = 'AOB010203XY1', Cl_Direccion_1 = 'Calle Peñuelas 12, Col. Centro', Cl_Email = "
        "'compras.c1@example.com' WHERE Cl_Cve_Cliente = 'C1'");
    Sql("UPDATE Sucursal SET Sc_Direccion = 'Av. Juárez 100' WHERE Sc_Cve_Sucursal = '01'");
    ConfiguraCfdi(*this);
    Sql("INSERT INTO Impuesto (Im_Cve_Impuesto, Im_Descripcion, Im_Tasa) VALUES ('IVA', 'IVA', 0.16)");
    Variable("FAC_FIRMA_DIRECTORIO", Carpeta() + "/comprobantes");
    Variable("IMPRESION_DIRECTORIO", Carpeta() + "/impresos");
    Variable("CORREO_BANDEJA", Carpeta() + "/bandeja");
    Sql("INSERT INTO Factura (Fc_Folio, Fc_Factura, Fc_Serie, Fc_Numero, Fc_Fecha, Mn_Cve_Moneda, Fc_Tipo_Cambio, "
        "Fc_Condicion_Venta, Sc_Cve_Sucursal, Al_Cve_Almacen, Cl_Cve_Cliente, Fc_Subtotal, "
        "Fc_Descuento_Global_Importe, Fc_Impuesto, Fc_Total) VALUES ('F000001', 'AE000001', 'AE', 1, '2026-03-15', "
        "'MXN', 1, 'CONT', '01', '0101', 'C1', 1089.1231, 25, 170.4447, 1234.5678)");
    Sql("INSERT INTO Factura_Detalle (Fc_Folio, Fd_Renglon, Pr_Cve_Producto, Fd_Concepto, Tl_Cve_Talla, "
        "Cl_Cve_Color, Fd_Cantidad_Control_1, Fd_Unidad_Control_1, Fd_Precio_Unitario, Fd_Importe, Im_Cve_Impuesto, "
        "Fd_Impuesto_Importe, Fd_Lotes, Fd_Series) VALUES "
        "('F000001', '0001', 'P0001', 'Aceite comestible 1 L', 'M', 'ROJO', 3, 'PZA', 18.3744, 55.1231, 'IVA', "
        "8.8197, 'L0001-1@2@0@2027-04-06@26 47 3807 6000031@2025-12-12@VERACRUZ|L0001-2@1@0@2027-05-01@@@', ''), "
        "('F000001', '0002', 'P0015', 'Taladro percutor 1/2\"', '', '', 2, 'PZA', 517, 1034, 'IVA', 161.625, '', "
        "'SN-7781|SN-7782')");
    Sql("INSERT INTO Venta (Vn_Folio, Vn_Id, Fc_Folio) VALUES ('NV000002', 1, 'F000001'), ('NV000001', 1, "
        "'F000001'), ('NV000001', 2, 'F000001')");
}

void ConFactura::OtraFactura(const std::string& folio, int renglones) {
    Sql("INSERT INTO Factura (Fc_Folio, Fc_Factura, Fc_Serie, Fc_Numero, Sc_Cve_Sucursal, Cl_Cve_Cliente, Fc_Total) "
        "VALUES ('" +
        folio + "', 'A" + folio + "', 'A', 2, '01', 'C1', 10)");
    for (int i = 1; i <= renglones; ++i) {
        const std::string numero = std::to_string(i);
        Sql("INSERT INTO Factura_Detalle (Fc_Folio, Fd_Renglon, Pr_Cve_Producto, Fd_Concepto, Fd_Cantidad_Control_1, "
            "Fd_Importe, Fd_Lotes) VALUES ('" +
            folio + "', '" + std::string(4 - numero.size(), '0') + numero + "', 'P" + numero + "', 'Producto número " +
            numero + "', 1, 1, 'L-" + numero + "')");
    }
}

std::string ConFactura::Valor(const std::string& sentencia) {
    const auto valor = qivera::PrimerValor(*conexion, sentencia);
    return valor ? valor->ToTextOrEmpty() : "<ninguno>";
}

std::string LeeArchivo(const std::string& ruta) {
    std::ifstream archivo(ruta, std::ios::binary);
    if (!archivo) throw kx204::host::RuntimeError(75, "cannot read " + ruta);
    return {std::istreambuf_iterator<char>(archivo), std::istreambuf_iterator<char>()};
}

}  // namespace prueba
