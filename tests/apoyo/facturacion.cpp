#include "apoyo/facturacion.hpp"

namespace prueba {

namespace {

void Linea(Entorno& entorno, const std::string& folio, int id, const std::string& producto, int cantidad,
           const std::string& importe) {
    entorno.Sql(
        "INSERT INTO Venta (Vn_Folio, Vn_Id, Vn_Fecha, Cl_Cve_Cliente, Sc_Cve_Sucursal, Al_Cve_Almacen, "
        "Mn_Cve_Moneda, Vn_Condicion_Venta, Pr_Cve_Producto, Vn_Concepto, Vn_Cantidad_1, "
        "Vn_Cantidad_Control_1, Vn_Unidad_Control_1, Vn_Precio_Descontado_Importe, Im_Cve_Impuesto, "
        "Vn_Impuesto_Importe, Vn_Precio_Neto_Importe) VALUES ('" +
        folio + "', " + std::to_string(id) + ", '2026-03-10', 'C1', '01', '0101', 'MXN', 'CONT', '" + producto +
        "', 'Venta de " + producto + "', " + std::to_string(cantidad) + ", " + std::to_string(cantidad) + ", 'PZA', " +
        importe + ", 'IVA', " + importe + " * 0.16, " + importe + " * 1.16)");
}

}  // namespace

void PreparaFacturacion(Entorno& entorno) {
    PreparaCaptura(entorno);
    entorno.Variable("VEN_SUCURSAL_DEFAULT", "01");
    entorno.Variable("VEN_ALMACEN_DEFAULT", "0101");
    entorno.Variable("VEN_SUGERIR_VENDEDOR", "1");
    entorno.Sql("INSERT INTO Impuesto (Im_Cve_Impuesto, Im_Descripcion, Im_Tasa) VALUES ('IVA', 'IVA', 0.16)");
    std::string largo;
    for (int i = 0; i < 20; ++i) largo += "Máqui";  // 100 characters, more bytes
    entorno.Sql(
        "INSERT INTO Producto (Pr_Cve_Producto, Pr_Descripcion, Pr_Equivalencia_Producto, Im_Cve_Impuesto) "
        "VALUES ('P1', 'Tornillo', '', 'IVA'), ('P2', 'Tornillo fino', 'P1', 'IVA'), ('P3', '" +
        largo + "na perforadora', '', 'IVA'), ('P4', 'Clavo', NULL, 'IVA')");
    entorno.Sql(
        "INSERT INTO Lote (Pr_Cve_Producto, Lt_Cve_Lote, Lt_Fecha_Caducidad, Lt_Pedimento, "
        "Lt_Fecha_Pedimento, Lt_Aduana) VALUES ('P1', 'L1', '2025-01-31', 'P1', '2024-11-02', 'A1'), "
        "('P1', 'L2', '2025-01-31', NULL, '2024-11-02', NULL), ('P4', 'L1', '2025-01-31', '', '2024-11-02', "
        "'')");
    entorno.Sql(
        "UPDATE Cliente SET Cl_Dias_Credito = 30, Cl_Limite_Credito = 1000, Vn_Cve_Vendedor = 'V1', "
        "Cv_Cve_Condicion_Venta = 'CONT', Cl_Email = 'c1@example.com' WHERE Cl_Cve_Cliente = 'C1'");
    entorno.Sql("INSERT INTO Direccion_Entrega (Cl_Cve_Cliente, De_Cve_Direccion) VALUES ('C1', '01')");
    Linea(entorno, "N1", 1, "P1", 2, "20");
    Linea(entorno, "N1", 2, "P3", 1, "100");
    Linea(entorno, "N2", 1, "P1", 4, "33");
    Linea(entorno, "N2", 2, "P2", 1, "10");
    Linea(entorno, "N3", 1, "P4", 0, "0");
    for (const char* folio : {"N1", "N2", "N3"})
        entorno.Sql(
            "INSERT INTO Venta_Encabezado (Vn_Folio, Vn_Fecha, Cl_Cve_Cliente, Sc_Cve_Sucursal, "
            "Mn_Cve_Moneda) VALUES ('" +
            std::string(folio) + "', '2026-03-10', 'C1', '01', 'MXN')");
    entorno.Sql(
        "INSERT INTO Lote_Documento (Ld_Tabla, Ld_Documento, Ld_Renglon, Pr_Cve_Producto, Lt_Cve_Lote, "
        "Lt_Cantidad_Control_1) VALUES ('Venta', 'N1', 1, 'P1', 'L1', 2), ('Venta', 'N2', 1, 'P1', 'L1', 2), "
        "('Venta', 'N2', 1, 'P1', 'L2', 2), ('Venta', 'N2', 2, 'P2', 'L1', 1), ('Venta', 'N3', 1, 'P4', 'L1', "
        "1)");
    entorno.Sql(
        "INSERT INTO Serie_Documento (Sd_Tabla, Sd_Documento, Sd_Renglon, Pr_Cve_Producto, Sr_Cve_Serie) "
        "VALUES ('VENTA', 'N1', 2, 'P3', 'S-1'), ('VENTA', 'N1', 2, 'P3', 'S-2')");
}

kx204::frmKX204& Captura(Entorno& entorno, const std::vector<std::string>& notas) {
    auto& pantalla = entorno.Abre();
    Captura(entorno, pantalla, notas);
    return pantalla;
}

void Captura(Entorno& entorno, kx204::frmKX204& pantalla, const std::vector<std::string>& notas) {
    pantalla.Controles.Pulsa(kx204::host::ComandoBarra::Nuevo);
    entorno.persona.Responde("01");
    pantalla.txt_Cl_Cve_Cliente.Teclea("C1");
    pantalla.txt_Cl_Cve_Cliente.Confirma();
    pantalla.Controles.Pulsa(kx204::host::ComandoBarra::B1);
    for (const std::string& folio : notas) pantalla.lvNotas.SetChecked(pantalla.lvNotas.Busca(folio), true);
}

std::string Filas(Entorno& entorno, const std::string& sentencia) {
    std::string filas;
    auto rs = entorno.conexion->Execute(sentencia);
    for (; !rs->Eof(); rs->MoveNext()) {
        for (int i = 0; i < rs->FieldCount(); ++i) filas += (i ? "|" : "") + rs->Field(i).ToTextOrEmpty();
        filas += "\n";
    }
    return filas;
}

std::string Huella(Entorno& entorno) {
    std::string huella;
    for (const char* sentencia :
         {"SELECT Vn_Folio, Vn_Id, Es_Cve_Estado, Fc_Folio, Fc_Factura, Oper_Baja FROM Venta ORDER BY 1, 2",
          "SELECT Vn_Folio, Es_Cve_Estado, Fc_Folio FROM Venta_Encabezado ORDER BY 1", "SELECT * FROM Factura",
          "SELECT * FROM Factura_Encabezado", "SELECT * FROM Factura_Detalle",
          "SELECT * FROM Cuenta_x_Cobrar ORDER BY Cxc_Folio", "SELECT * FROM CUENTA_X_COBRAR_IMPUESTO ORDER BY 1, 2",
          "SELECT * FROM Pago_Cxc", "SELECT * FROM Relacion_Renglon", "SELECT * FROM Direccion_Documento",
          "SELECT * FROM Serie ORDER BY 1, 2", "SELECT * FROM Consecutivo ORDER BY 1",
          "SELECT * FROM Comprobante_Digital"})
        huella += Filas(entorno, sentencia) + "--\n";
    return huella;
}

}  // namespace prueba
