#include "qivera/signing/credenciales_demo.hpp"

#include <openssl/core_names.h>
#include <openssl/err.h>
#include <openssl/param_build.h>
#include <openssl/pem.h>

#include "qivera/signing/openssl.hpp"

namespace qivera {

using kx204::host::Date;

namespace {

constexpr int kBitsPrimo = 1024;  // two of them make a 2048-bit modulus
constexpr unsigned long kExponente = 65537;

using ContextoNumeros = std::unique_ptr<BN_CTX, Liberador<BN_CTX, BN_CTX_free>>;
using Parametros = std::unique_ptr<OSSL_PARAM, Liberador<OSSL_PARAM, OSSL_PARAM_free>>;
using ConstructorParametros = std::unique_ptr<OSSL_PARAM_BLD, Liberador<OSSL_PARAM_BLD, OSSL_PARAM_BLD_free>>;
using ContextoLlave = std::unique_ptr<EVP_PKEY_CTX, Liberador<EVP_PKEY_CTX, EVP_PKEY_CTX_free>>;

void Exige(bool cumplido, const char* que) {
    if (!cumplido) FallaOpenSsl(std::string("No se pudieron generar las credenciales: ") + que);
}

// The bytes of SHA-256 over the seed and a counter, block after block.
class Flujo {
public:
    explicit Flujo(std::uint64_t semilla) : semilla_(semilla) {}

    std::string Bytes(std::size_t cuantos) {
        std::string salida;
        while (salida.size() < cuantos) {
            unsigned char entrada[16];
            for (int i = 0; i < 8; ++i) {
                entrada[i] = static_cast<unsigned char>(semilla_ >> (56 - 8 * i));
                entrada[8 + i] = static_cast<unsigned char>(contador_ >> (56 - 8 * i));
            }
            ++contador_;
            unsigned char resumen[EVP_MAX_MD_SIZE];
            unsigned int largo = 0;
            Exige(EVP_Digest(entrada, sizeof entrada, resumen, &largo, EVP_sha256(), nullptr) == 1, "resumen");
            salida.append(reinterpret_cast<const char*>(resumen), largo);
        }
        salida.resize(cuantos);
        return salida;
    }

    Numero Entero(std::size_t bytes) {
        const std::string texto = Bytes(bytes);
        Numero numero(
            BN_bin2bn(reinterpret_cast<const unsigned char*>(texto.data()), static_cast<int>(bytes), nullptr));
        Exige(numero != nullptr, "número");
        return numero;
    }

private:
    std::uint64_t semilla_;
    std::uint64_t contador_ = 0;
};

Numero Nuevo() {
    Numero numero(BN_new());
    Exige(numero != nullptr, "memoria");
    return numero;
}

// The first prime from a derived odd start whose predecessor shares no factor with the exponent.
// Its top two bits are set, so that two of them multiply to the full modulus length.
Numero Primo(Flujo& flujo, const BIGNUM* exponente, BN_CTX* ctx) {
    Numero p = flujo.Entero(kBitsPrimo / 8);
    Exige(BN_set_bit(p.get(), kBitsPrimo - 1) == 1 && BN_set_bit(p.get(), kBitsPrimo - 2) == 1 &&
              BN_set_bit(p.get(), 0) == 1,
          "primo");
    Numero anterior = Nuevo(), comun = Nuevo();
    for (;; Exige(BN_add_word(p.get(), 2) == 1, "primo")) {
        const int primo = BN_check_prime(p.get(), ctx, nullptr);
        Exige(primo >= 0, "primalidad");
        if (primo == 0) continue;
        Exige(BN_sub(anterior.get(), p.get(), BN_value_one()) == 1 &&
                  BN_gcd(comun.get(), anterior.get(), exponente, ctx) == 1,
              "primo");
        if (BN_is_one(comun.get())) return p;
    }
}

Llave LlaveRsa(Flujo& flujo) {
    ContextoNumeros ctx(BN_CTX_new());
    Exige(ctx != nullptr, "memoria");
    Numero e = Nuevo();
    Exige(BN_set_word(e.get(), kExponente) == 1, "exponente");
    Numero p = Primo(flujo, e.get(), ctx.get()), q = Primo(flujo, e.get(), ctx.get());
    Exige(BN_cmp(p.get(), q.get()) != 0, "primos iguales");
    Numero n = Nuevo(), p1 = Nuevo(), q1 = Nuevo(), phi = Nuevo(), dp = Nuevo(), dq = Nuevo();
    Exige(BN_mul(n.get(), p.get(), q.get(), ctx.get()) == 1 && BN_sub(p1.get(), p.get(), BN_value_one()) == 1 &&
              BN_sub(q1.get(), q.get(), BN_value_one()) == 1 && BN_mul(phi.get(), p1.get(), q1.get(), ctx.get()) == 1,
          "módulo");
    Numero d(BN_mod_inverse(nullptr, e.get(), phi.get(), ctx.get()));
    Numero qInv(BN_mod_inverse(nullptr, q.get(), p.get(), ctx.get()));
    Exige(d && qInv && BN_mod(dp.get(), d.get(), p1.get(), ctx.get()) == 1 &&
              BN_mod(dq.get(), d.get(), q1.get(), ctx.get()) == 1,
          "exponentes");
    ConstructorParametros constructor(OSSL_PARAM_BLD_new());
    Exige(constructor != nullptr, "memoria");
    const std::pair<const char*, const BIGNUM*> partes[] = {
        {OSSL_PKEY_PARAM_RSA_N, n.get()},          {OSSL_PKEY_PARAM_RSA_E, e.get()},
        {OSSL_PKEY_PARAM_RSA_D, d.get()},          {OSSL_PKEY_PARAM_RSA_FACTOR1, p.get()},
        {OSSL_PKEY_PARAM_RSA_FACTOR2, q.get()},    {OSSL_PKEY_PARAM_RSA_EXPONENT1, dp.get()},
        {OSSL_PKEY_PARAM_RSA_EXPONENT2, dq.get()}, {OSSL_PKEY_PARAM_RSA_COEFFICIENT1, qInv.get()}};
    for (const auto& [nombre, valor] : partes)
        Exige(OSSL_PARAM_BLD_push_BN(constructor.get(), nombre, valor) == 1, "parámetros");
    Parametros parametros(OSSL_PARAM_BLD_to_param(constructor.get()));
    ContextoLlave contexto(EVP_PKEY_CTX_new_from_name(nullptr, "RSA", nullptr));
    EVP_PKEY* llave = nullptr;
    Exige(parametros && contexto && EVP_PKEY_fromdata_init(contexto.get()) == 1 &&
              EVP_PKEY_fromdata(contexto.get(), &llave, EVP_PKEY_KEYPAIR, parametros.get()) == 1,
          "llave");
    return Llave(llave);
}

Certificado CertificadoPropio(EVP_PKEY* llave, Flujo& flujo, const std::string& nombre, const Date& desde,
                              const Date& hasta) {
    Certificado certificado(X509_new());
    Exige(certificado != nullptr && X509_set_version(certificado.get(), X509_VERSION_3) == 1, "certificado");
    X509* x = certificado.get();
    Numero serie = flujo.Entero(8);
    Exige(BN_clear_bit(serie.get(), 63) == 1 && BN_to_ASN1_INTEGER(serie.get(), X509_get_serialNumber(x)) != nullptr,
          "número de serie");
    X509_NAME* sujeto = X509_get_subject_name(x);
    Exige(X509_NAME_add_entry_by_txt(sujeto, "CN", MBSTRING_UTF8,
                                     reinterpret_cast<const unsigned char*>(nombre.c_str()), -1, -1, 0) == 1 &&
              X509_set_issuer_name(x, sujeto) == 1,
          "nombre");
    Exige(ASN1_TIME_set(X509_getm_notBefore(x), InicioDelDia(desde)) != nullptr &&
              ASN1_TIME_set(X509_getm_notAfter(x), InicioDelDia(hasta)) != nullptr,
          "vigencia");
    // PKCS#1 v1.5 signatures are deterministic, so the certificate repeats with its key.
    Exige(X509_set_pubkey(x, llave) == 1 && X509_sign(x, llave, EVP_sha256()) != 0, "firma del certificado");
    return certificado;
}

}  // namespace

CredencialesPem GeneraCredencialesDemo(const std::string& nombre, const Date& desde, const Date& hasta,
                                       std::uint64_t semilla) {
    ERR_clear_error();
    Flujo flujo(semilla);
    const Llave llave = LlaveRsa(flujo);
    const Certificado certificado = CertificadoPropio(llave.get(), flujo, nombre, desde, hasta);
    Bio pemLlave(BIO_new(BIO_s_mem())), pemCertificado(BIO_new(BIO_s_mem()));
    Exige(pemLlave && pemCertificado &&
              PEM_write_bio_PrivateKey(pemLlave.get(), llave.get(), nullptr, nullptr, 0, nullptr, nullptr) == 1 &&
              PEM_write_bio_X509(pemCertificado.get(), certificado.get()) == 1,
          "PEM");
    return {TextoDeBio(pemLlave.get()), TextoDeBio(pemCertificado.get())};
}

}  // namespace qivera
