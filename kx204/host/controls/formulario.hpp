#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "kx204/host/controls/control.hpp"
#include "kx204/host/runtime_error.hpp"

namespace kx204::host {

// The window the controls sit on: owns them, keeps their tab order, the focus,
// its own size and the numbered groups the host's bulk operations act on.
class Formulario {
public:
    Formulario(std::string nombre, std::string caption);
    virtual ~Formulario() = default;
    Formulario(const Formulario&) = delete;
    Formulario& operator=(const Formulario&) = delete;

    const std::string& Nombre() const { return nombre_; }
    const std::string& Caption() const { return caption_; }
    std::int64_t Handle() const { return handle_; }
    void SetHandle(std::int64_t handle) { handle_ = handle; }

    // Creates a control owned by the form; controls that take the focus join the tab order.
    template <class T, class... Args>
    T& Crea(Args&&... args) {
        auto control = std::make_unique<T>(std::forward<Args>(args)...);
        T& ref = *control;
        Registra(std::move(control));
        return ref;
    }
    // nullptr when the form has no control of that name.
    Control* Busca(const std::string& nombre) const;
    template <class T>
    T* BuscaComo(const std::string& nombre) const {
        return dynamic_cast<T*>(Busca(nombre));
    }
    const std::vector<Control*>& Contenido() const { return orden_; }

    Control* Foco() const { return foco_; }
    // Moves the focus to a control a person could use; otherwise the focus stays.
    void SetFoco(Control& control);
    // The next usable control in tab order, as the Tab key moves; AnteriorFoco as Shift+Tab.
    void SiguienteFoco();
    void AnteriorFoco();

    // A person pressed and released a key on a control: key down, the character it types
    // (which the control's handlers may swallow), the control's own response to it, then
    // key up, which the form sees before the control.
    void PulsaTecla(Control& control, int tecla, int shift);
    std::function<void(int tecla, int shift)> OnKeyUp;

    int Width() const { return width_; }
    int Height() const { return height_; }
    void Redimensiona(int width, int height);
    std::function<void()> OnResize;

    // Empties a group and disables what in it takes input; HabilitaGrupo enables it again.
    void LimpiaGrupo(int grupo);
    void HabilitaGrupo(int grupo);

private:
    void Registra(std::unique_ptr<Control> control);
    void MueveFoco(int paso);
    // What a control does by itself with a key that no handler swallowed.
    void RespuestaPropia(Control& control, int tecla, int shift, int caracter);

    std::string nombre_, caption_;
    std::int64_t handle_ = 0;
    std::vector<std::unique_ptr<Control>> controles_;
    std::vector<Control*> orden_;
    std::unordered_map<std::string, Control*> porNombre_;
    Control* foco_ = nullptr;
    int width_ = 0, height_ = 0;
};

}  // namespace kx204::host
