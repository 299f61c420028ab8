#include "qivera/script/guion.hpp"

#include <istream>
#include <ostream>

#include "kx204/host/runtime_error.hpp"
#include "qivera/sesion/acceso.hpp"

namespace qivera {

using json = nlohmann::ordered_json;
namespace host = kx204::host;

namespace {

host::ComandoBarra Comando(const std::string& nombre) {
    static const std::pair<const char*, host::ComandoBarra> comandos[] = {
        {"nuevo", host::ComandoBarra::Nuevo},     {"imprimir", host::ComandoBarra::Imprimir},
        {"visor", host::ComandoBarra::Visor},     {"eliminar", host::ComandoBarra::Eliminar},
        {"aceptar", host::ComandoBarra::Aceptar}, {"cancelar", host::ComandoBarra::Cancelar},
        {"salir", host::ComandoBarra::Salir},     {"b1", host::ComandoBarra::B1},
        {"b2", host::ComandoBarra::B2},           {"b3", host::ComandoBarra::B3}};
    for (const auto& [texto, comando] : comandos)
        if (nombre == texto) return comando;
    throw GuionInvalido("unknown toolbar command: " + nombre);
}

// Key code of a key name: "space", "enter", "tab", "F1".."F12", a digit or a letter.
int CodigoTecla(const std::string& nombre) {
    if (nombre == "space") return kx204::teclas::Espacio;
    if (nombre == "enter") return kx204::teclas::Enter;
    if (nombre == "tab") return kx204::teclas::Tab;
    if (nombre.size() >= 2 && nombre[0] == 'F' && nombre.find_first_not_of("0123456789", 1) == std::string::npos) {
        const int n = std::stoi(nombre.substr(1));
        if (n >= 1 && n <= 12) return 111 + n;
    }
    if (nombre.size() == 1 && std::isalnum(static_cast<unsigned char>(nombre[0])))
        return std::toupper(static_cast<unsigned char>(nombre[0]));
    throw GuionInvalido("unknown key: " + nombre);
}

// Whether a key names a password, however misspelt: "password", "Pasword", "passwd", "clave", "pwd".
bool EsClave(std::string nombre) {
    for (char& c : nombre) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const char* parte : {"pas", "pwd", "clave", "contra", "secre"})
        if (nombre.find(parte) != std::string::npos) return true;
    return false;
}

// A value as a message may show it: the value of every key that names a password is "***".
json ClavesOcultas(json valor) {
    if (!valor.is_structured()) return valor;
    for (auto elemento = valor.begin(); elemento != valor.end(); ++elemento)
        *elemento = valor.is_object() && EsClave(elemento.key()) ? json("***") : ClavesOcultas(*elemento);
    return valor;
}

std::string SinClaves(const json& accion) { return ClavesOcultas(accion).dump(); }

// The parser's account of an unreadable line without what it last read, which may be a password.
std::string SinLoLeido(const std::string& error) { return error.substr(0, error.find("; last read:")); }

const json& Campo(const json& accion, const char* nombre) {
    if (!accion.contains(nombre))
        throw GuionInvalido(std::string("action without \"") + nombre + "\": " + SinClaves(accion));
    return accion.at(nombre);
}

}  // namespace

Guion::Guion(db::ConexionQt& conexion, std::ostream& salida)
    : conexion_(conexion), salida_(salida), persona_([this](const json& evento) { Transcribe(evento); }) {}

Guion::~Guion() {
    if (componente_) componente_->DescargaPantalla();
}

void Guion::Transcribe(const json& evento) { salida_ << evento.dump() << '\n'; }

void Guion::EjecutaTodo(std::istream& entrada) {
    std::string linea;
    while (std::getline(entrada, linea)) {
        if (linea.find_first_not_of(" \t\r") == std::string::npos) continue;
        json accion;
        try {
            accion = json::parse(linea);
        } catch (const json::exception& error) {
            throw GuionInvalido("unreadable line: " + SinLoLeido(error.what()));
        }
        Ejecuta(accion);
    }
    Transcribe({{"event", "done"}});
}

void Guion::Ejecuta(const json& accion) {
    if (!accion.is_object() || !accion.contains("do") || !accion["do"].is_string())
        throw GuionInvalido("an action is an object with \"do\": " + SinClaves(accion));
    const std::string nombre = accion["do"];
    try {
        Despacha(nombre, accion);
    } catch (const host::RuntimeError& error) {
        Transcribe({{"event", "error"}, {"description", error.description}});
    } catch (const json::exception& error) {
        throw GuionInvalido(std::string("malformed action: ") + error.what());
    }
    CierraSiDescargada();
}

void Guion::Despacha(const std::string& accion, const json& datos) {
    if (accion == "open") return Abre(datos);
    if (accion == "answer") return persona_.Responde(Campo(datos, "with"));
    if (accion == "sql") return Consulta(datos);
    if (accion == "activate") return Abierta().Form_Activate();
    if (accion == "dump") return Transcribe(EstadoPantalla(Abierta()));
    if (accion == "toolbar") return Pulsa(datos);
    if (accion == "type") return Teclea(datos);
    if (accion == "enter") return Confirma(datos);
    if (accion == "click") return Click(datos);
    if (accion == "date") return Fecha(datos);
    if (accion == "check") return Marca(datos);
    if (accion == "select") return Selecciona(datos);
    if (accion == "key") return Tecla(datos);
    if (accion == "header") return Encabezado(datos);
    if (accion == "tab") return Pestana(datos);
    throw GuionInvalido("unknown action: " + accion);
}

void Guion::Abre(const json& accion) {
    if (componente_) componente_->DescargaPantalla();
    pantalla_ = nullptr;
    componente_.reset();
    fabrica_.reset();
    const std::string usuario = Campo(accion, "user").get<std::string>();
    try {
        Autentica(conexion_, usuario, accion.value("password", std::string()));
    } catch (const AccesoDenegado& error) {
        Transcribe({{"event", "refused"}, {"control", "open"}, {"reason", error.what()}});
        return;
    }
    sesion_ = std::make_unique<Sesion>(Sesion{conexion_, persona_, usuario, {}, nullptr, {}});
    sesion_->registra = [this](const std::string& evento, const std::string& folio, const std::string& archivo) {
        Transcribe({{"event", evento}, {"folio", folio}, {ClaveDelEvento(evento), archivo}});
    };
    if (accion.contains("date")) {
        const auto fecha = host::Date::Parse(accion["date"].get<std::string>());
        if (!fecha) throw GuionInvalido("a date is YYYY-MM-DD: " + accion["date"].dump());
        sesion_->fechaServidor = *fecha;
    }
    fabrica_ = std::make_unique<FabricaQivera>(*sesion_);
    componente_ = std::make_unique<kx204::Componente>(*fabrica_);
    ventana_ = std::make_unique<PadreQivera>(*sesion_);
    kx204::Pantalla entrada(*componente_);
    pantalla_ = &ventana_->Acoge(entrada);
    pantalla_->Redimensiona(12000, 9000);
    pantalla_->Form_Activate();
}

void Guion::CierraSiDescargada() {
    if (ventana_ && ventana_->Descargada() && pantalla_ != nullptr) {
        componente_->DescargaPantalla();
        pantalla_ = nullptr;
        sesion_->ventanaActiva = nullptr;
    }
}

kx204::frmKX204& Guion::Abierta() const {
    if (pantalla_ == nullptr) throw host::RuntimeError(424, "La pantalla no está abierta");
    return *pantalla_;
}

host::Control& Guion::ControlNombrado(const std::string& nombre) const {
    host::Control* control = Abierta().Busca(nombre);
    if (control == nullptr) throw GuionInvalido("unknown control: " + nombre);
    return *control;
}

template <class T>
T& Guion::ControlNombradoComo(const std::string& nombre) const {
    auto* control = dynamic_cast<T*>(&ControlNombrado(nombre));
    if (control == nullptr) throw GuionInvalido("control " + nombre + " does not take this action");
    return *control;
}

bool Guion::Rechaza(const host::Control& control, const std::string& motivo) {
    if (motivo.empty()) return false;
    Transcribe({{"event", "refused"}, {"control", control.Nombre()}, {"reason", motivo}});
    return true;
}

void Guion::Teclea(const json& accion) {
    auto& campo = ControlNombradoComo<host::CampoTexto>(Campo(accion, "field"));
    if (Rechaza(campo, campo.Locked() ? "locked" : campo.MotivoNoUsable())) return;
    Abierta().SetFoco(campo);
    campo.Teclea(Campo(accion, "text").get<std::string>());
}

void Guion::Confirma(const json& accion) {
    auto& campo = ControlNombradoComo<host::CampoTexto>(Campo(accion, "field"));
    if (Rechaza(campo, campo.MotivoNoUsable())) return;
    Abierta().SetFoco(campo);
    campo.Confirma();
}

void Guion::Pulsa(const json& accion) {
    auto& pantalla = Abierta();
    const std::string comando = Campo(accion, "command");
    const std::string motivo = pantalla.Controles.Pulsa(Comando(comando));
    if (!motivo.empty()) Transcribe({{"event", "refused"}, {"control", "Controles." + comando}, {"reason", motivo}});
}

void Guion::Click(const json& accion) {
    host::Control& control = ControlNombrado(Campo(accion, "control"));
    if (Rechaza(control, control.MotivoNoUsable())) return;
    if (auto* casilla = dynamic_cast<host::CasillaVerificacion*>(&control)) return casilla->Click();
    if (auto* boton = dynamic_cast<host::BotonPlano*>(&control)) return boton->Click();
    throw GuionInvalido("control " + control.Nombre() + " cannot be clicked");
}

void Guion::Fecha(const json& accion) {
    auto& selector = ControlNombradoComo<host::SelectorFecha>(Campo(accion, "field"));
    const auto fecha = host::Date::Parse(Campo(accion, "value").get<std::string>());
    if (!fecha) throw GuionInvalido("a date is YYYY-MM-DD: " + accion["value"].dump());
    if (Rechaza(selector, selector.MotivoNoUsable())) return;
    if (!host::SelectorFecha::Admite(*fecha)) {
        Rechaza(selector, "out of range: " + host::SelectorFecha::Minima().ToIso() + " to " +
                              host::SelectorFecha::Maxima().ToIso());
        return;
    }
    selector.SetValue(*fecha);
}

void Guion::Marca(const json& accion) {
    auto& lista = Abierta().lvNotas;
    if (Rechaza(lista, lista.MotivoNoUsable())) return;
    const std::string folio = Campo(accion, "item");
    const int indice = lista.Busca(folio);
    if (indice < 0) {
        Rechaza(lista, "no item " + folio);
        return;
    }
    lista.SetChecked(indice, Campo(accion, "checked").get<bool>());
}

void Guion::Selecciona(const json& accion) {
    auto& lista = Abierta().lvNotas;
    if (Rechaza(lista, lista.MotivoNoUsable())) return;
    std::vector<int> indices;
    for (const auto& folio : Campo(accion, "items")) {
        const int indice = lista.Busca(folio.get<std::string>());
        if (indice < 0) {
            Rechaza(lista, "no item " + folio.get<std::string>());
            return;
        }
        indices.push_back(indice);
    }
    for (int i = 0; i < lista.Count(); ++i) lista.SetSelected(i, false);
    for (int indice : indices) lista.SetSelected(indice, true);
    if (accion.contains("current"))
        lista.SetActual(lista.Busca(accion["current"].get<std::string>()));
    else if (!indices.empty())
        lista.SetActual(indices.back());
}

void Guion::Tecla(const json& accion) {
    const int codigo = CodigoTecla(Campo(accion, "key"));
    const int shift = accion.value("shift", 0);
    const std::string nombre = accion.contains("control") ? accion["control"].get<std::string>() : "form";
    auto& pantalla = Abierta();
    if (nombre == "form") return pantalla.Form_KeyUp(codigo, shift);
    host::Control& control = ControlNombrado(nombre);
    if (Rechaza(control, control.MotivoNoUsable())) return;
    pantalla.PulsaTecla(control, codigo, shift);
}

void Guion::Encabezado(const json& accion) {
    auto& lista = Abierta().lvNotas;
    if (Rechaza(lista, lista.MotivoNoUsable())) return;
    const int columna = Campo(accion, "column");
    if (columna < 1 || columna > static_cast<int>(lista.Columnas().size())) {
        Rechaza(lista, "no column " + std::to_string(columna));
        return;
    }
    lista.ClickEncabezado(columna);
}

void Guion::Pestana(const json& accion) {
    auto& pestanas = Abierta().ssTabQvr;
    if (Rechaza(pestanas, pestanas.MotivoNoUsable())) return;
    const int indice = Campo(accion, "index");
    if (indice < 0 || indice >= pestanas.Tabs()) {
        Rechaza(pestanas, "no tab " + std::to_string(indice));
        return;
    }
    pestanas.SetTab(indice);
}

void Guion::Consulta(const json& accion) {
    auto rs = conexion_.Execute(Campo(accion, "query").get<std::string>());
    json columnas = json::array(), renglones = json::array();
    for (int i = 0; i < rs->FieldCount(); ++i) columnas.push_back(rs->FieldName(i));
    for (; !rs->Eof(); rs->MoveNext()) {
        json renglon = json::array();
        for (int i = 0; i < rs->FieldCount(); ++i) {
            const host::Variant valor = rs->Field(i);
            switch (valor.type()) {
                case host::Variant::Type::Null:
                    renglon.push_back(nullptr);
                    break;
                case host::Variant::Type::Integer:
                    renglon.push_back(std::stoll(valor.ToText()));
                    break;
                case host::Variant::Type::Double:
                    renglon.push_back(valor.ToDouble());
                    break;
                default:
                    renglon.push_back(valor.ToText());
                    break;
            }
        }
        renglones.push_back(std::move(renglon));
    }
    rs->Close();
    Transcribe({{"event", "rows"}, {"columns", columnas}, {"rows", renglones}});
}

}  // namespace qivera
