#pragma once
#include <deque>
#include <functional>

#include <nlohmann/json.hpp>

#include "qivera/sesion/persona.hpp"

namespace qivera {

// The person of a script: answers come from a queue, and every question asked
// is written to the transcript with the answer it got.
class PersonaGuionada : public Persona {
public:
    explicit PersonaGuionada(std::function<void(const nlohmann::ordered_json&)> transcribe)
        : transcribe_(std::move(transcribe)) {}

    // Queues the answer to the next question that offers a choice.
    void Responde(nlohmann::ordered_json respuesta) { respuestas_.push_back(std::move(respuesta)); }

    int Mensaje(const std::string& prompt, int botones, const std::string& titulo, const std::string& id) override;
    std::string Elige(const std::string& tipo, const std::vector<std::string>& args,
                      const std::vector<std::string>& opciones,
                      const std::vector<std::string>& descripciones = {}) override;
    void Muestra(const std::string& tipo, const std::vector<std::string>& args,
                 const std::vector<std::string>& contenido) override;

private:
    std::function<void(const nlohmann::ordered_json&)> transcribe_;
    std::deque<nlohmann::ordered_json> respuestas_;
};

}  // namespace qivera
