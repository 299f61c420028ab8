#pragma once
#include <string>

namespace prueba {

// The user's configuration file of this run (under the run's own XDG_CONFIG_HOME), which the tests and
// every program they start read: `clave` ("section/key") set to `valor`, the file's other keys kept.
void ConfiguraEquipo(const std::string& clave, const std::string& valor);

// The stamping provider this machine's configuration names; "" for none.
void TimbraCon(const std::string& comando);

// The file's path, and its removal: every test starts on a machine whose configuration names nothing.
std::string ArchivoDeConfiguracion();
void OlvidaConfiguracion();

}  // namespace prueba
