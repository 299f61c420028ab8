#pragma once
#include <map>
#include <string>
#include <vector>

#include "kx204/host/documentos.hpp"
#include "qivera/services/consecutivo.hpp"
#include "qivera/sesion/sesion.hpp"

namespace qivera {

// objDocumento: an invoice built in memory (header and lines), then stored in Factura,
// Factura_Encabezado and Factura_Detalle on the session's connection, inside the caller's transaction.
class DocumentoFacturaQivera : public kx204::host::DocumentoFactura {
public:
    explicit DocumentoFacturaQivera(Sesion& sesion) : sesion_(sesion) {}

    std::string MensajeError() override { return error_; }
    kx204::host::EncabezadoFactura ObtenEncabezado() override { return encabezado_; }
    // Keeps the header and gives the invoice its folio, taken once per document.
    void AsignaEncabezado(const kx204::host::EncabezadoFactura& encabezado) override;
    const kx204::host::RenglonFactura& ObtenRenglon() override;
    // Appends the line numbered "0001", "0002"… with the fixed fee last given.
    void AgregaRenglon(const kx204::host::RenglonFactura& renglon) override;
    void Inicializa() override;
    bool Graba(const std::string& folio) override;
    // Checks the line last appended.
    bool RenglonCorrecto() override;
    // Posts the invoice's totals: the sums over the sale notes marked with its folio.
    bool Aplica(const std::string& folio, bool afecta) override;
    void AsignaCuota(const kx204::host::Cuota& cuota) override { cuota_ = cuota.CuotaFija; }

private:
    struct Renglon {
        kx204::host::RenglonFactura datos;
        double cuota;
    };

    // What a line needs of its product, read once per product and document.
    struct ProductoLeido {
        bool existe = false;
        std::string estado, impuesto;
        kx204::host::Currency tasa;
    };

    std::string ErrorRenglon(const Renglon& renglon);
    void GrabaEncabezado(const std::string& tabla);
    const ProductoLeido& Producto(const std::string& clave);
    std::vector<Valor> FilaDetalle(const Renglon& renglon);
    bool Existe(const std::string& tabla, const std::string& folio);

    Sesion& sesion_;
    kx204::host::EncabezadoFactura encabezado_;
    std::vector<Renglon> renglones_;
    std::map<std::string, ProductoLeido> productos_;
    double cuota_ = 0;
    std::string error_;
};

}  // namespace qivera
