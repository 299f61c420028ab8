#include "apoyo/entorno.hpp"

#include "apoyo/aplicacion_qt.hpp"
#include "apoyo/salidas.hpp"

#include "kx204/host/runtime_error.hpp"
#include "qivera/db/base_datos.hpp"
#include "qivera/db/esquema.hpp"
#include "qivera/db/plantillas.hpp"

namespace prueba {

Entorno::Entorno(const std::string& usuario, BaseDePrueba::Alcance alcance)
    : Entorno(std::make_shared<BaseDePrueba>(alcance), usuario) {
    qivera::db::CreaEsquema(*conexion, conexion->dialecto());
    qivera::db::GuardaPlantillas(*conexion);
    Sql("INSERT INTO Sucursal (Sc_Cve_Sucursal, Sc_Descripcion, Sc_Codigo_Postal) VALUES ('01', 'Matriz', '06000'), "
        "('02', 'Norte', '64000')");
    Sql("INSERT INTO Almacen (Al_Cve_Almacen, Al_Descripcion, Sc_Cve_Sucursal) VALUES ('0101', 'General Matriz', "
        "'01'), ('0201', 'General Norte', '02')");
    Sql("INSERT INTO Moneda (Mn_Cve_Moneda, Mn_Descripcion) VALUES ('MXN', 'Peso'), ('USD', 'Dólar')");
    Sql("INSERT INTO Tipo_Cambio (Mn_Cve_Moneda, Tc_Fecha, Tc_Tipo_Cambio) VALUES ('USD', '2026-03-01', 17.25), "
        "('USD', '2026-03-20', 18.5)");
    Sql("INSERT INTO Serie (Sc_Cve_Sucursal, Sr_Serie, Sr_Ultimo_Numero) VALUES ('01', 'A', 41)");
    Sql("INSERT INTO Cliente (Cl_Cve_Cliente, Cl_Descripcion, Sc_Cve_Sucursal, Es_Cve_Estado, Cl_R_F_C, "
        "Cl_Regimen_Fiscal, Cl_Codigo_Postal, Cl_Uso_CFDI) VALUES "
        "('C1', 'Cliente matriz', '01', 'AC', 'CMA010101AB1', '601', '06600', 'G03'), "
        "('C2', 'Cliente norte', '02', 'AC', 'CNO020202CD2', '601', '64710', 'G03'), "
        "('C3', 'Baja matriz', '01', 'BA', 'BMA030303EF3', '601', '06600', 'G03')");
    Sql("INSERT INTO Usuario (Us_Cve_Usuario) VALUES ('" + usuario + "')");
    Sql("INSERT INTO Permiso (Us_Cve_Usuario, Pm_Modulo, Pm_Clave) VALUES ('" + usuario + "', 'KX204', 'ACCESO'), ('" +
        usuario + "', 'KX204', 'FACTURAR')");
    for (const char* variable : {"IMPRESION_DIRECTORIO", "CORREO_BANDEJA", "FAC_FIRMA_DIRECTORIO"})
        Variable(variable, carpeta.string());
}

Entorno::Entorno(const Entorno& primero, const std::string& usuario) : Entorno(primero.base, usuario) {}

Entorno::Entorno(std::shared_ptr<BaseDePrueba> base_, const std::string& usuario)
    : carpeta(CarpetaTemporal("kx204-prueba")),
      base(std::move(base_)),
      conexion(Conecta(base->Url())),
      persona([this](const nlohmann::ordered_json& evento) { eventos.push_back(evento); }),
      sesion{*conexion, persona, usuario, kx204::host::Date::FromYmd(2026, 3, 15), nullptr, {}},
      fabrica(sesion),
      ventana(sesion) {
    sesion.registra = [this](const std::string& evento, const std::string& folio, const std::string& archivo) {
        eventos.push_back({{"event", evento}, {"folio", folio}, {qivera::ClaveDelEvento(evento), archivo}});
    };
    AplicacionGrafica();  // invoices are printed
}

Entorno::~Entorno() {
    if (componente) componente->DescargaPantalla();
    std::string mostrado;
    for (const auto& evento : eventos) mostrado += evento.dump() + "\n";
    Transcribe("the clerk's screen", mostrado);
    std::error_code ignorado;
    std::filesystem::remove_all(carpeta, ignorado);
}

void Entorno::Sql(const std::string& sentencia) { conexion->Execute(sentencia); }

void Entorno::Variable(const std::string& nombre, const std::string& valor) {
    Sql("DELETE FROM Variable WHERE Vr_Nombre = '" + nombre + "'");
    Sql("INSERT INTO Variable (Vr_Nombre, Vr_Valor) VALUES ('" + nombre + "', '" + kx204::host::SqlText(valor) + "')");
}

void Entorno::Permiso(const std::string& clave) {
    Sql("INSERT INTO Permiso (Us_Cve_Usuario, Pm_Modulo, Pm_Clave) VALUES ('" + sesion.usuario + "', 'KX204', '" +
        clave + "')");
}

void Entorno::Usuario(const std::string& sucursal, const std::string& almacen) {
    Sql("UPDATE Usuario SET Sc_Cve_Sucursal = '" + kx204::host::SqlText(sucursal) + "', Al_Cve_Almacen = '" + almacen +
        "' WHERE Us_Cve_Usuario = '" + sesion.usuario + "'");
}

void Entorno::AlActualizar(const std::string& tabla, const std::string& columna, const std::string& condicion,
                           const std::string& sentencia) {
    Disparador("AFTER UPDATE OF " + columna, tabla, condicion, sentencia + ";", sentencia + ";");
}

void Entorno::FallaAlActualizar(const std::string& tabla, const std::string& mensaje) {
    Falla("BEFORE UPDATE", tabla, mensaje);
}

void Entorno::FallaAlInsertar(const std::string& tabla, const std::string& mensaje) {
    Falla("BEFORE INSERT", tabla, mensaje);
}

void Entorno::Falla(const std::string& evento, const std::string& tabla, const std::string& mensaje) {
    Disparador(evento, tabla, "", "SELECT RAISE(ABORT, '" + mensaje + "');", "RAISE EXCEPTION '" + mensaje + "';");
    fallas_.emplace_back("disparador_" + std::to_string(disparadores_), tabla);
}

void Entorno::QuitaFallas() {
    for (const auto& [disparador, tabla] : fallas_)
        Sql("DROP TRIGGER " + disparador +
            (conexion->dialecto() == qivera::db::Dialecto::SQLite ? "" : " ON " + tabla));
    fallas_.clear();
}

void Entorno::Disparador(const std::string& evento, const std::string& tabla, const std::string& condicion,
                         const std::string& cuerpoSqlite, const std::string& cuerpoPostgresql) {
    const std::string nombre = "disparador_" + std::to_string(++disparadores_);
    if (conexion->dialecto() == qivera::db::Dialecto::SQLite) {
        Sql("CREATE TRIGGER " + nombre + " " + evento + " ON " + tabla +
            (condicion.empty() ? "" : " WHEN " + condicion) + " BEGIN " + cuerpoSqlite + " END");
        return;
    }
    Sql("CREATE FUNCTION " + nombre + "() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN " + cuerpoPostgresql +
        " RETURN NEW; END $$");
    Sql("CREATE TRIGGER " + nombre + " " + evento + " ON " + tabla + " FOR EACH ROW" +
        (condicion.empty() ? "" : " WHEN (" + condicion + ")") + " EXECUTE FUNCTION " + nombre + "()");
}

kx204::frmKX204& Entorno::Abre() {
    componente = std::make_unique<kx204::Componente>(fabrica);
    kx204::frmKX204* pantalla = kx204::Pantalla(*componente).GetPantalla();
    if (pantalla == nullptr) throw kx204::host::RuntimeError(424, "Object required");
    pantalla->SetPadre(&ventana);
    sesion.ventanaActiva = pantalla;
    pantalla->Form_Activate();
    return *pantalla;
}

std::vector<nlohmann::ordered_json> Entorno::Eventos(const std::string& tipo) const {
    std::vector<nlohmann::ordered_json> encontrados;
    for (const auto& evento : eventos)
        if (evento["event"] == tipo) encontrados.push_back(evento);
    return encontrados;
}

}  // namespace prueba
