// Runs every registered desktop test class under one QApplication; fails when any fails.
#include <QApplication>
#include <QTest>

#include "apoyo/carpeta_corrida.hpp"
#include "apoyo/salidas.hpp"
#include "qivera/desktop/registro.hpp"

namespace prueba {

std::vector<FabricaPrueba>& PruebasEscritorio() {
    static std::vector<FabricaPrueba> pruebas;
    return pruebas;
}

}  // namespace prueba

int main(int argc, char** argv) {
    const prueba::CarpetaDeLaCorrida carpeta;
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication aplicacion(argc, argv);
    int fallos = 0;
    for (const auto& crea : prueba::PruebasEscritorio()) {
        std::unique_ptr<QObject> prueba = crea();
        fallos += QTest::qExec(prueba.get(), argc, argv);
    }
    return fallos == 0 && prueba::SecretosALaVista() == 0 ? 0 : 1;
}
