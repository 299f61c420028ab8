// A PostgreSQL run without a server: every test is skipped, and under CI every test fails.
#include <gtest/gtest.h>

#include "apoyo/base_prueba.hpp"

namespace prueba {

namespace {

class ExigeServidor : public ::testing::Environment {
public:
    void SetUp() override {
        if (MotorDePrueba() != Motor::PostgreSQL || !ServidorDePrueba().empty()) return;
        if (VariableDeEntorno("CI") == "true") FAIL() << "KX204_MOTOR=postgresql but KX204_POSTGRES names no server";
        GTEST_SKIP() << "KX204_POSTGRES names no PostgreSQL server";
    }
};

[[maybe_unused]] const auto* const kExigeServidor = ::testing::AddGlobalTestEnvironment(new ExigeServidor);

}  // namespace

}  // namespace prueba
