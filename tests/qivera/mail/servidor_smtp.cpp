#include "qivera/mail/servidor_smtp.hpp"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

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

bool LeeLinea(int cliente, std::string& pendiente, std::string& linea) {
    for (std::size_t fin; (fin = pendiente.find("\r\n")) == std::string::npos;) {
        char bloque[4096];
        const ssize_t leidos = ::recv(cliente, bloque, sizeof bloque, 0);
        if (leidos <= 0) return false;
        pendiente.append(bloque, static_cast<std::size_t>(leidos));
    }
    const std::size_t fin = pendiente.find("\r\n");
    linea = pendiente.substr(0, fin);
    pendiente.erase(0, fin + 2);
    return true;
}

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
    std::string pendiente, linea;
    bool enDatos = false;
    while (LeeLinea(cliente, pendiente, linea)) {
        if (enDatos) {
            if (linea == ".") {
                enDatos = false;
                Escribe(cliente, "250 recibido\r\n");
            } else {
                datos += (Empieza(linea, ".") ? linea.substr(1) : linea) + "\r\n";
            }
        } else if (Empieza(linea, "EHLO") || Empieza(linea, "HELO")) {
            Escribe(cliente, "250 prueba\r\n");
        } else if (Empieza(linea, "MAIL FROM:")) {
            remitente = linea.substr(10);
            Escribe(cliente, "250 OK\r\n");
        } else if (Empieza(linea, "RCPT TO:")) {
            destinatarios.push_back(linea.substr(8));
            Escribe(cliente, "250 OK\r\n");
        } else if (linea == "DATA") {
            enDatos = true;
            Escribe(cliente, "354 adelante\r\n");
        } else if (linea == "QUIT") {
            Escribe(cliente, "221 adios\r\n");
            return;
        } else {
            Escribe(cliente, "502 no\r\n");
        }
    }
}

int PuertoCerrado() {
    int puerto = 0;
    ::close(Enlaza(puerto));
    return puerto;
}

}  // namespace prueba
