#pragma once
#include <cstdint>
#include <string>

#include "kx204/host/date.hpp"

namespace qivera {

// A key and its certificate as PEM texts: an unencrypted PKCS#8 key and an X.509 certificate.
struct CredencialesPem {
    std::string llave;
    std::string certificado;
};

// A 2048-bit RSA key and a self-signed certificate for `nombre`, valid from the start of
// `desde` to the start of `hasta`, all derived from `semilla`: the same seed gives the same
// texts, so that demo data repeat. For demos and tests only: whoever knows the seed has the key.
CredencialesPem GeneraCredencialesDemo(const std::string& nombre, const kx204::host::Date& desde,
                                       const kx204::host::Date& hasta, std::uint64_t semilla);

}  // namespace qivera
