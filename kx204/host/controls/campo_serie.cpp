#include "kx204/host/controls/campo_serie.hpp"

#include "kx204/host/texto.hpp"
#include "kx204/host/variant.hpp"

namespace kx204::host {

namespace {

// The invoice number text of a series and number: the series and six digits, "A000042".
std::string NumeroFactura(const std::string& serie, long numero) { return serie + ConCeros(numero, 6); }

}  // namespace

void CampoSerie::SetSucursal(const std::string& sucursal) {
    sucursal_ = sucursal;
    std::string serie;
    long numero = 0;
    if (servicio_ != nullptr && servicio_->Propone(sucursal, serie, numero)) {
        serie_ = serie;
        numero_ = std::to_string(numero);
        factura_ = NumeroFactura(serie_, numero);
    } else {
        serie_.clear();
        numero_.clear();
        factura_.clear();
    }
}

bool CampoSerie::ActualizaSerie() {
    error_.clear();
    if (servicio_ == nullptr) {
        error_ = "No hay servicio de series";
        return false;
    }
    if (serie_.empty()) {
        error_ = "La sucursal " + sucursal_ + " no tiene serie de facturas";
        return false;
    }
    if (servicio_->Reserva(sucursal_, serie_, Variant(numero_).ToLong(), error_)) return true;
    long siguiente = 0;
    if (servicio_->Siguiente(sucursal_, serie_, siguiente)) {
        numero_ = std::to_string(siguiente);
        factura_ = NumeroFactura(serie_, siguiente);
    }
    return false;
}

void CampoSerie::Limpia() {
    serie_.clear();
    numero_.clear();
    factura_.clear();
    error_.clear();
}

}  // namespace kx204::host
