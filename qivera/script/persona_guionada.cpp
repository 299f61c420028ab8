#include "qivera/script/persona_guionada.hpp"

#include <algorithm>

namespace qivera {

int PersonaGuionada::Mensaje(const std::string& prompt, int botones, const std::string& titulo, const std::string& id) {
    transcribe_({{"event", "message"}, {"prompt", prompt}, {"buttons", botones}, {"title", titulo}, {"id", id}});
    if (!OfreceEleccion(botones) || respuestas_.empty()) return RespuestaOmision(botones);
    const nlohmann::ordered_json respuesta = respuestas_.front();
    respuestas_.pop_front();
    return respuesta.is_number_integer() ? respuesta.get<int>() : RespuestaOmision(botones);
}

std::string PersonaGuionada::Elige(const std::string& tipo, const std::vector<std::string>& args,
                                   const std::vector<std::string>& opciones,
                                   const std::vector<std::string>& descripciones) {
    std::string elegido;
    if (!respuestas_.empty()) {
        const nlohmann::ordered_json respuesta = respuestas_.front();
        respuestas_.pop_front();
        elegido = respuesta.is_string() ? respuesta.get<std::string>() : respuesta.dump();
        // A chooser only offers what it lists.
        if (!opciones.empty() && std::find(opciones.begin(), opciones.end(), elegido) == opciones.end())
            elegido.clear();
    }
    nlohmann::ordered_json evento{{"event", "dialog"}, {"kind", tipo}, {"args", args}, {"options", opciones}};
    if (!descripciones.empty()) evento["descriptions"] = descripciones;
    evento["answer"] = elegido;
    transcribe_(evento);
    return elegido;
}

void PersonaGuionada::Muestra(const std::string& tipo, const std::vector<std::string>& args,
                              const std::vector<std::string>& contenido) {
    transcribe_({{"event", "dialog"}, {"kind", tipo}, {"args", args}, {"content", contenido}, {"answer", ""}});
}

}  // namespace qivera
