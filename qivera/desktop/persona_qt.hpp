#pragma once
#include <QPointer>
#include <QString>
#include <QWidget>

#include "qivera/sesion/persona.hpp"

namespace qivera::escritorio {

// The person at the desktop: every question the host asks becomes a modal dialog over `padre`.
class PersonaQt : public Persona {
public:
    explicit PersonaQt(QWidget* padre = nullptr) : padre_(padre) {}

    // The window the dialogs belong to; the main window may come after the session is made.
    void Padre(QWidget* padre) { padre_ = padre; }
    QWidget* Padre() const { return padre_; }

    int Mensaje(const std::string& prompt, int botones, const std::string& titulo, const std::string& id) override;
    // "exportar" asks for a CSV path, "columnas" for the visible columns, any other kind chooses one of `opciones`.
    std::string Elige(const std::string& tipo, const std::vector<std::string>& args,
                      const std::vector<std::string>& opciones,
                      const std::vector<std::string>& descripciones = {}) override;
    // "visor" is the record viewer; any other kind shows its lines the same way.
    void Muestra(const std::string& tipo, const std::vector<std::string>& args,
                 const std::vector<std::string>& contenido) override;

private:
    std::string RutaExportacion(const std::string& nombreLista);

    QPointer<QWidget> padre_;
};

// The path a save dialog answered, with ".csv" added when it has no such ending; "" stays "".
std::string RutaCsv(const QString& elegida);

}  // namespace qivera::escritorio
