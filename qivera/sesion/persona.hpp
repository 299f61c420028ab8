#pragma once
#include <string>
#include <vector>

namespace qivera {

// Every question the host asks a person goes through here: the desktop answers
// with real dialogs, the headless shell and the tests with scripted answers.
class Persona {
public:
    virtual ~Persona() = default;
    // A message box; answers the button pressed (1 OK, 2 Cancel, 6 Yes, 7 No…).
    virtual int Mensaje(const std::string& prompt, int botones, const std::string& titulo, const std::string& id) = 0;
    // A chooser or window of kind `tipo` over `opciones`; answers the chosen text, empty when none.
    // `descripciones`, when given, say what each option is (an address's street, a method's name): they
    // are shown beside the options, and the answer is still an option.
    virtual std::string Elige(const std::string& tipo, const std::vector<std::string>& args,
                              const std::vector<std::string>& opciones,
                              const std::vector<std::string>& descripciones = {}) = 0;
    // A window that only shows something (the record viewer); it asks nothing.
    virtual void Muestra(const std::string& tipo, const std::vector<std::string>& args,
                         const std::vector<std::string>& contenido) = 0;
};

// Whether a message box with these buttons offers a choice, and its answer when nobody chooses.
bool OfreceEleccion(int botones);
int RespuestaOmision(int botones);

}  // namespace qivera
