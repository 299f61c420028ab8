#pragma once
#include <iosfwd>
#include <memory>
#include <stdexcept>
#include <string>

#include <nlohmann/json.hpp>

#include "kx204/component/pantalla.hpp"
#include "kx204/screen/frm_kx204.hpp"
#include "qivera/host/fabrica.hpp"
#include "qivera/host/padre_qivera.hpp"
#include "qivera/script/persona_guionada.hpp"
#include "qivera/sesion/sesion.hpp"

namespace qivera {

// A script that cannot be run: unreadable, an unknown action or an unknown control.
class GuionInvalido : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Runs a script of user actions against one database, writing the transcript.
class Guion {
public:
    Guion(db::ConexionQt& conexion, std::ostream& salida);
    ~Guion();

    // Runs one action (a JSON object); throws GuionInvalido for what no person could do.
    void Ejecuta(const nlohmann::ordered_json& accion);
    // Runs every line of a JSON Lines stream and closes the transcript.
    void EjecutaTodo(std::istream& entrada);
    void Transcribe(const nlohmann::ordered_json& evento);

    kx204::frmKX204* Pantalla() const { return pantalla_; }
    // The signed-in clerk's session; null before a successful open.
    Sesion* SesionAbierta() const { return sesion_.get(); }

private:
    void Abre(const nlohmann::ordered_json& accion);
    void Despacha(const std::string& accion, const nlohmann::ordered_json& datos);
    kx204::frmKX204& Abierta() const;
    kx204::host::Control& ControlNombrado(const std::string& nombre) const;
    template <class T>
    T& ControlNombradoComo(const std::string& nombre) const;
    bool Rechaza(const kx204::host::Control& control, const std::string& motivo);
    void Teclea(const nlohmann::ordered_json& accion);
    void Confirma(const nlohmann::ordered_json& accion);
    void Pulsa(const nlohmann::ordered_json& accion);
    void Click(const nlohmann::ordered_json& accion);
    void Fecha(const nlohmann::ordered_json& accion);
    void Marca(const nlohmann::ordered_json& accion);
    void Selecciona(const nlohmann::ordered_json& accion);
    void Tecla(const nlohmann::ordered_json& accion);
    void Encabezado(const nlohmann::ordered_json& accion);
    void Pestana(const nlohmann::ordered_json& accion);
    void Consulta(const nlohmann::ordered_json& accion);
    void CierraSiDescargada();

    db::ConexionQt& conexion_;
    std::ostream& salida_;
    PersonaGuionada persona_;
    std::unique_ptr<Sesion> sesion_;
    std::unique_ptr<FabricaQivera> fabrica_;
    std::unique_ptr<kx204::Componente> componente_;
    std::unique_ptr<PadreQivera> ventana_;
    kx204::frmKX204* pantalla_ = nullptr;
};

// The screen's state as the transcript shows it.
nlohmann::ordered_json EstadoPantalla(const kx204::frmKX204& pantalla);

}  // namespace qivera
