#include "qivera/signing/archivo_privado.hpp"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include <unistd.h>

namespace qivera {

namespace {

bool EscribeTodo(int descriptor, const std::string& contenido) {
    for (std::size_t escritos = 0; escritos < contenido.size();) {
        const ssize_t n = ::write(descriptor, contenido.data() + escritos, contenido.size() - escritos);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        escritos += static_cast<std::size_t>(n);
    }
    return ::fsync(descriptor) == 0;
}

}  // namespace

bool EscribeArchivoPrivado(const std::string& ruta, const std::string& contenido) {
    std::string temporal = ruta + ".XXXXXX";
    const int descriptor = ::mkstemp(temporal.data());  // mode 0600 from its creation
    if (descriptor < 0) return false;
    const bool escrito = EscribeTodo(descriptor, contenido);
    if (::close(descriptor) == 0 && escrito && std::rename(temporal.c_str(), ruta.c_str()) == 0) return true;
    ::unlink(temporal.c_str());
    return false;
}

}  // namespace qivera
