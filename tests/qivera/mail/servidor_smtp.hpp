#pragma once
#include <string>
#include <thread>
#include <vector>

namespace prueba {

// A one-message SMTP server on 127.0.0.1 at a free port, serving one connection on a thread
// of its own: it accepts every command (and the message's end) and keeps what it was given.
class ServidorSmtp {
public:
    ServidorSmtp();
    ~ServidorSmtp();
    ServidorSmtp(const ServidorSmtp&) = delete;
    ServidorSmtp& operator=(const ServidorSmtp&) = delete;

    std::string Url() const { return "smtp://127.0.0.1:" + std::to_string(puerto_); }
    // Waits for the client to leave; after it, the fields below hold what it sent.
    void Espera();

    std::string remitente;
    std::vector<std::string> destinatarios;
    std::string datos;  // the message as sent, dot-stuffing undone, with its CRLFs

private:
    void Atiende(int cliente);

    int escucha_ = -1;
    int puerto_ = 0;
    std::thread hilo_;
};

// A loopback port where nothing listens.
int PuertoCerrado();

}  // namespace prueba
