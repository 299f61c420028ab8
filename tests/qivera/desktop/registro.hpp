#pragma once
#include <QObject>
#include <functional>
#include <memory>
#include <vector>

namespace prueba {

// The desktop's Qt Test classes, each registered by its own file and run by one main.
using FabricaPrueba = std::function<std::unique_ptr<QObject>()>;
std::vector<FabricaPrueba>& PruebasEscritorio();

template <class T>
struct RegistraPrueba {
    RegistraPrueba() {
        PruebasEscritorio().push_back([] { return std::make_unique<T>(); });
    }
};

}  // namespace prueba
