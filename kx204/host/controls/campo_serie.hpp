#pragma once
#include <string>

#include "kx204/host/controls/control.hpp"

namespace kx204::host {

// Where the host keeps the invoice series of each branch and their numbers.
class ServicioSeries {
public:
    virtual ~ServicioSeries() = default;
    // The series a branch issues and the next free number; false when it has none.
    virtual bool Propone(const std::string& sucursal, std::string& serie, long& numero) = 0;
    // Takes the number for good; false with the reason when it is no longer free.
    virtual bool Reserva(const std::string& sucursal, const std::string& serie, long numero, std::string& error) = 0;
    // Takes `numero` when it is still free, else the next free number, answered in `numero`; when it is
    // another, the host tells the clerk which once the work is stored. False with the reason when the
    // branch has no such series.
    virtual bool TomaLibre(const std::string& sucursal, const std::string& serie, long& numero, std::string& error) = 0;
    // The next free number of a branch's series; false when the branch has no such series.
    virtual bool Siguiente(const std::string& sucursal, const std::string& serie, long& numero) = 0;
};

// The series-and-number field: shows the series and number a branch will issue.
class CampoSerie : public Control {
public:
    CampoSerie(std::string nombre, int grupo) : Control(std::move(nombre), grupo) {}

    void SetServicio(ServicioSeries* servicio) { servicio_ = servicio; }

    const std::string& Sucursal() const { return sucursal_; }
    // A new branch brings its series and next number.
    void SetSucursal(const std::string& sucursal);
    const std::string& Serie() const { return serie_; }
    // A series or number put in from outside is the clerk's own, no longer the field's proposal.
    void SetSerie(std::string serie) {
        serie_ = std::move(serie);
        propuesto_ = false;
    }
    const std::string& Numero() const { return numero_; }
    void SetNumero(std::string numero) {
        numero_ = std::move(numero);
        propuesto_ = false;
    }
    // The invoice number text, as stored in Fc_Factura.
    const std::string& Factura() const { return factura_; }
    void SetFactura(std::string factura) { factura_ = std::move(factura); }

    bool Locked() const { return locked_; }
    void SetLocked(bool locked) { locked_ = locked; }

    // Reserves the number shown. A number the field proposed that another clerk took meanwhile gives way
    // to the next free one, which the field then shows. A number the clerk chose is refused when taken,
    // and the field proposes the next free number, so that the clerk may accept again.
    bool ActualizaSerie();
    const std::string& ErrorSerie() const { return error_; }

    void Limpia() override;

private:
    void Muestra(long numero);

    ServicioSeries* servicio_ = nullptr;
    std::string sucursal_, serie_, numero_, factura_, error_;
    bool locked_ = false;
    bool propuesto_ = false;  // the series and number shown are the field's own proposal
};

}  // namespace kx204::host
