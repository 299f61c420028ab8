// The CFDI 4.0 checker the tests use: a hand-computed invoice passes and each defect is named.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "apoyo/valida_cfdi.hpp"

namespace {

// To the general public, in MXN. P1: 3 × 12.345 = 37.035, written 37.04, 16% of it 5.9264 → 5.93.
// P3: 1.5 × 100 = 150.00 less 15.00 discount, 16% of 135.00 = 21.60, with a customs number.
// P5: 4 × 8.125 = 32.50 at 0%. SubTotal 219.54, taxes at 16% on 172.04 are 27.53,
// Total 219.54 - 15.00 + 27.53 = 232.07.
const std::string kValido = R"(<?xml version="1.0" encoding="UTF-8"?>
<cfdi:Comprobante xmlns:cfdi="http://www.sat.gob.mx/cfd/4" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance"
  xsi:schemaLocation="http://www.sat.gob.mx/cfd/4 http://www.sat.gob.mx/sitio_internet/cfd/4/cfdv40.xsd"
  Version="4.0" Serie="A" Folio="42" Fecha="2026-03-15T10:30:00" Sello="c2VsbG8=" FormaPago="01"
  NoCertificado="30001000000500003416" Certificado="TUlJQw==" CondicionesDePago="CONTADO" SubTotal="219.54"
  Descuento="15.00" Moneda="MXN" Total="232.07" TipoDeComprobante="I" Exportacion="01" MetodoPago="PUE"
  LugarExpedicion="26015">
  <cfdi:InformacionGlobal Periodicidad="01" Meses="03" Año="2026"/>
  <cfdi:Emisor Rfc="EKU9003173C9" Nombre="ESCUELA KEMPER URGATE" RegimenFiscal="601"/>
  <cfdi:Receptor Rfc="XAXX010101000" Nombre="PUBLICO EN GENERAL" DomicilioFiscalReceptor="26015"
    RegimenFiscalReceptor="616" UsoCFDI="S01"/>
  <cfdi:Conceptos>
    <cfdi:Concepto ClaveProdServ="31161500" NoIdentificacion="P1" Cantidad="3.000000" ClaveUnidad="H87"
      Unidad="Pieza" Descripcion="Tornillo" ValorUnitario="12.345000" Importe="37.04" ObjetoImp="02">
      <cfdi:Impuestos>
        <cfdi:Traslados>
          <cfdi:Traslado Base="37.04" Impuesto="002" TipoFactor="Tasa" TasaOCuota="0.160000" Importe="5.93"/>
        </cfdi:Traslados>
      </cfdi:Impuestos>
    </cfdi:Concepto>
    <cfdi:Concepto ClaveProdServ="27112700" NoIdentificacion="P3" Cantidad="1.500000" ClaveUnidad="H87"
      Descripcion="Perforadora &amp; brocas" ValorUnitario="100.000000" Importe="150.00" Descuento="15.00"
      ObjetoImp="02">
      <cfdi:Impuestos>
        <cfdi:Traslados>
          <cfdi:Traslado Base="135.00" Impuesto="002" TipoFactor="Tasa" TasaOCuota="0.160000" Importe="21.60"/>
        </cfdi:Traslados>
      </cfdi:Impuestos>
      <cfdi:InformacionAduanera NumeroPedimento="21  47  3807  8003832"/>
    </cfdi:Concepto>
    <cfdi:Concepto ClaveProdServ="50131700" NoIdentificacion="P5" Cantidad="4.000000" ClaveUnidad="KGM"
      Unidad="Kilo" Descripcion="Queso" ValorUnitario="8.125000" Importe="32.50" ObjetoImp="02">
      <cfdi:Impuestos>
        <cfdi:Traslados>
          <cfdi:Traslado Base="32.50" Impuesto="002" TipoFactor="Tasa" TasaOCuota="0.000000" Importe="0.00"/>
        </cfdi:Traslados>
      </cfdi:Impuestos>
    </cfdi:Concepto>
  </cfdi:Conceptos>
  <cfdi:Impuestos TotalImpuestosTrasladados="27.53">
    <cfdi:Traslados>
      <cfdi:Traslado Base="172.04" Impuesto="002" TipoFactor="Tasa" TasaOCuota="0.160000" Importe="27.53"/>
      <cfdi:Traslado Base="32.50" Impuesto="002" TipoFactor="Tasa" TasaOCuota="0.000000" Importe="0.00"/>
    </cfdi:Traslados>
  </cfdi:Impuestos>
  <cfdi:Complemento>
    <tfd:TimbreFiscalDigital xmlns:tfd="http://www.sat.gob.mx/TimbreFiscalDigital" Version="1.1"
      UUID="6F1C2B0A-4D3E-4A5B-9C8D-7E6F5A4B3C2D" FechaTimbrado="2026-03-15T10:31:02" RfcProvCertif="SPR190613I52"
      SelloCFD="c2VsbG8=" NoCertificadoSAT="30001000000500003456" SelloSAT="c2F0"/>
  </cfdi:Complemento>
</cfdi:Comprobante>
)";

// The valid invoice with its only occurrence of `de` replaced by `a`.
std::string Cambia(const std::string& de, const std::string& a) {
    std::string xml = kValido;
    const std::size_t donde = xml.find(de);
    if (donde == std::string::npos || xml.find(de, donde + 1) != std::string::npos) {
        ADD_FAILURE() << "not exactly once in the invoice: " << de;
        return xml;
    }
    return xml.replace(donde, de.size(), a);
}

struct Defecto {
    std::string de, a, mensaje;
};

// A general public's invoice at two rates with a customs number has none.
TEST(ErroresCfdi, AValidInvoiceHasNoneAndEachDefectGivesAnErrorThatNamesIt) {
    EXPECT_EQ(prueba::ErroresCfdi(kValido), std::vector<std::string>{});
    const std::vector<Defecto> defectos = {
        {R"(<cfdi:Emisor Rfc="EKU9003173C9" Nombre="ESCUELA KEMPER URGATE" RegimenFiscal="601"/>)", "", "Emisor"},
        {R"(Rfc="EKU9003173C9")", R"(Rfc="EKU9013173C9")", "'EKU9013173C9' is not a valid value"},
        {"cfd/4\"", "cfd/3\"", "{http://www.sat.gob.mx/cfd/3}Comprobante"},
        // 37.035 may be written 37.03 or 37.04, not a cent more.
        {R"(ValorUnitario="12.345000" Importe="37.04")", R"(ValorUnitario="12.345000" Importe="37.05")",
         "concept P1: Importe 37.05 is outside [37.03, 37.04]"},
        {R"(Importe="32.50" ObjetoImp)", R"(Importe="32.500" ObjetoImp)",
         "concept P5: Importe 32.500 has more than the 2 decimals of MXN"},
        {R"(TasaOCuota="0.160000" Importe="5.93")", R"(TasaOCuota="0.160000" Importe="5.91")",
         "concept P1: Traslado 002 Tasa 0.160000 Importe 5.91 is outside [5.92, 5.93]"},
        {R"(Total="232.07")", R"(Total="232.08")", "Total 232.08 is not 232.07"},
        {R"(Base="172.04")", R"(Base="172.40")", "document Traslado 002 Tasa 0.160000: Base 172.40 is not 172.04"},
        {R"(<cfdi:InformacionGlobal Periodicidad="01" Meses="03" Año="2026"/>)", "",
         "general public: InformacionGlobal is missing"},
        {R"(Moneda="MXN")", R"(Moneda="MXN" TipoCambio="17.25")", "TipoCambio 17.25 must be 1 or absent"},
    };
    for (const Defecto& defecto : defectos) {
        const std::vector<std::string> errores = prueba::ErroresCfdi(Cambia(defecto.de, defecto.a));
        EXPECT_TRUE(
            std::any_of(errores.begin(), errores.end(),
                        [&](const std::string& error) { return error.find(defecto.mensaje) != std::string::npos; }))
            << defecto.de << " -> " << defecto.a << " should say " << defecto.mensaje << ", says "
            << ::testing::PrintToString(errores);
    }
}

}  // namespace
