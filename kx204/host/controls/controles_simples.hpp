#pragma once
#include <functional>
#include <string>
#include <vector>

#include "kx204/host/controls/control.hpp"
#include "kx204/host/date.hpp"

namespace kx204::host {

// A caption on the form.
class Etiqueta : public Control {
public:
    Etiqueta(std::string nombre, std::string texto) : Control(std::move(nombre)), caption(std::move(texto)) {}
    std::string caption;
};

// A frame or shape grouping other controls; disabling it disables its content.
class Marco : public Control {
public:
    using Control::Control;
    std::string caption;
};

// A check box. Assigning a different value raises Click, as a person's click does.
class CasillaVerificacion : public Control {
public:
    CasillaVerificacion(std::string nombre, int grupo, std::string caption);
    int Value() const { return value_; }
    void SetValue(int value);
    // A person's click flips the value.
    void Click() { SetValue(value_ == 1 ? 0 : 1); }
    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption) { caption_ = std::move(caption); }
    bool TabStop() const override { return true; }
    void Limpia() override { SetValue(0); }

    std::function<void()> OnClick;

private:
    std::string caption_;
    int value_ = 0;
};

// A button that only raises Click.
class BotonPlano : public Control {
public:
    BotonPlano(std::string nombre, int grupo, std::string texto)
        : Control(std::move(nombre), grupo), caption(std::move(texto)) {}
    void Click() {
        if (OnClick) OnClick();
    }
    bool TabStop() const override { return true; }
    std::string caption;
    std::function<void()> OnClick;
};

// A date picker; a different date raises Change. It holds only the dates an invoice can carry: its
// due date (the date plus the client's credit days) and every stamp made from it must stay dates too.
class SelectorFecha : public Control {
public:
    SelectorFecha(std::string nombre, int grupo) : Control(std::move(nombre), grupo) {}
    static Date Minima() { return Date::FromYmd(1900, 1, 1); }
    static Date Maxima() { return Date::FromYmd(2999, 12, 31); }
    static bool Admite(const Date& fecha) { return fecha >= Minima() && fecha < Maxima().AddDays(1); }
    const Date& Value() const { return value_; }
    // Error 380 for a date outside Minima() … Maxima(), as a picker refuses one past its range.
    void SetValue(const Date& value);
    bool TabStop() const override { return true; }
    std::function<void()> OnChange;

private:
    Date value_ = Date::Today();
};

// The tab control; selecting another tab raises Click with the previous tab.
class ControlPestanas : public Control {
public:
    ControlPestanas(std::string nombre, std::vector<std::string> captions)
        : Control(std::move(nombre)), captions_(std::move(captions)) {}
    int Tab() const { return tab_; }
    void SetTab(int tab);
    int Tabs() const { return static_cast<int>(captions_.size()); }
    const std::string& Caption(int tab) const;
    bool TabStop() const override { return true; }
    std::function<void(int anterior)> OnClick;

private:
    std::vector<std::string> captions_;
    int tab_ = 0;
};

}  // namespace kx204::host
