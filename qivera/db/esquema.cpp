#include "qivera/db/esquema.hpp"

#include <cctype>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <utility>
#include <vector>

#include "kx204/host/runtime_error.hpp"
#include "qivera/db/sql.hpp"

namespace qivera::db {

namespace {

// Column kinds, written as words in the tables below and rendered per engine:
//   TEXTO        text, '' by default, compared without regard to case
//   TEXTO_NULO   the same, but a null can be stored (the screen tells null from '')
//   ESTADO       a state code, 'AC' (active) by default
//   IMPORTE      money, 0 by default;  CANTIDAD  a quantity;  TIPO_CAMBIO  a rate, 1 by default
//   ENTERO       whole number, 0;  VERDADERO  a flag that is on by default
//   FECHA        a date ('YYYY-MM-DD' text on SQLite), today by default;  FECHA_NULA  may be null
//   FECHA_HORA   a date and time, now by default
// Each statement ends with a semicolon; none appears elsewhere.

// Factura and Factura_Encabezado are parallel: the same columns.
constexpr const char* kColumnasFactura = R"(
    Fc_Folio                     TEXTO,
    Fc_Factura                   TEXTO,
    Fc_Serie                     TEXTO,
    Fc_Numero                    ENTERO,
    Fc_Fecha                     FECHA,
    Fc_Fecha_Vencimiento         FECHA,
    Fc_Tabla_Origen              TEXTO,
    Fc_Referencia                TEXTO,
    Fc_Comentario                TEXTO,
    Fc_Credito                   TEXTO,
    Fc_Condicion_Venta           TEXTO,
    Mn_Cve_Moneda                TEXTO,
    Fc_Tipo_Cambio               TIPO_CAMBIO,
    Sc_Cve_Sucursal              TEXTO,
    Al_Cve_Almacen               TEXTO,
    Cl_Cve_Cliente               TEXTO,
    Vn_Cve_Vendedor              TEXTO,
    Fc_Descuento_Global_Factor   CANTIDAD,
    Fc_Subtotal                  IMPORTE,
    Fc_Descuento_Global_Importe  IMPORTE,
    Fc_Impuesto                  IMPORTE,
    Fc_Total                     IMPORTE,
    Es_Cve_Estado                ESTADO,
    Oper_Alta                    TEXTO,
    Fecha_Alta                   FECHA_HORA,
    Oper_Baja                    TEXTO,
    Oper_Ult_Modif               TEXTO,
    Fecha_Ult_Modif              FECHA_HORA,
    PRIMARY KEY (Fc_Folio)
)";

constexpr const char* kTablas = R"(
CREATE TABLE Sucursal (
    Sc_Cve_Sucursal  TEXTO,
    Sc_Descripcion   TEXTO,
    Sc_Direccion     TEXTO,
    Sc_Codigo_Postal TEXTO,
    Es_Cve_Estado    ESTADO,
    PRIMARY KEY (Sc_Cve_Sucursal)
);
CREATE TABLE Almacen (
    Al_Cve_Almacen   TEXTO,
    Al_Descripcion   TEXTO,
    Sc_Cve_Sucursal  TEXTO,
    Es_Cve_Estado    ESTADO,
    PRIMARY KEY (Al_Cve_Almacen)
);
CREATE TABLE Moneda (
    Mn_Cve_Moneda    TEXTO,
    Mn_Descripcion   TEXTO,
    Mn_Simbolo       TEXTO,
    Es_Cve_Estado    ESTADO,
    PRIMARY KEY (Mn_Cve_Moneda)
);
CREATE TABLE Tipo_Cambio (
    Mn_Cve_Moneda    TEXTO,
    Tc_Fecha         FECHA,
    Tc_Tipo_Cambio   TIPO_CAMBIO,
    PRIMARY KEY (Mn_Cve_Moneda, Tc_Fecha)
);
CREATE TABLE Segmento (
    Sg_Cve_Segmento  TEXTO,
    Sg_Descripcion   TEXTO,
    Es_Cve_Estado    ESTADO,
    PRIMARY KEY (Sg_Cve_Segmento)
);
CREATE TABLE Ruta (
    Rt_Cve_Ruta      TEXTO,
    Rt_Descripcion   TEXTO,
    Es_Cve_Estado    ESTADO,
    PRIMARY KEY (Rt_Cve_Ruta)
);
CREATE TABLE Vendedor (
    Vn_Cve_Vendedor  TEXTO,
    Vn_Descripcion   TEXTO,
    Sc_Cve_Sucursal  TEXTO,
    Es_Cve_Estado    ESTADO,
    PRIMARY KEY (Vn_Cve_Vendedor)
);
CREATE TABLE Condicion_Venta (
    Cv_Cve_Condicion_Venta   TEXTO,
    Cv_Descripcion           TEXTO,
    Cv_Tipo_Condicion        TEXTO,
    Cv_Dias_Credito          ENTERO,
    Cv_Pago_Parcial          TEXTO,
    Cv_Numero_Parcialidades  ENTERO,
    Es_Cve_Estado            ESTADO,
    PRIMARY KEY (Cv_Cve_Condicion_Venta)
);
CREATE TABLE Forma_Pago (
    Fp_Cve_Forma_Pago  TEXTO,
    Fp_Descripcion     TEXTO,
    Fp_Clave_SAT       TEXTO,
    Es_Cve_Estado      ESTADO,
    PRIMARY KEY (Fp_Cve_Forma_Pago)
);
CREATE TABLE Metodo_Pago (
    Mp_Cve_Metodo_Pago  TEXTO,
    Mp_Descripcion      TEXTO,
    Es_Cve_Estado       ESTADO,
    PRIMARY KEY (Mp_Cve_Metodo_Pago)
);
CREATE TABLE Cliente (
    Cl_Cve_Cliente          TEXTO,
    Cl_Descripcion          TEXTO,
    Cl_Razon_Social_1       TEXTO,
    Cl_Direccion_1          TEXTO,
    Cl_R_F_C                TEXTO,
    Cl_Email                TEXTO,
    Sg_Cve_Segmento         TEXTO,
    Rt_Cve_Ruta             TEXTO,
    Cl_Dias_Credito         ENTERO,
    Cl_Limite_Credito       IMPORTE,
    Vn_Cve_Vendedor         TEXTO,
    Cv_Cve_Condicion_Venta  TEXTO,
    Mp_Cve_Metodo_Pago      TEXTO,
    Cl_Cuenta_Bancaria      TEXTO,
    Sc_Cve_Sucursal         TEXTO,
    Es_Cve_Estado           ESTADO,
    Oper_Ult_Modif          TEXTO,
    Fecha_Ult_Modif         FECHA_HORA,
    Cl_Regimen_Fiscal       TEXTO,
    Cl_Codigo_Postal        TEXTO,
    Cl_Uso_CFDI             TEXTO,
    PRIMARY KEY (Cl_Cve_Cliente)
);
CREATE TABLE Direccion_Entrega (
    Cl_Cve_Cliente    TEXTO,
    De_Cve_Direccion  TEXTO,
    De_Descripcion    TEXTO,
    Es_Cve_Estado     ESTADO,
    PRIMARY KEY (Cl_Cve_Cliente, De_Cve_Direccion)
);
CREATE TABLE Impuesto (
    Im_Cve_Impuesto  TEXTO,
    Im_Descripcion   TEXTO,
    Im_Tasa          CANTIDAD,
    Im_Impuesto_SAT  TEXTO,
    Im_Tipo_Factor   TEXTO,
    PRIMARY KEY (Im_Cve_Impuesto)
);
CREATE TABLE Producto (
    Pr_Cve_Producto           TEXTO,
    Pr_Descripcion            TEXTO,
    Pr_Equivalencia_Producto  TEXTO_NULO,
    Pr_Unidad_Control_1       TEXTO,
    Pr_Unidad_Control_2       TEXTO,
    Pr_Precio                 IMPORTE,
    Pr_Cuota_Fija             IMPORTE,
    Im_Cve_Impuesto           TEXTO,
    Pr_Maneja_Lote            ENTERO,
    Pr_Maneja_Serie           ENTERO,
    Es_Cve_Estado             ESTADO,
    Pr_Clave_Prod_Serv        TEXTO,
    Pr_Clave_Unidad           TEXTO,
    Pr_Objeto_Impuesto        TEXTO,
    PRIMARY KEY (Pr_Cve_Producto)
);
CREATE TABLE Lote (
    Pr_Cve_Producto      TEXTO,
    Lt_Cve_Lote          TEXTO,
    Lt_Fecha_Caducidad   FECHA_NULA,
    Lt_Pedimento         TEXTO_NULO,
    Lt_Fecha_Pedimento   FECHA_NULA,
    Lt_Aduana            TEXTO_NULO,
    PRIMARY KEY (Pr_Cve_Producto, Lt_Cve_Lote)
);
CREATE TABLE Lote_Documento (
    Ld_Tabla               TEXTO,
    Ld_Documento           TEXTO,
    Ld_Renglon             ENTERO,
    Pr_Cve_Producto        TEXTO,
    Lt_Cve_Lote            TEXTO,
    Lt_Cantidad_Control_1  CANTIDAD,
    Lt_Cantidad_Control_2  CANTIDAD
);
CREATE TABLE Serie_Documento (
    Sd_Tabla         TEXTO,
    Sd_Documento     TEXTO,
    Sd_Renglon       ENTERO,
    Pr_Cve_Producto  TEXTO,
    Tl_Cve_Talla     TEXTO,
    Cl_Cve_Color     TEXTO,
    Sr_Cve_Serie     TEXTO
);
CREATE TABLE Venta (
    Vn_Folio                      TEXTO,
    Vn_Id                         ENTERO,
    Vn_Fecha                      FECHA,
    Cl_Cve_Cliente                TEXTO,
    Sc_Cve_Sucursal               TEXTO,
    Al_Cve_Almacen                TEXTO,
    Mn_Cve_Moneda                 TEXTO,
    Vn_Tipo_Cambio                TIPO_CAMBIO,
    Vn_Condicion_Venta            TEXTO,
    Vn_Cve_Vendedor               TEXTO,
    Pr_Cve_Producto               TEXTO,
    Tl_Cve_Talla                  TEXTO,
    Cl_Cve_Color                  TEXTO,
    Vn_Concepto                   TEXTO,
    Vn_Cantidad_1                 CANTIDAD,
    Vn_Unidad_1                   TEXTO,
    Vn_Cantidad_Control_1         CANTIDAD,
    Vn_Unidad_Control_1           TEXTO,
    Vn_Cantidad_Control_2         CANTIDAD,
    Vn_Unidad_Control_2           TEXTO,
    Vn_Precio_Unitario            IMPORTE,
    Vn_Descuento_Factor           CANTIDAD,
    Vn_Cuota_Fija                 IMPORTE,
    Vn_Precio_Descontado_Importe  IMPORTE,
    Vn_Descuento_Global_Importe   IMPORTE,
    Im_Cve_Impuesto               TEXTO,
    Vn_Impuesto_Importe           IMPORTE,
    Vn_Precio_Neto_Importe        IMPORTE,
    Fc_Folio                      TEXTO,
    Fc_Factura                    TEXTO,
    Es_Cve_Estado                 ESTADO,
    Oper_Alta                     TEXTO,
    Fecha_Alta                    FECHA_HORA,
    Oper_Baja                     TEXTO,
    Oper_Ult_Modif                TEXTO,
    Fecha_Ult_Modif               FECHA_HORA,
    PRIMARY KEY (Vn_Folio, Vn_Id)
);
CREATE TABLE Venta_Encabezado (
    Vn_Folio                    TEXTO,
    Vn_Fecha                    FECHA,
    Cl_Cve_Cliente              TEXTO,
    Sc_Cve_Sucursal             TEXTO,
    Al_Cve_Almacen              TEXTO,
    Mn_Cve_Moneda               TEXTO,
    Vn_Tipo_Cambio              TIPO_CAMBIO,
    Vn_Condicion_Venta          TEXTO,
    Vn_Cve_Vendedor             TEXTO,
    Vn_Referencia               TEXTO,
    Vn_Comentario               TEXTO,
    Vn_Forma_Pago               TEXTO,
    Vn_Origen                   TEXTO,
    Vn_Documento                TEXTO,
    Vn_Descuento_Global_Factor  CANTIDAD,
    Fc_Folio                    TEXTO,
    Fc_Factura                  TEXTO,
    Es_Cve_Estado               ESTADO,
    Oper_Alta                   TEXTO,
    Fecha_Alta                  FECHA_HORA,
    Oper_Baja                   TEXTO,
    Oper_Ult_Modif              TEXTO,
    Fecha_Ult_Modif             FECHA_HORA,
    PRIMARY KEY (Vn_Folio)
);
CREATE TABLE Factura ({FACTURA});
CREATE TABLE Factura_Encabezado ({FACTURA});
CREATE TABLE Factura_Detalle (
    Fc_Folio               TEXTO,
    Fd_Renglon             TEXTO,
    Pr_Cve_Producto        TEXTO,
    Fd_Concepto            TEXTO,
    Tl_Cve_Talla           TEXTO,
    Cl_Cve_Color           TEXTO,
    Fd_Cantidad_Control_1  CANTIDAD,
    Fd_Unidad_Control_1    TEXTO,
    Fd_Cantidad_Control_2  CANTIDAD,
    Fd_Unidad_Control_2    TEXTO,
    Fd_Precio_Unitario     IMPORTE,
    Fd_Cuota_Fija          IMPORTE,
    Fd_Importe             IMPORTE,
    Im_Cve_Impuesto        TEXTO,
    Fd_Impuesto_Importe    IMPORTE,
    Fd_Lotes               TEXTO,
    Fd_Series              TEXTO,
    PRIMARY KEY (Fc_Folio, Fd_Renglon)
);
CREATE TABLE Cuenta_x_Cobrar (
    Cxc_Folio                      TEXTO,
    Cxc_Fecha                      FECHA,
    Cxc_Fecha_Vencimiento          FECHA,
    Cxc_Tabla                      TEXTO,
    Cxc_Documento                  TEXTO,
    Cxc_Factura                    TEXTO,
    Cxc_Comentario                 TEXTO,
    Sc_Cve_Sucursal                TEXTO,
    Cl_Cve_Cliente                 TEXTO,
    Cxc_Precio_Descontado_Importe  IMPORTE,
    Cxc_Precio_Descontado_Saldo    IMPORTE,
    Cxc_Impuesto_Importe           IMPORTE,
    Cxc_Impuesto_Saldo             IMPORTE,
    Cxc_Precio_Neto_Importe        IMPORTE,
    Cxc_Precio_Neto_Saldo          IMPORTE,
    Mn_Cve_Moneda                  TEXTO,
    Cxc_Tipo_Cambio                TIPO_CAMBIO,
    Cxc_Condicion_Pago             TEXTO,
    Cxc_Pago_Parcial               TEXTO,
    Cxc_Parcialidades              ENTERO,
    Es_Cve_Estado                  ESTADO,
    Oper_Ult_Modif                 TEXTO,
    Fecha_Ult_Modif                FECHA_HORA,
    PRIMARY KEY (Cxc_Folio)
);
CREATE TABLE CUENTA_X_COBRAR_IMPUESTO (
    Cxc_Folio        TEXTO,
    Im_Cve_Impuesto  TEXTO,
    Cxci_Importe     IMPORTE,
    Cxci_Saldo       IMPORTE,
    PRIMARY KEY (Cxc_Folio, Im_Cve_Impuesto)
);
CREATE TABLE Pago_Cxc (
    Pc_Folio              TEXTO,
    Cxc_Folio             TEXTO,
    Pc_Fecha              FECHA,
    Pc_Tabla              TEXTO,
    Pc_Documento          TEXTO,
    Pc_Factura            TEXTO,
    Pc_Comentario         TEXTO,
    Fp_Cve_Forma_Pago     TEXTO,
    Pc_Importe            IMPORTE,
    Pc_Precio_Descontado  IMPORTE,
    Pc_Impuesto           IMPORTE,
    Mn_Cve_Moneda         TEXTO,
    Pc_Tipo_Cambio        TIPO_CAMBIO,
    Es_Cve_Estado         ESTADO,
    Oper_Ult_Modif        TEXTO,
    Fecha_Ult_Modif       FECHA_HORA,
    PRIMARY KEY (Pc_Folio)
);
CREATE TABLE Pago_Cxc_Impuesto (
    Pc_Folio         TEXTO,
    Im_Cve_Impuesto  TEXTO,
    Pci_Importe      IMPORTE,
    PRIMARY KEY (Pc_Folio, Im_Cve_Impuesto)
);
CREATE TABLE Comprobante_Digital (
    Cd_Tabla               TEXTO,
    Cd_Documento           TEXTO,
    Cd_Fecha               FECHA_HORA,
    Cd_Uuid                TEXTO,
    Cd_Cadena_Original     TEXTO,
    Cd_Sello               TEXTO,
    Cd_Certificado         TEXTO,
    Cd_Archivo             TEXTO,
    Cd_Cancelado           ENTERO,
    Cd_Xml                 TEXTO,
    Cd_No_Certificado      TEXTO,
    Cd_Timbrado            ENTERO,
    Cd_Motivo_Cancelacion  TEXTO,
    Cd_Estado_Cancelacion  TEXTO,
    Cd_Uuid_Sustituto      TEXTO,
    PRIMARY KEY (Cd_Tabla, Cd_Documento)
);
CREATE TABLE Cfdi_Sustituido (
    Cs_Documento  TEXTO,
    Vn_Folio      TEXTO,
    PRIMARY KEY (Cs_Documento, Vn_Folio)
);
CREATE TABLE Timbrado_Pendiente (
    Tp_Tabla            TEXTO,
    Tp_Documento        TEXTO,
    Tp_Fecha            FECHA_HORA,
    Tp_Cadena_Original  TEXTO,
    Tp_Sello            TEXTO,
    Tp_Certificado      TEXTO,
    Tp_No_Certificado   TEXTO,
    Tp_Archivo          TEXTO,
    Tp_Xml              TEXTO,
    Tp_Ultimo_Error     TEXTO,
    PRIMARY KEY (Tp_Tabla, Tp_Documento)
);
CREATE TABLE Serie (
    Sc_Cve_Sucursal   TEXTO,
    Sr_Serie          TEXTO,
    Sr_Descripcion    TEXTO,
    Sr_Ultimo_Numero  ENTERO,
    Sr_Digital        ENTERO,
    PRIMARY KEY (Sc_Cve_Sucursal, Sr_Serie)
);
CREATE TABLE Variable (
    Vr_Nombre  TEXTO,
    Vr_Valor   TEXTO,
    PRIMARY KEY (Vr_Nombre)
);
CREATE TABLE Usuario (
    Us_Cve_Usuario   TEXTO,
    Us_Descripcion   TEXTO,
    Us_Email         TEXTO,
    Sc_Cve_Sucursal  TEXTO,
    Al_Cve_Almacen   TEXTO,
    Es_Cve_Estado    ESTADO,
    Us_Clave         TEXTO,
    Us_Activo        VERDADERO,
    Us_Fallos        ENTERO,
    Us_Ultimo_Fallo  TEXTO,
    PRIMARY KEY (Us_Cve_Usuario)
);
CREATE TABLE Permiso (
    Us_Cve_Usuario  TEXTO,
    Pm_Modulo       TEXTO,
    Pm_Clave        TEXTO,
    PRIMARY KEY (Us_Cve_Usuario, Pm_Modulo, Pm_Clave)
);
CREATE TABLE Filtro_Usuario (
    Us_Cve_Usuario  TEXTO,
    Fu_Condicion    TEXTO,
    PRIMARY KEY (Us_Cve_Usuario)
);
CREATE TABLE Consulta (
    Cs_Nombre       TEXTO,
    Cs_Descripcion  TEXTO,
    Cs_Texto        TEXTO,
    PRIMARY KEY (Cs_Nombre)
);
CREATE TABLE Periodo_Operativo (
    Pe_Modulo        TEXTO,
    Pe_Fecha_Inicio  FECHA,
    Pe_Fecha_Final   FECHA,
    Pe_Abierto       VERDADERO,
    PRIMARY KEY (Pe_Modulo, Pe_Fecha_Inicio)
);
CREATE TABLE Relacion_Renglon (
    Rr_Tabla       TEXTO,
    Rr_Documento   TEXTO,
    Rr_Renglon     TEXTO,
    Rr_Referencia  TEXTO,
    PRIMARY KEY (Rr_Tabla, Rr_Documento, Rr_Renglon)
);
CREATE TABLE Direccion_Documento (
    Dd_Tabla          TEXTO,
    Dd_Documento      TEXTO,
    Dd_Catalogo       TEXTO,
    Dd_Clave          TEXTO,
    De_Cve_Direccion  TEXTO,
    PRIMARY KEY (Dd_Tabla, Dd_Documento)
);
CREATE TABLE Campo_Adicional (
    Ca_Tabla      TEXTO,
    Ca_Documento  TEXTO,
    Ca_Campo      TEXTO,
    Ca_Valor      TEXTO,
    PRIMARY KEY (Ca_Tabla, Ca_Documento, Ca_Campo)
);
CREATE TABLE Consecutivo (
    Cn_Tabla   TEXTO,
    Cn_Ultimo  ENTERO,
    PRIMARY KEY (Cn_Tabla)
);
CREATE TABLE Version_Esquema (
    Ve_Version  ENTERO
);
CREATE INDEX Venta_Pendiente ON Venta (Sc_Cve_Sucursal, Mn_Cve_Moneda, Es_Cve_Estado) WHERE Fc_Folio = '';
CREATE INDEX Venta_Factura_Nota ON Venta (Fc_Folio, Vn_Folio);
CREATE INDEX Venta_Cancelada ON Venta (Vn_Folio) WHERE Es_Cve_Estado = 'CA' OR Oper_Baja <> '';
CREATE INDEX Venta_Encabezado_Factura ON Venta_Encabezado (Fc_Folio);
CREATE INDEX Cliente_Sucursal ON Cliente (Sc_Cve_Sucursal);
CREATE INDEX Lote_Documento_Producto ON Lote_Documento (Pr_Cve_Producto, Ld_Tabla, Ld_Documento);
CREATE INDEX Serie_Documento_Documento ON Serie_Documento (Sd_Tabla, Sd_Documento, Pr_Cve_Producto);
CREATE INDEX Cuenta_x_Cobrar_Documento ON Cuenta_x_Cobrar (Cxc_Tabla, Cxc_Documento);
CREATE INDEX Pago_Cxc_Documento ON Pago_Cxc (Pc_Tabla, Pc_Documento);
CREATE UNIQUE INDEX Factura_Serie_Numero ON Factura (Fc_Serie, Fc_Numero) WHERE Fc_Serie <> '';
CREATE UNIQUE INDEX Factura_Encabezado_Serie_Numero ON Factura_Encabezado (Fc_Serie, Fc_Numero) WHERE Fc_Serie <> '';
)";

using Tipos = std::vector<std::pair<const char*, const char*>>;

// Matched as whole words, so TEXTO leaves TEXTO_NULO alone and no rendering holds another kind's word.
const Tipos kTiposSqlite = {
    {"TEXTO_NULO", "TEXT DEFAULT '' COLLATE NOCASE"},
    {"TEXTO", "TEXT NOT NULL DEFAULT '' COLLATE NOCASE"},
    {"ESTADO", "TEXT NOT NULL DEFAULT 'AC' COLLATE NOCASE"},
    {"IMPORTE", "NUMERIC NOT NULL DEFAULT 0"},
    {"CANTIDAD", "NUMERIC NOT NULL DEFAULT 0"},
    {"TIPO_CAMBIO", "NUMERIC NOT NULL DEFAULT 1"},
    {"ENTERO", "INTEGER NOT NULL DEFAULT 0"},
    {"VERDADERO", "INTEGER NOT NULL DEFAULT 1"},
    {"FECHA_NULA", "TEXT"},
    {"FECHA_HORA", "TEXT NOT NULL DEFAULT CURRENT_TIMESTAMP"},
    {"FECHA", "TEXT NOT NULL DEFAULT CURRENT_DATE"},
};

// A nondeterministic ICU collation gives PostgreSQL SQL Server's case-insensitive comparison.
constexpr const char* kColacionPostgresql =
    "CREATE COLLATION IF NOT EXISTS sin_mayusculas "
    "(provider = icu, locale = 'und-u-ks-level2', deterministic = false);";

const Tipos kTiposPostgresql = {
    {"TEXTO_NULO", "text DEFAULT '' COLLATE sin_mayusculas"},
    {"TEXTO", "text NOT NULL DEFAULT '' COLLATE sin_mayusculas"},
    {"ESTADO", "text NOT NULL DEFAULT 'AC' COLLATE sin_mayusculas"},
    {"IMPORTE", "numeric(19,4) NOT NULL DEFAULT 0"},
    {"CANTIDAD", "numeric NOT NULL DEFAULT 0"},
    {"TIPO_CAMBIO", "numeric NOT NULL DEFAULT 1"},
    {"ENTERO", "integer NOT NULL DEFAULT 0"},
    {"VERDADERO", "integer NOT NULL DEFAULT 1"},
    {"FECHA_NULA", "date"},
    {"FECHA_HORA", "timestamp NOT NULL DEFAULT CURRENT_TIMESTAMP"},
    {"FECHA", "date NOT NULL DEFAULT CURRENT_DATE"},
};

std::string Reemplaza(std::string texto, const std::string& buscado, const std::string& puesto) {
    for (std::size_t i = texto.find(buscado); i != std::string::npos; i = texto.find(buscado, i + puesto.size()))
        texto.replace(i, buscado.size(), puesto);
    return texto;
}

std::string Renderiza(const Tipos& tipos) {
    std::string texto = Reemplaza(kTablas, "{FACTURA}", kColumnasFactura);
    for (const auto& [palabra, tipo] : tipos)
        texto = std::regex_replace(texto, std::regex(std::string("\\b") + palabra + "\\b"), tipo);
    return texto;
}

std::vector<std::string> Sentencias(const std::string& texto) {
    std::vector<std::string> sentencias;
    std::size_t inicio = 0;
    for (std::size_t fin = texto.find(';'); fin != std::string::npos; fin = texto.find(';', inicio)) {
        sentencias.push_back(texto.substr(inicio, fin - inicio));
        inicio = fin + 1;
    }
    return sentencias;
}

bool EsIndice(const std::string& sentencia) {
    const std::size_t inicio = sentencia.find_first_not_of(" \n");
    return inicio != std::string::npos && (sentencia.compare(inicio, 13, "CREATE INDEX ") == 0 ||
                                           sentencia.compare(inicio, 20, "CREATE UNIQUE INDEX ") == 0);
}

bool TieneTabla(kx204::host::Connection& conexion, Dialecto dialecto, const std::string& tabla) {
    const std::string consulta =
        dialecto == Dialecto::SQLite
            ? "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = '" + tabla + "' COLLATE NOCASE"
            : "SELECT count(*) FROM information_schema.tables WHERE lower(table_name) = lower('" + tabla + "')";
    return conexion.Execute(consulta)->Field(0).ToLong() > 0;
}

// "CREATE [UNIQUE] INDEX Name ON …"
std::string NombreDelIndice(const std::string& sentencia) {
    const std::size_t inicio = sentencia.find(" INDEX ") + 7;
    return sentencia.substr(inicio, sentencia.find(' ', inicio) - inicio);
}

bool TieneIndice(kx204::host::Connection& conexion, Dialecto dialecto, const std::string& indice) {
    const std::string consulta =
        dialecto == Dialecto::SQLite
            ? "SELECT count(*) FROM sqlite_master WHERE type = 'index' AND name = '" + indice + "' COLLATE NOCASE"
            : "SELECT count(*) FROM pg_indexes WHERE schemaname = current_schema() AND indexname = lower('" + indice +
                  "')";
    return conexion.Execute(consulta)->Field(0).ToLong() > 0;
}

// A table as its CREATE TABLE statement makes it: its name and each column's definition.
struct Tabla {
    std::string nombre;
    std::vector<std::pair<std::string, std::string>> columnas;  // name → "Name type …"
};

std::string Recorta(const std::string& texto) {
    const std::size_t inicio = texto.find_first_not_of(" \n");
    if (inicio == std::string::npos) return {};
    return texto.substr(inicio, texto.find_last_not_of(" \n,") + 1 - inicio);
}

std::string Minusculas(std::string texto) {
    for (char& c : texto) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return texto;
}

// The schema's statements write one column per line, constraints after them.
std::optional<Tabla> TablaCreada(const std::string& sentencia) {
    const std::string texto = Recorta(sentencia);
    if (texto.rfind("CREATE TABLE ", 0) != 0) return std::nullopt;
    Tabla tabla{texto.substr(13, texto.find(" (") - 13), {}};
    std::istringstream lineas(texto.substr(texto.find('\n') + 1));
    for (std::string linea; std::getline(lineas, linea);) {
        linea = Recorta(linea);
        if (linea.empty() || linea == ")" || linea.rfind("PRIMARY KEY", 0) == 0 || linea.rfind("UNIQUE", 0) == 0)
            continue;
        tabla.columnas.emplace_back(linea.substr(0, linea.find(' ')), linea);
    }
    return tabla;
}

// The lower-case names of a table's columns.
std::set<std::string> ColumnasDe(kx204::host::Connection& conexion, Dialecto dialecto, const std::string& tabla) {
    const std::string consulta =
        dialecto == Dialecto::SQLite
            ? "SELECT name FROM pragma_table_info('" + tabla + "')"
            : "SELECT column_name FROM information_schema.columns WHERE lower(table_name) = lower('" + tabla +
                  "') AND table_schema = current_schema()";
    std::set<std::string> columnas;
    for (const std::string& columna : PrimeraColumna(conexion, consulta)) columnas.insert(Minusculas(columna));
    return columnas;
}

// Every folio counter is there before the first clerk takes a folio: two clerks who found theirs missing
// would both insert it, and the second would fail.
void SiembraContadores(kx204::host::Connection& conexion) {
    for (const char* tabla : {"Factura", "Cuenta_x_Cobrar", "Pago_Cxc"})
        conexion.Execute(std::string("INSERT INTO Consecutivo (Cn_Tabla, Cn_Ultimo) SELECT '") + tabla +
                         "', 0 WHERE NOT EXISTS (SELECT 1 FROM Consecutivo WHERE Cn_Tabla = '" + tabla + "')");
}

void GuardaVersion(kx204::host::Connection& conexion) {
    conexion.Execute("DELETE FROM Version_Esquema");
    conexion.Execute("INSERT INTO Version_Esquema (Ve_Version) VALUES (" + std::to_string(kVersionEsquema) + ")");
}

}  // namespace

// SQL Server's schema is the ERP's own.
std::vector<std::string> SentenciasDelEsquema(Dialecto dialecto) {
    if (dialecto == Dialecto::SqlServer)
        throw kx204::host::RuntimeError(kx204::host::errores::Database,
                                        "The SQL Server schema is the ERP's own; it is not created here.");
    return Sentencias(Renderiza(dialecto == Dialecto::SQLite ? kTiposSqlite : kTiposPostgresql));
}

void CreaEsquema(kx204::host::Connection& conexion, Dialecto dialecto) {
    const std::vector<std::string> sentencias = SentenciasDelEsquema(dialecto);
    if (dialecto == Dialecto::PostgreSQL) conexion.Execute(kColacionPostgresql);
    for (const std::string& sentencia : sentencias) conexion.Execute(sentencia);
    SiembraContadores(conexion);
    GuardaVersion(conexion);
}

void AnalizaTablas(kx204::host::Connection& conexion, Dialecto dialecto) {
    std::string tablas;
    for (const std::string& sentencia : SentenciasDelEsquema(dialecto))
        if (const std::optional<Tabla> tabla = TablaCreada(sentencia))
            tablas += (tablas.empty() ? "" : ", ") + tabla->nombre;
    conexion.Execute("ANALYZE " + tablas);
}

int VersionEsquema(kx204::host::Connection& conexion, Dialecto dialecto) {
    if (!TieneTabla(conexion, dialecto, "Venta")) return 0;
    if (!TieneTabla(conexion, dialecto, "Version_Esquema")) return 1;
    return static_cast<int>(conexion.Execute("SELECT max(Ve_Version) FROM Version_Esquema")->Field(0).ToLong());
}

void ActualizaEsquema(kx204::host::Connection& conexion, Dialecto dialecto) {
    const std::vector<std::string> sentencias = SentenciasDelEsquema(dialecto);
    const int version = VersionEsquema(conexion, dialecto);
    if (version == 0)
        throw kx204::host::RuntimeError(kx204::host::errores::Database,
                                        "The database has no schema to upgrade; initialise it instead.");
    if (version > kVersionEsquema)
        throw kx204::host::RuntimeError(kx204::host::errores::Database,
                                        "The database has schema version " + std::to_string(version) +
                                            ", newer than this program's " + std::to_string(kVersionEsquema) +
                                            "; use a newer program.");
    for (const std::string& sentencia : sentencias) {
        const std::optional<Tabla> tabla = TablaCreada(sentencia);
        if (!tabla) continue;
        if (!TieneTabla(conexion, dialecto, tabla->nombre)) {
            conexion.Execute(sentencia);
            continue;
        }
        const std::set<std::string> existentes = ColumnasDe(conexion, dialecto, tabla->nombre);
        for (const auto& [columna, definicion] : tabla->columnas)
            if (!existentes.count(Minusculas(columna)))
                conexion.Execute("ALTER TABLE " + tabla->nombre + " ADD COLUMN " + definicion);
    }
    // Made again below as they are now: an invoice's notes read in order from the index alone, and only
    // the pending lines indexed for loading, so that invoicing a line takes it out rather than moving it.
    if (version < 8)
        for (const char* indice : {"Venta_Factura", "Venta_Pendiente"})
            if (TieneIndice(conexion, dialecto, indice)) conexion.Execute(std::string("DROP INDEX ") + indice);
    // Every index of this version an older database lacks; asking first keeps the server from noticing.
    for (const std::string& sentencia : sentencias)
        if (EsIndice(sentencia) && !TieneIndice(conexion, dialecto, NombreDelIndice(sentencia)))
            conexion.Execute(sentencia);
    // Before sign-in was checked everyone could open the screen and invoice: nobody is locked out.
    if (version < 3)
        for (const char* permiso : {"ACCESO", "FACTURAR"})
            conexion.Execute(std::string("INSERT INTO Permiso (Us_Cve_Usuario, Pm_Modulo, Pm_Clave) SELECT "
                                         "Us_Cve_Usuario, 'KX204', '") +
                             permiso +
                             "' FROM Usuario u WHERE NOT EXISTS (SELECT 1 FROM Permiso p WHERE p.Us_Cve_Usuario = "
                             "u.Us_Cve_Usuario AND p.Pm_Modulo = 'KX204' AND p.Pm_Clave = '" +
                             permiso + "')");
    SiembraContadores(conexion);
    GuardaVersion(conexion);
}

}  // namespace qivera::db
