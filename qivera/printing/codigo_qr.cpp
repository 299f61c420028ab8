#include "qivera/printing/codigo_qr.hpp"

#include <qrencode.h>

#include <memory>

#include "kx204/host/runtime_error.hpp"

namespace qivera {

CodigoQr CodificaQr(const std::string& texto) {
    const std::unique_ptr<QRcode, decltype(&QRcode_free)> qr(QRcode_encodeString8bit(texto.c_str(), 0, QR_ECLEVEL_M),
                                                             QRcode_free);
    if (!qr) throw kx204::host::RuntimeError(5, "No se pudo codificar el código QR de " + texto);
    CodigoQr codigo{qr->width, {}};
    codigo.modulos.reserve(static_cast<std::size_t>(qr->width * qr->width));
    // The lowest bit of each byte tells a dark module; the others say what part of the symbol it is.
    for (int i = 0; i < qr->width * qr->width; ++i) codigo.modulos.push_back((qr->data[i] & 1) != 0);
    return codigo;
}

}  // namespace qivera
