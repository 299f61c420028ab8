#include "apoyo/aplicacion_qt.hpp"

#include <QGuiApplication>

namespace prueba {

void AplicacionGrafica() {
    static const bool creada = [] {
        if (QCoreApplication::instance() != nullptr) return false;
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char nombre[] = "kx204_tests";
        static char* argv[] = {nombre, nullptr};
        // Never destroyed: Qt's own globals may be gone by the time static objects are.
        new QGuiApplication(argc, argv);
        return true;
    }();
    (void)creada;
}

}  // namespace prueba
