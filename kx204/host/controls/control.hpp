#pragma once
#include <functional>
#include <string>

namespace kx204::host {

// Key codes and shift states of the keyboard events.
namespace teclas {
constexpr int Tab = 9;
constexpr int Enter = 13;
constexpr int Escape = 27;
constexpr int Espacio = 32;
constexpr int Cero = 48;
constexpr int Uno = 49;
constexpr int Dos = 50;
constexpr int Nueve = 57;
constexpr int A = 65;
constexpr int Z = 90;
constexpr int F1 = 112;
constexpr int F2 = 113;
constexpr int F10 = 121;
constexpr int Shift = 1;
constexpr int Ctrl = 2;
constexpr int Alt = 4;
}  // namespace teclas

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
    // The page it sits on when its container is a tab control; shown only while that tab is.
    int Pagina() const { return pagina_; }
    void SetPagina(int pagina) { pagina_ = pagina; }

    // Place and size in twips, relative to the container (the form when none). A negative
    // width or height is refused with error 380 and leaves the control as it was.
    const Geometria& Posicion() const { return posicion_; }
    void SetLeft(int left) { posicion_.left = left; }
    void SetTop(int top) { posicion_.top = top; }
    void SetWidth(int width);
    void SetHeight(int height);
    void Coloca(int left, int top, int width, int height);

    // A person's keys while the control has the focus: key down and up (key code, shift
    // state) and the character typed, which a handler swallows by setting it to 0.
    void KeyDown(int tecla, int shift) {
        if (OnKeyDown) OnKeyDown(tecla, shift);
    }
    void KeyPress(int& caracter) {
        if (OnKeyPress) OnKeyPress(caracter);
    }
    void KeyUp(int tecla, int shift) {
        if (OnKeyUp) OnKeyUp(tecla, shift);
    }
    std::function<void(int tecla, int shift)> OnKeyDown;
    std::function<void(int& caracter)> OnKeyPress;
    std::function<void(int tecla, int shift)> OnKeyUp;

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
    int pagina_ = -1;
    Geometria posicion_;
};

}  // namespace kx204::host
