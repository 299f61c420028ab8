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
        Muestra(numero);
    } else {
        Limpia();
    }
}

void CampoSerie::Muestra(long numero) {
    numero_ = std::to_string(numero);
    factura_ = NumeroFactura(serie_, numero);
    propuesto_ = true;
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
    long numero = Variant(numero_).ToLong();
    if (propuesto_) {
        if (!servicio_->TomaLibre(sucursal_, serie_, numero, error_)) return false;
        Muestra(numero);
        return true;
    }
    if (servicio_->Reserva(sucursal_, serie_, numero, error_)) return true;
    if (servicio_->Siguiente(sucursal_, serie_, numero)) Muestra(numero);
    return false;
}

void CampoSerie::Limpia() {
    serie_.clear();
    numero_.clear();
    factura_.clear();
    error_.clear();
    propuesto_ = false;
}

}  // namespace kx204::host
