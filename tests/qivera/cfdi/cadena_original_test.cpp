// The original string by the tax authority's rules, written out by hand for a CFDI that has a bit of
// everything: the sealed attributes in their order whatever order the XML writes them in, optional
// ones only when present, the document's tax totals after their groups, whitespace collapsed, and
// neither seal, certificate nor stamp.
#include <gtest/gtest.h>

#include "kx204/host/runtime_error.hpp"
#include "qivera/cfdi/cadena_original.hpp"

namespace {

constexpr const char* kCfdi = R"(<?xml version="1.0" encoding="UTF-8"?>
<cfdi:Comprobante xmlns:cfdi="http://www.sat.gob.mx/cfd/4" LugarExpedicion="06000" Total="116.00" Moneda="MXN"
 Version="4.0" Serie="G" Folio="7" Fecha="2026-03-15T10:00:00" Sello="SELLO" FormaPago="01" NoCertificado="30001000000500003416"
 Certificado="CERT" SubTotal="110.00" Descuento="10.00" TipoDeComprobante="I" Exportacion="01" MetodoPago="PUE">
 <cfdi:InformacionGlobal Año="2026" Periodicidad="01" Meses="03"/>
 <cfdi:CfdiRelacionados TipoRelacion="04"><cfdi:CfdiRelacionado UUID="0C5E2B1A-3D4F-4A6B-8C9D-0E1F2A3B4C5D"/></cfdi:CfdiRelacionados>
 <cfdi:Emisor Rfc="EKU9003173C9" Nombre="ESCUELA  KEMPER
  URGATE" RegimenFiscal="601"/>
 <cfdi:Receptor Rfc="XAXX010101000" Nombre="PUBLICO EN GENERAL" DomicilioFiscalReceptor="06000"
  RegimenFiscalReceptor="616" UsoCFDI="S01"/>
 <cfdi:Conceptos>
  <cfdi:Concepto ClaveProdServ="50201706" NoIdentificacion="P5" Cantidad="1" ClaveUnidad="H87" Descripcion="Café"
   ValorUnitario="110.00" Importe="110.00" Descuento="10.00" ObjetoImp="02">
   <cfdi:Impuestos><cfdi:Traslados>
    <cfdi:Traslado Importe="16.00" TasaOCuota="0.160000" TipoFactor="Tasa" Impuesto="002" Base="100.00"/>
   </cfdi:Traslados></cfdi:Impuestos>
   <cfdi:InformacionAduanera NumeroPedimento="26  47  3807  6000051"/>
  </cfdi:Concepto>
 </cfdi:Conceptos>
 <cfdi:Impuestos TotalImpuestosTrasladados="16.00">
  <cfdi:Traslados><cfdi:Traslado Base="100.00" Impuesto="002" TipoFactor="Tasa" TasaOCuota="0.160000" Importe="16.00"/></cfdi:Traslados>
 </cfdi:Impuestos>
 <cfdi:Complemento><tfd:TimbreFiscalDigital xmlns:tfd="http://www.sat.gob.mx/TimbreFiscalDigital" Version="1.1"
  UUID="96D82E6E-084E-4644-91B3-3A652E4C0CBA" FechaTimbrado="2026-03-15T10:00:05" RfcProvCertif="SPR190613I52"
  SelloCFD="SELLO" NoCertificadoSAT="30001000000500003456" SelloSAT="SAT"/></cfdi:Complemento>
</cfdi:Comprobante>)";

TEST(CadenaOriginal, FollowsTheRulesOrderAndLeavesOutSealsAndStamp) {
    const qivera::NodoXml cfdi = qivera::LeeXml(kCfdi);
    EXPECT_EQ(qivera::CadenaOriginal(cfdi),
              "||4.0|G|7|2026-03-15T10:00:00|01|30001000000500003416|110.00|10.00|MXN|116.00|I|01|PUE|06000"
              "|01|03|2026|04|0C5E2B1A-3D4F-4A6B-8C9D-0E1F2A3B4C5D|EKU9003173C9|ESCUELA KEMPER "
              "URGATE|601|XAXX010101000|PUBLICO EN GENERAL|06000|616|S01"
              "|50201706|P5|1|H87|Café|110.00|110.00|10.00|02|100.00|002|Tasa|0.160000|16.00|26 47 3807 6000051"
              "|100.00|002|Tasa|0.160000|16.00|16.00||");
    EXPECT_EQ(qivera::CadenaOriginalTimbre(*cfdi.Hijo("Complemento")->Hijo("TimbreFiscalDigital")),
              "||1.1|96D82E6E-084E-4644-91B3-3A652E4C0CBA|2026-03-15T10:00:05|SPR190613I52|SELLO|"
              "30001000000500003456||");

    // A control character the XML cannot carry is not sealed either: the seal covers what the XML says.
    qivera::NodoXml conControl = cfdi;
    conControl.Hijo("Conceptos")->Hijo("Concepto")->Pon("Descripcion", "Caf\x01\x7f\t\xc3\xa9 \x1b");
    EXPECT_EQ(qivera::CadenaOriginal(conControl),
              qivera::CadenaOriginal(qivera::LeeXml(qivera::EscribeXml(conControl))));
    EXPECT_NE(qivera::CadenaOriginal(conControl).find("|Caf\x7f é|"), std::string::npos);

    // What the rules do not cover is refused rather than left out of the seal.
    qivera::NodoXml otro = cfdi;
    otro.Hijo("Conceptos")->Hijo("Concepto")->hijos.push_back(qivera::NodoXml{"cfdi:ACuentaTerceros", {}, {}});
    EXPECT_THROW(qivera::CadenaOriginal(otro), kx204::host::RuntimeError);
    EXPECT_THROW(qivera::LeeXml("<a><b>texto</b></a>"), kx204::host::RuntimeError);
    EXPECT_THROW(qivera::LeeXml("<a>"), kx204::host::RuntimeError);
}

}  // namespace
