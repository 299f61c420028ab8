#include "qivera/mail/servidor_smtp.hpp"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace prueba {

namespace {

// A socket bound to a free loopback port.
int Enlaza(int& puerto) {
    const int descriptor = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in direccion{};
    direccion.sin_family = AF_INET;
    direccion.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t largo = sizeof direccion;
    if (descriptor < 0 || ::bind(descriptor, reinterpret_cast<sockaddr*>(&direccion), largo) != 0 ||
        ::getsockname(descriptor, reinterpret_cast<sockaddr*>(&direccion), &largo) != 0)
        throw std::runtime_error("cannot bind a loopback socket");
    puerto = ntohs(direccion.sin_port);
    return descriptor;
}

void Escribe(int cliente, const std::string& texto) { (void)::send(cliente, texto.data(), texto.size(), MSG_NOSIGNAL); }

bool Empieza(const std::string& linea, const char* orden) { return linea.rfind(orden, 0) == 0; }

}  // namespace

ServidorSmtp::ServidorSmtp() {
    escucha_ = Enlaza(puerto_);
    if (::listen(escucha_, 1) != 0) throw std::runtime_error("cannot listen");
    hilo_ = std::thread([this] {
        const int cliente = ::accept(escucha_, nullptr, nullptr);
        if (cliente < 0) return;  // closed before anyone came
        Atiende(cliente);
        ::close(cliente);
    });
}

ServidorSmtp::~ServidorSmtp() {
    ::shutdown(escucha_, SHUT_RDWR);  // wakes an accept still waiting
    Espera();
    ::close(escucha_);
}

void ServidorSmtp::Espera() {
    if (hilo_.joinable()) hilo_.join();
}

void ServidorSmtp::Atiende(int cliente) {
    Escribe(cliente, "220 prueba ESMTP\r\n");
    FILE* entrada = ::fdopen(::dup(cliente), "r");
    char* crudo = nullptr;
    std::size_t capacidad = 0;
    bool enDatos = false;
    while (::getline(&crudo, &capacidad, entrada) > 0) {
        std::string linea(crudo);  // a line ends at CRLF alone: a bare LF stays in it, to be seen
        if (linea.ends_with("\r\n")) linea.resize(linea.size() - 2);
        if (enDatos && linea != ".") {
            datos += (Empieza(linea, ".") ? linea.substr(1) : linea) + "\r\n";
            continue;
        }
        const bool conocida = enDatos || linea == "DATA" || linea == "QUIT" || Empieza(linea, "EHLO") ||
                              Empieza(linea, "HELO") || Empieza(linea, "MAIL FROM:") || Empieza(linea, "RCPT TO:");
        enDatos = linea == "DATA";
        if (Empieza(linea, "MAIL FROM:")) remitente = linea.substr(10);
        if (Empieza(linea, "RCPT TO:")) destinatarios.push_back(linea.substr(8));
        Escribe(cliente, !conocida         ? "502 no\r\n"
                         : enDatos         ? "354 adelante\r\n"
                         : linea == "QUIT" ? "221 adios\r\n"
                                           : "250 OK\r\n");
        if (linea == "QUIT") break;
    }
    std::free(crudo);
    ::fclose(entrada);
}

int PuertoCerrado() {
    int puerto = 0;
    ::close(Enlaza(puerto));
    return puerto;
}

}  // namespace prueba
