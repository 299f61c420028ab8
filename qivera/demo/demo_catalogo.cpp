#include "qivera/demo/demo_catalogo.hpp"

#include <algorithm>

#include "kx204/host/currency.hpp"
#include "kx204/host/texto.hpp"
#include "qivera/signing/datos_cfdi.hpp"

namespace qivera::db::demo {

using kx204::host::Variant;

namespace {

using Fila = std::vector<Variant>;

constexpr Escalado Centavos(std::int64_t centavos) { return centavos * 100; }

void InsertaFilas(ConexionQt& conexion, const std::string& tabla, const std::string& columnas,
                  const std::vector<Fila>& filas) {
    SentenciaPreparada sentencia = Inserta(conexion, tabla, columnas);
    for (const Fila& fila : filas) sentencia.Ejecuta(fila);
}

std::vector<Sucursal> Sucursales(ConexionQt& conexion) {
    InsertaFilas(conexion, "Sucursal", "Sc_Cve_Sucursal, Sc_Descripcion, Sc_Direccion, Sc_Codigo_Postal",
                 {{"01", "Matriz Centro", "Av. Juárez 100, Centro", "06000"},
                  {"02", "Sucursal Norte", "Blvd. Norte 2500, Industrial", "64000"},
                  {"03", "Sucursal Sur", "Calz. del Sur 15, Las Fuentes", "44100"}});
    InsertaFilas(conexion, "Almacen", "Al_Cve_Almacen, Al_Descripcion, Sc_Cve_Sucursal",
                 {{"0101", "Almacén general Matriz", "01"},
                  {"0102", "Bodega Matriz", "01"},
                  {"0201", "Almacén general Norte", "02"},
                  {"0202", "Bodega Norte", "02"},
                  {"0301", "Almacén general Sur", "03"},
                  {"0302", "Bodega Sur", "03"}});
    InsertaFilas(conexion, "Vendedor", "Vn_Cve_Vendedor, Vn_Descripcion, Sc_Cve_Sucursal",
                 {{"V01", "Laura Méndez", "01"},
                  {"V02", "Carlos Ruiz", "01"},
                  {"V03", "Ana Torres", "02"},
                  {"V04", "Jorge Salas", "02"},
                  {"V05", "María López", "03"},
                  {"V06", "Pedro Ríos", "03"}});
    InsertaFilas(conexion, "Serie", "Sc_Cve_Sucursal, Sr_Serie, Sr_Descripcion, Sr_Digital",
                 {{"01", "A", "Facturas Matriz", 0},
                  {"01", "AE", "Facturas electrónicas Matriz", 1},
                  {"02", "B", "Facturas Norte", 0},
                  {"03", "C", "Facturas Sur", 0}});
    return {{"01", {"0101", "0102"}, {"V01", "V02"}, {"A", "AE"}},
            {"02", {"0201", "0202"}, {"V03", "V04"}, {"B"}},
            {"03", {"0301", "0302"}, {"V05", "V06"}, {"C"}}};
}

// A daily dollar rate that wanders between 17.50 and 19.50 pesos.
std::vector<Escalado> TiposDeCambio(ConexionQt& conexion, Azar& azar) {
    InsertaFilas(conexion, "Moneda", "Mn_Cve_Moneda, Mn_Descripcion, Mn_Simbolo",
                 {{"MXN", "Peso mexicano", "$"}, {"USD", "Dólar estadounidense", "US$"}});
    SentenciaPreparada tipo = Inserta(conexion, "Tipo_Cambio", "Mn_Cve_Moneda, Tc_Fecha, Tc_Tipo_Cambio");
    std::vector<Escalado> dolar;
    Escalado actual = 185000;
    for (int dia = 0; dia < kDiasConTipoDeCambio; ++dia) {
        actual = std::clamp<Escalado>(actual + azar.Entre(-500, 500), 175000, 195000);
        dolar.push_back(actual);
        tipo.Ejecuta({"MXN", Dia(dia), Dinero(kx204::host::Currency::kScale)});
        tipo.Ejecuta({"USD", Dia(dia), Dinero(actual)});
    }
    return dolar;
}

std::vector<Condicion> CatalogosMenores(ConexionQt& conexion) {
    InsertaFilas(conexion, "Segmento", "Sg_Cve_Segmento, Sg_Descripcion",
                 {{"MAY", "Mayoreo"}, {"MEN", "Menudeo"}, {"INS", "Institucional"}});
    InsertaFilas(conexion, "Ruta", "Rt_Cve_Ruta, Rt_Descripcion",
                 {{"R01", "Ruta Centro"}, {"R02", "Ruta Norte"}, {"R03", "Ruta Sur"}, {"R04", "Ruta Foránea"}});
    InsertaFilas(conexion, "Forma_Pago", "Fp_Cve_Forma_Pago, Fp_Descripcion, Fp_Clave_SAT",
                 {{"CONN", "Consolidación de notas", "99"},
                  {"EFE", "Efectivo", "01"},
                  {"TAR", "Tarjeta", "04"},
                  {"TRA", "Transferencia", "03"},
                  {"CHE", "Cheque", "02"}});
    InsertaFilas(conexion, "Metodo_Pago", "Mp_Cve_Metodo_Pago, Mp_Descripcion",
                 {{"PUE", "Pago en una sola exhibición"}, {"PPD", "Pago en parcialidades o diferido"}});
    InsertaFilas(
        conexion, "Impuesto", "Im_Cve_Impuesto, Im_Descripcion, Im_Tasa, Im_Impuesto_SAT, Im_Tipo_Factor",
        {{"IVA16", "IVA 16%", Dinero(1600), "002", "Tasa"}, {"IVA0", "IVA tasa 0%", Dinero(0), "002", "Tasa"}});
    InsertaFilas(conexion, "Condicion_Venta",
                 "Cv_Cve_Condicion_Venta, Cv_Descripcion, Cv_Tipo_Condicion, Cv_Dias_Credito, Cv_Pago_Parcial, "
                 "Cv_Numero_Parcialidades",
                 {{"CONT", "Contado", "01", 0, "NO", 0},
                  {"CR15", "Crédito 15 días", "02", 15, "NO", 0},
                  {"CR30", "Crédito 30 días en 3 pagos", "02", 30, "SI", 3}});
    return {{"CONT", false, 0}, {"CR15", true, 15}, {"CR30", true, 30}};
}

std::vector<Producto> ListaDeProductos() {
    //       key      description                           unit 2 factor          price            tax     fee lot
    //       serial sizes  equivalent
    return {
        {"P0001", "Arroz blanco 1 kg", "", 0, Centavos(2850), "IVA0", 0, true, false, false, ""},
        {"P0002", "Frijol negro 1 kg", "", 0, Centavos(3990), "IVA0", 0, true, false, false, ""},
        {"P0003", "Aceite de oliva 1 L", "", 0, Centavos(18900), "IVA16", 0, true, false, false, ""},
        {"P0004", "Azúcar estándar 2 kg", "", 0, Centavos(6200), "IVA0", 0, false, false, false, ""},
        {"P0005", "Café de importación 500 g", "", 0, Centavos(21900), "IVA16", 0, true, false, false, ""},
        {"P0006", "Refresco de cola 600 ml", "", 0, Centavos(1800), "IVA16", Centavos(150), false, false, false, ""},
        {"P0007", "Galletas surtidas 400 g", "", 0, Centavos(3200), "IVA16", 0, false, false, false, ""},
        {"P0008", "Detergente en polvo 1 kg", "", 0, Centavos(5400), "IVA16", 0, false, false, false, ""},
        {"P0009", "Jabón de tocador 150 g", "", 0, Centavos(1550), "IVA16", 0, false, false, false, ""},
        {"P0010", "Papel higiénico 4 rollos", "", 0, Centavos(4200), "IVA16", 0, false, false, false, ""},
        {"P0011", "Queso panela pieza", "KG", 4000, Centavos(8500), "IVA0", 0, false, false, false, ""},
        {"P0012", "Jamón de pavo pieza", "KG", 2500, Centavos(6400), "IVA0", 0, true, false, false, ""},
        {"P0013", "Playera de algodón", "", 0, Centavos(14900), "IVA16", 0, false, false, true, ""},
        {"P0014", "Pantalón de mezclilla", "", 0, Centavos(49900), "IVA16", 0, false, false, true, ""},
        {"P0015", "Teléfono celular 128 GB", "", 0, Centavos(349900), "IVA16", 0, false, true, false, ""},
        {"P0016", "Audífonos inalámbricos", "", 0, Centavos(89900), "IVA16", 0, false, true, false, ""},
        {"P0017", "Licuadora 10 velocidades", "", 0, Centavos(129900), "IVA16", 0, false, true, false, ""},
        {"P0018", "Televisor 43\" 4K", "", 0, Centavos(799900), "IVA16", 0, false, true, false, ""},
        {"P0019", "Arroz blanco 1 kg (promoción)", "", 0, Centavos(2550), "IVA0", 0, true, false, false, "P0001"},
        {"P0020", "Frijol negro 1 kg (mayoreo)", "", 0, Centavos(3690), "IVA0", 0, true, false, false, "P0002"},
        {"P0021", "Café de importación 500 g (2x1)", "", 0, Centavos(21900), "IVA16", 0, true, false, false, "P0005"},
        {"P0022", "Servicio de instalación", "", 0, Centavos(35000), "IVA16", 0, false, false, false, ""}};
}

// Three lots per lot master; imported goods carry their customs declaration, local ones a null one.
void Lotes(ConexionQt& conexion, const std::vector<Producto>& productos) {
    SentenciaPreparada lote = Inserta(conexion, "Lote",
                                      "Pr_Cve_Producto, Lt_Cve_Lote, Lt_Fecha_Caducidad, Lt_Pedimento, "
                                      "Lt_Fecha_Pedimento, Lt_Aduana");
    for (const Producto& producto : productos) {
        if (!producto.lote || !producto.equivalente.empty()) continue;
        const bool importado = producto.impuesto == "IVA16";
        for (int n = 1; n <= 3; ++n) {
            const std::string clave = "L" + producto.clave.substr(1) + "-" + std::to_string(n);
            const Variant pedimento =
                importado ? Variant("26 47 3807 60" + producto.clave.substr(1) + std::to_string(n)) : Variant::Null;
            const Variant aduana = importado ? Variant(n == 2 ? "MANZANILLO" : "VERACRUZ") : Variant::Null;
            lote.Ejecuta({producto.clave, clave, Dia(400 + 60 * n), pedimento, Dia(-40 + 10 * n), aduana});
        }
    }
}

// The SAT's product or service key of each demo product, in its catalog's order.
constexpr const char* kClavesProdServ[] = {"50221101", "50221102", "50151513", "50161509", "50201706", "50202306",
                                           "50181903", "47131807", "53131608", "14111703", "50131702", "50112004",
                                           "53101602", "53101502", "43191501", "52161514", "52141526", "52161505",
                                           "50221101", "50221102", "50201706", "72151500"};

std::vector<Producto> Productos(ConexionQt& conexion) {
    const std::vector<Producto> productos = ListaDeProductos();
    SentenciaPreparada producto =
        Inserta(conexion, "Producto",
                "Pr_Cve_Producto, Pr_Descripcion, Pr_Equivalencia_Producto, Pr_Unidad_Control_1, "
                "Pr_Unidad_Control_2, Pr_Precio, Pr_Cuota_Fija, Im_Cve_Impuesto, Pr_Maneja_Lote, "
                "Pr_Maneja_Serie, Pr_Clave_Prod_Serv, Pr_Clave_Unidad, Pr_Objeto_Impuesto");
    for (std::size_t i = 0; i < productos.size(); ++i) {
        const Producto& p = productos[i];
        const bool servicio = p.clave == "P0022";
        producto.Ejecuta({p.clave, p.descripcion, p.equivalente, "PZA", p.unidad2, Dinero(p.precio),
                          Dinero(p.cuotaFija), p.impuesto, p.lote ? 1 : 0, p.serie ? 1 : 0, kClavesProdServ[i],
                          servicio ? "E48" : "H87", "02"});
    }
    Lotes(conexion, productos);
    return productos;
}

struct ClienteFijo {
    Cliente cliente;
    std::string nombre, rfc, condicion, segmento, ruta;
};

std::vector<ClienteFijo> ClientesFijos() {
    return {
        {{"C0000", "", 0, 0, "", {}}, "Público en general", kRfcPublicoEnGeneral, "CONT", "MEN", "R01"},
        {{"C0001", "01", Centavos(5000000), 30, "V01", {}},
         "Abarrotes La Esperanza",
         "AES940315KJ2",
         "CR30",
         "MAY",
         "R01"},
        {{"C0002", "01", 0, 0, "V02", {}}, "Tienda D'Lupita", "LUGL800101AB1", "CONT", "MEN", "R01"},
        {{"C0003", "02", Centavos(25000000), 15, "V03", {}},
         "Comercializadora del Norte, S.A. de C.V.",
         "CNO051120QW3",
         "CR15",
         "MAY",
         "R02"},
        {{"C0004", "03", 0, 0, "V05", {}}, "Farmacia San Ángel", "FSA110707HJ9", "CONT", "MEN", "R03"},
        {{"C0005", "03", Centavos(10000000), 30, "V06", {}}, "Hotel Costa Azul", "HCA990228TT5", "CR30", "INS", "R04"}};
}

ClienteFijo ClienteGenerado(int numero, const std::vector<Sucursal>& sucursales, Azar& azar) {
    static const std::vector<std::string> giros = {"Abarrotes",     "Miscelánea", "Ferretería", "Papelería",
                                                   "Distribuidora", "Cremería",   "Tienda",     "Comercial"};
    static const std::vector<std::string> nombres = {"El Sol", "La Luna",  "San Juan",   "Los Pinos",  "Del Valle",
                                                     "La Fe",  "El Roble", "Santa Rosa", "Las Palmas", "El Progreso"};
    const Sucursal& sucursal = sucursales[static_cast<std::size_t>(numero) % sucursales.size()];
    const bool credito = !azar.PorCiento(35);
    const int dias = credito ? azar.Elige(std::vector<int>{15, 30}) : 0;
    const Escalado limite = credito ? Centavos(100 * azar.Elige(std::vector<int>{20000, 50000, 100000})) : 0;
    const std::string nombre = azar.Elige(giros) + " " + azar.Elige(nombres) + " " + std::to_string(numero);
    const int alta = azar.Entre(100101, 991231);  // a date of incorporation YYMMDD
    const std::string rfc = "DEM" + Clave("", alta / 10000, 2) + Clave("", alta / 100 % 12 + 1, 2) +
                            Clave("", alta % 28 + 1, 2) + Clave("", numero, 3);
    return {{Clave("C", numero, 4), sucursal.clave, limite, dias, azar.Elige(sucursal.vendedores), {}},
            nombre,
            rfc,
            credito ? (dias == 15 ? "CR15" : "CR30") : "CONT",
            azar.Elige(std::vector<std::string>{"MAY", "MEN", "INS"}),
            azar.Elige(std::vector<std::string>{"R01", "R02", "R03", "R04"})};
}

std::vector<std::string> Direcciones(Azar& azar) {
    static const std::vector<std::string> calles = {"Hidalgo", "Morelos", "Reforma", "Allende", "Zaragoza", "Juárez"};
    static const std::vector<std::string> colonias = {"Centro", "Jardines", "Las Flores", "San Miguel", "Obrera"};
    std::vector<std::string> direcciones;
    for (int n = azar.Entre(1, 3); n > 0; --n)
        direcciones.push_back("Calle " + azar.Elige(calles) + " " + std::to_string(azar.Entre(1, 999)) + ", Col. " +
                              azar.Elige(colonias));
    return direcciones;
}

constexpr int kClientes = 40;

// Fiscal data of a client by its RFC: the general public takes the issuer's place of issue; a company
// (twelve characters) the general regime of legal persons, a person the regime of business activities.
bool PublicoEnGeneral(const std::string& rfc) { return rfc == kRfcPublicoEnGeneral; }
std::string RegimenFiscal(const std::string& rfc) {
    if (PublicoEnGeneral(rfc)) return "616";
    return rfc.size() == 12 ? "601" : "612";
}
std::string UsoCfdi(const std::string& rfc) { return PublicoEnGeneral(rfc) ? "S01" : "G03"; }
std::string CodigoPostalFiscal(const std::string& rfc, int numero) {
    static const char* const kCodigos[] = {"06600", "64710", "44160", "76000", "97000", "20000", "58000"};
    return PublicoEnGeneral(rfc) ? "" : kCodigos[numero % 7];
}

std::vector<Cliente> Clientes(ConexionQt& conexion, const std::vector<Sucursal>& sucursales, Azar& azar) {
    SentenciaPreparada cliente =
        Inserta(conexion, "Cliente",
                "Cl_Cve_Cliente, Cl_Descripcion, Cl_Razon_Social_1, Cl_Direccion_1, Cl_R_F_C, "
                "Cl_Email, Sg_Cve_Segmento, Rt_Cve_Ruta, Cl_Dias_Credito, Cl_Limite_Credito, "
                "Vn_Cve_Vendedor, Cv_Cve_Condicion_Venta, Mp_Cve_Metodo_Pago, Sc_Cve_Sucursal, "
                "Oper_Ult_Modif, Fecha_Ult_Modif, Cl_Regimen_Fiscal, Cl_Codigo_Postal, Cl_Uso_CFDI");
    SentenciaPreparada direccion =
        Inserta(conexion, "Direccion_Entrega", "Cl_Cve_Cliente, De_Cve_Direccion, De_Descripcion");
    std::vector<ClienteFijo> fijos = ClientesFijos();
    for (int numero = static_cast<int>(fijos.size()); numero < kClientes; ++numero)
        fijos.push_back(ClienteGenerado(numero, sucursales, azar));
    std::vector<Cliente> clientes;
    int numero = 0;
    for (ClienteFijo& c : fijos) {
        ++numero;
        c.cliente.direcciones = Direcciones(azar);
        const bool credito = c.cliente.limiteCredito > 0;
        cliente.Ejecuta({c.cliente.clave, c.nombre, c.nombre, c.cliente.direcciones.front(), c.rfc,
                         kx204::host::Variant("compras." + c.cliente.clave + "@example.com"), c.segmento, c.ruta,
                         c.cliente.diasCredito, Dinero(c.cliente.limiteCredito), c.cliente.vendedor, c.condicion,
                         credito ? "PPD" : "PUE", c.cliente.sucursal, "ADMIN", Dia(0) + " 08:00:00",
                         RegimenFiscal(c.rfc), CodigoPostalFiscal(c.rfc, numero), UsoCfdi(c.rfc)});
        for (std::size_t i = 0; i < c.cliente.direcciones.size(); ++i)
            direccion.Ejecuta({c.cliente.clave, Clave("", static_cast<int>(i) + 1, 2), c.cliente.direcciones[i]});
        clientes.push_back(c.cliente);
    }
    return clientes;
}

void Configuracion(ConexionQt& conexion) {
    InsertaFilas(conexion, "Variable", "Vr_Nombre, Vr_Valor",
                 {{"FIN_MONEDA_LOCAL", "MXN"},
                  {"VEN_SUGERIR_VENDEDOR", "1"},
                  {"VEN_SUCURSAL_DEFAULT", "01"},
                  {"VEN_ALMACEN_DEFAULT", "0101"},
                  {"FAC_ENVIAR_DOCUMENTO_EMAIL", "1"},
                  {"VEN_PERMITIR_CAPTURAR_NOTA_VENTA", "1"},
                  {"CXC_FORMA_PAGO_CONSOLIDAR_NOTAS", "CONN"},
                  {"GEN_VALIDAR_PERIODO_OPERATIVO", "0"},
                  {"FAC_CONSOLIDADA_NO_PROMEDIA_PRECIO", "0"},
                  {"FTO_SUCURSAL", ""},
                  {"FTO_ALMACEN", ""},
                  {"FTO_CLIENTE", ""},
                  {"FTO_VENDEDOR", ""},
                  {"FTO_CONDICION_VENTA", ""}});
    InsertaFilas(conexion, "Usuario", "Us_Cve_Usuario, Us_Descripcion, Us_Email, Sc_Cve_Sucursal, Al_Cve_Almacen",
                 {{"ADMIN", "Administrador", "admin@example.com", "", ""},
                  {"CAJERO", "Cajero de la Matriz", "cajero@example.com", "01", "0101"},
                  {"CONSULTA", "Consulta", "consulta@example.com", "", ""}});
    InsertaFilas(conexion, "Permiso", "Us_Cve_Usuario, Pm_Modulo, Pm_Clave",
                 {{"ADMIN", "KX204", "ACCESO"},
                  {"ADMIN", "KX204", "FACTURAR"},
                  {"ADMIN", "KX204", "CHFECHA"},
                  {"ADMIN", "KX204", "KEYF2"},
                  {"CAJERO", "KX204", "ACCESO"},
                  {"CAJERO", "KX204", "FACTURAR"},
                  {"CAJERO", "KX204", "KEYF2"},
                  {"CONSULTA", "KX204", "ACCESO"}});
    SentenciaPreparada periodo =
        Inserta(conexion, "Periodo_Operativo", "Pe_Modulo, Pe_Fecha_Inicio, Pe_Fecha_Final, Pe_Abierto");
    for (int mes = 0; mes < 24; ++mes) {
        const int anio = 2026 + mes / 12, numero = mes % 12 + 1;
        const auto inicio = kx204::host::Date::FromYmd(anio, numero, 1);
        const auto final = (numero == 12 ? kx204::host::Date::FromYmd(anio + 1, 1, 1)
                                         : kx204::host::Date::FromYmd(anio, numero + 1, 1))
                               .AddDays(-1);
        periodo.Ejecuta({"VENTAS", inicio.ToIso(), final.ToIso(), mes == 0 ? 0 : 1});  // January 2026 is closed
    }
}

}  // namespace

std::string Clave(const char* prefijo, int numero, int digitos) {
    return prefijo + kx204::host::ConCeros(numero, digitos);
}

Variant Dinero(Escalado escalado) { return Variant(kx204::host::Currency::FromScaled(escalado)); }

std::string Dia(int desdeElPrimero) { return kPrimerDia.AddDays(desdeElPrimero).ToIso(); }

SentenciaPreparada Inserta(ConexionQt& conexion, const std::string& tabla, const std::string& columnas) {
    std::string marcas = "?";
    for (char c : columnas)
        if (c == ',') marcas += ", ?";
    return conexion.Prepara("INSERT INTO " + tabla + " (" + columnas + ") VALUES (" + marcas + ")");
}

Catalogo GeneraCatalogo(ConexionQt& conexion, Azar& azar) {
    Catalogo catalogo;
    catalogo.sucursales = Sucursales(conexion);
    catalogo.dolar = TiposDeCambio(conexion, azar);
    catalogo.condiciones = CatalogosMenores(conexion);
    catalogo.productos = Productos(conexion);
    catalogo.clientes = Clientes(conexion, catalogo.sucursales, azar);
    Configuracion(conexion);
    return catalogo;
}

}  // namespace qivera::db::demo
