#include "apoyo/salidas.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "apoyo/base_prueba.hpp"

namespace prueba {

namespace {

// Appends `texto` to this process's file `nombre`-PID of the folder; created 0600, as it may hold secrets.
void Anota(const std::string& nombre, const std::string& texto) {
    const std::filesystem::path carpeta = CarpetaDeSalidas();
    if (carpeta.empty()) return;
    ::mkdir(carpeta.c_str(), 0700);  // or it is there already
    const std::string ruta = (carpeta / (nombre + "-" + std::to_string(::getpid()))).string();
    const int archivo = ::open(ruta.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (archivo < 0) return;
    for (std::size_t escritos = 0; escritos < texto.size();) {
        const ssize_t n = ::write(archivo, texto.data() + escritos, texto.size() - escritos);
        if (n <= 0) break;
        escritos += static_cast<std::size_t>(n);
    }
    ::close(archivo);
}

}  // namespace

std::filesystem::path CarpetaDeSalidas() { return VariableDeEntorno("KX204_SALIDAS"); }

void Transcribe(const std::string& origen, const std::string& texto) {
    if (!texto.empty()) Anota("salida", kInicioDeOrigen + origen + "\n" + texto);
}

void Secreto(const std::string& que, const std::string& valor) {
    if (!valor.empty()) Anota("secretos", que + "\t" + valor + "\n");
}

}  // namespace prueba
