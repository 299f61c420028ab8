// The tests' own entry point. ctest names the engine of each registration with --motor=sqlite or
// --motor=postgresql (an argument, so no environment list can split it on the way). A test run under an
// engine must prove it: it fails unless it opened a connection that answered as that engine. A run
// whose tests were all skipped exits with kSaltada, which ctest reports as skipped; so does a PostgreSQL run
// with no server named, except under CI, where it fails. Whatever the tests and the programs they start leave
// in the temporary folder or the user's data folder stays in a folder of this run, removed at its end.
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "apoyo/base_prueba.hpp"
#include "apoyo/carpeta_corrida.hpp"
#include "apoyo/configuracion_equipo.hpp"
#include "apoyo/salidas.hpp"

namespace prueba {

namespace {

constexpr int kSaltada = 77;
constexpr std::string_view kOpcionMotor = "--motor=";

// Takes --motor=… out of the arguments and leaves the engine where every test reads it.
bool TomaMotor(int& argc, char** argv) {
    bool nombrado = false;
    int quedan = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], kOpcionMotor.data(), kOpcionMotor.size()) == 0) {
            ::setenv("KX204_MOTOR", argv[i] + kOpcionMotor.size(), 1);
            nombrado = true;
            continue;
        }
        argv[quedan++] = argv[i];
    }
    argc = quedan;
    return nombrado;
}

// Fails every test of an engine's run that passed without opening a connection of that engine.
class ExigeMotor : public ::testing::EmptyTestEventListener {
public:
    void OnTestStart(const ::testing::TestInfo&) override { comprobadas_ = ConexionesComprobadas(); }
    void OnTestEnd(const ::testing::TestInfo& prueba) override {
        if (prueba.result()->Passed() && !prueba.result()->Skipped() && ConexionesComprobadas() == comprobadas_)
            sinMotor_.push_back(std::string(prueba.test_suite_name()) + "." + prueba.name());
    }
    int Informa() const {
        for (const std::string& nombre : sinMotor_)
            std::cerr << nombre << " ran under --motor=" << VariableDeEntorno("KX204_MOTOR")
                      << " but opened no database of that engine (prueba::Conecta); register it as engine-free "
                         "in tests/CMakeLists.txt or open its database through prueba::Conecta\n";
        return sinMotor_.empty() ? 0 : 1;
    }

private:
    int comprobadas_ = 0;
    std::vector<std::string> sinMotor_;
};

// Whatever one test wrote in the machine's configuration is gone before the next starts.
class EquipoSinConfiguracion : public ::testing::EmptyTestEventListener {
public:
    void OnTestStart(const ::testing::TestInfo&) override { OlvidaConfiguracion(); }
};

// Why this run cannot take place on its engine; empty when it can.
std::string FaltaServidor() {
    if (MotorDePrueba() != Motor::PostgreSQL || !ServidorDePrueba().empty()) return {};
    return "--motor=postgresql but KX204_POSTGRES names no PostgreSQL server";
}

}  // namespace

}  // namespace prueba

int main(int argc, char** argv) {
    const bool conMotor = prueba::TomaMotor(argc, argv);
    const prueba::CarpetaDeLaCorrida carpeta;
    ::testing::InitGoogleTest(&argc, argv);
    if (const std::string falta = prueba::FaltaServidor(); !falta.empty()) {
        std::cerr << falta << '\n';
        return prueba::VariableDeEntorno("CI") == "true" ? 1 : prueba::kSaltada;
    }
    ::testing::UnitTest::GetInstance()->listeners().Append(new prueba::EquipoSinConfiguracion);  // owns it
    prueba::ExigeMotor* exigeMotor = conMotor ? new prueba::ExigeMotor : nullptr;
    if (exigeMotor != nullptr) ::testing::UnitTest::GetInstance()->listeners().Append(exigeMotor);  // owns it
    const int resultado = RUN_ALL_TESTS();
    if (resultado != 0 || (exigeMotor != nullptr && exigeMotor->Informa() != 0)) return 1;
    if (prueba::SecretosALaVista() != 0) return 1;
    const auto* unidad = ::testing::UnitTest::GetInstance();
    return unidad->skipped_test_count() > 0 && unidad->successful_test_count() == 0 ? prueba::kSaltada : 0;
}
