#pragma once
#include <string>

namespace kx204::host {

struct Geometria {
    int left = 0, top = 0, width = 0, height = 0;  // twips
};

// What every control on the form shares: a name, an enabled state, a place,
// an optional container and the numbered group that the host's bulk
// operations (LimpiaControles, HabilitaControles) act on.
class Control {
public:
    static constexpr int kSinGrupo = -1;

    explicit Control(std::string nombre, int grupo = kSinGrupo);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& Nombre() const { return nombre_; }
    int Grupo() const { return grupo_; }

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    bool Visible() const { return visible_; }
    void SetVisible(bool visible) { visible_ = visible; }
    // Whether a person could use it: enabled, visible and inside usable containers.
    bool Usable() const;
    // Why a person could not use it, empty when Usable.
    std::string MotivoNoUsable() const;

    Control* Contenedor() const { return contenedor_; }
    void SetContenedor(Control* contenedor) { contenedor_ = contenedor; }

    Geometria& Posicion() { return posicion_; }
    const Geometria& Posicion() const { return posicion_; }

    // Whether the Tab key stops on it.
    virtual bool TabStop() const { return false; }
    // Empties the control's content, as LimpiaControles does to its group.
    virtual void Limpia() {}

private:
    std::string nombre_;
    int grupo_;
    bool enabled_ = true;
    bool visible_ = true;
    Control* contenedor_ = nullptr;
    Geometria posicion_;
};

}  // namespace kx204::host
