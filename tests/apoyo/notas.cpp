#include "apoyo/notas.hpp"

namespace prueba {

void InsertaNota(Entorno& entorno, const Nota& nota) {
    const std::string comun = "'" + nota.fecha + "', '" + nota.cliente + "', '" + nota.sucursal + "', '" + nota.moneda +
                              "', '" + nota.condicion + "', '" + nota.estado + "'";
    for (int id = 1; id <= nota.lineas; ++id)
        entorno.Sql(
            "INSERT INTO Venta (Vn_Folio, Vn_Id, Vn_Fecha, Cl_Cve_Cliente, Sc_Cve_Sucursal, Mn_Cve_Moneda, "
            "Vn_Condicion_Venta, Es_Cve_Estado, Vn_Precio_Descontado_Importe, Vn_Impuesto_Importe, "
            "Vn_Precio_Neto_Importe) VALUES ('" +
            kx204::host::SqlText(nota.folio) + "', " + std::to_string(id) + ", " + comun + ", " + nota.subtotal + ", " +
            nota.subtotal + " * 0.16, " + nota.subtotal + " * 1.16)");
    entorno.Sql(
        "INSERT INTO Venta_Encabezado (Vn_Folio, Vn_Fecha, Cl_Cve_Cliente, Sc_Cve_Sucursal, Mn_Cve_Moneda, "
        "Vn_Condicion_Venta, Es_Cve_Estado) VALUES ('" +
        kx204::host::SqlText(nota.folio) + "', " + comun + ")");
}

void PreparaCaptura(Entorno& entorno) {
    entorno.Variable("FIN_MONEDA_LOCAL", "MXN");
    entorno.Variable("VEN_PERMITIR_CAPTURAR_NOTA_VENTA", "1");
    entorno.Sql(
        "INSERT INTO Condicion_Venta (Cv_Cve_Condicion_Venta, Cv_Descripcion, Cv_Tipo_Condicion) VALUES "
        "('CONT', 'Contado', '01'), ('CR30', 'Crédito 30 días', '02')");
    entorno.Sql("INSERT INTO Vendedor (Vn_Cve_Vendedor, Vn_Descripcion) VALUES ('V1', 'Vendedor uno')");
}

}  // namespace prueba
