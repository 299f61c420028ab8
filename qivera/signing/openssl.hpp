#pragma once
#include <ctime>
#include <memory>
#include <string>

#include <openssl/bio.h>
#include <openssl/bn.h>
#include <openssl/evp.h>
#include <openssl/x509.h>

#include "kx204/host/date.hpp"

namespace qivera {

// OpenSSL objects owned the C++ way.
template <class T, void (*Libera)(T*)>
struct Liberador {
    void operator()(T* objeto) const { Libera(objeto); }
};
using Llave = std::unique_ptr<EVP_PKEY, Liberador<EVP_PKEY, EVP_PKEY_free>>;
using Certificado = std::unique_ptr<X509, Liberador<X509, X509_free>>;
using Bio = std::unique_ptr<BIO, Liberador<BIO, BIO_free_all>>;
using Numero = std::unique_ptr<BIGNUM, Liberador<BIGNUM, BN_free>>;

// Raises RuntimeError with `motivo`, followed by OpenSSL's own account of its last failure.
[[noreturn]] void FallaOpenSsl(const std::string& motivo);

// A read-only memory BIO over `texto`, which must outlive it.
Bio BioDeTexto(const std::string& texto);
// What was written to a memory BIO.
std::string TextoDeBio(BIO* bio);

// The first second of `dia` (UTC) as seconds since 1970.
std::time_t InicioDelDia(const kx204::host::Date& dia);

}  // namespace qivera
