// Deleting a stamped invoice as the tax authority runs cancellations: the clerk's reason goes to the
// provider before the books are touched; the books release the notes only once it answers cancelled,
// and in process or refused leave everything as it was, the clerk told why.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "apoyo/cfdi_prueba.hpp"
#include "apoyo/configuracion_equipo.hpp"
#include "apoyo/facturacion.hpp"
#include "apoyo/programa.hpp"
#include "apoyo/valida_cfdi.hpp"
#include "qivera/signing/libro_pac_prueba.hpp"

namespace {

using kx204::host::ComandoBarra;
using prueba::Entorno;
using prueba::Filas;

// A clerk with invoice F000001 of note N1 issued, stamped by the test provider and shown.
struct Firmada {
    explicit Firmada(prueba::BaseDePrueba::Alcance alcance = prueba::BaseDePrueba::Alcance::UnaConexion)
        : entorno("ADMIN", alcance) {
        prueba::PreparaFacturacion(entorno);
        prueba::ConfiguraCfdi(entorno);
        entorno.Sql("UPDATE Serie SET Sr_Digital = 1");
        Proveedor("cancelado");
        pantalla = &prueba::Captura(entorno, {"N1"});
        pantalla->Controles.Pulsa(ComandoBarra::Aceptar);
        uuid = Filas(entorno, "SELECT Cd_Uuid FROM Comprobante_Digital WHERE Cd_Timbrado = 1");
        uuid.pop_back();
    }
    void Proveedor(const std::string& respuesta) {
        prueba::TimbraCon(std::string("\"") + KX204_QIVERA + "\" pac-prueba --libro \"" + Libro() +
                          "\" --cancelacion " + respuesta);
    }
    std::string Libro() const { return entorno.carpeta.string() + "/libro"; }
    // Shows the invoice and presses Delete, answering the reason with `motivo` ("" chooses none; none is
    // queued without one).
    std::vector<nlohmann::ordered_json> Elimina(const std::optional<std::string>& motivo) {
        pantalla->txtFolio.Teclea("F000001");
        pantalla->txtFolio.Confirma();
        entorno.eventos.clear();
        if (motivo) entorno.persona.Responde(*motivo);
        pantalla->Controles.Pulsa(ComandoBarra::Eliminar);
        return entorno.Eventos("message");
    }
    std::string Estado() {
        return Filas(
            entorno,
            "SELECT f.Es_Cve_Estado || '|' || c.Cd_Cancelado || '|' || c.Cd_Estado_Cancelacion || '|' || "
            "c.Cd_Motivo_Cancelacion || '|' || (SELECT count(*) FROM Venta WHERE Fc_Folio = 'F000001') FROM "
            "Factura f JOIN Comprobante_Digital c ON c.Cd_Documento = f.Fc_Folio WHERE f.Fc_Folio = 'F000001'");
    }
    // The provider's answers to this invoice's cancellations, in order.
    std::vector<std::string> Respuestas() const {
        std::vector<std::string> respuestas;
        for (const auto& asiento : qivera::LibroPacPrueba(Libro()).Asientos())
            if (asiento.motivo != "")
                respuestas.push_back(asiento.evento + " " + asiento.motivo + (asiento.relacion.empty() ? "" : " ") +
                                     asiento.relacion);
        return respuestas;
    }

    Entorno entorno;
    kx204::frmKX204* pantalla = nullptr;
    std::string uuid;
};

TEST(CancelacionCfdi, TheBooksReleaseTheNotesOnlyOnceTheProviderSaysCancelled) {
    Firmada f;
    ASSERT_EQ(f.uuid.size(), 36u);
    const std::string antes = f.Estado();
    EXPECT_EQ(antes, "AC|0|||2\n");

    // A command in the shared database is refused before it could answer for the tax authority.
    const std::string intruso = f.entorno.carpeta.string() + "/intruso";
    f.entorno.Variable("CFDI_TIMBRADO_COMANDO", "sh -c 'touch \"" + intruso + "\"; echo cancelado'");
    auto mensajes = f.Elimina(std::nullopt);  // asked for no reason
    ASSERT_EQ(mensajes.size(), 1u);
    EXPECT_NE(mensajes[0]["prompt"].get<std::string>().find("[timbrado]"), std::string::npos) << mensajes[0];
    EXPECT_FALSE(std::filesystem::exists(intruso));
    EXPECT_EQ(f.Estado(), antes);
    f.entorno.Variable("CFDI_TIMBRADO_COMANDO", "");

    // Delete answers with one message of `botones` saying `texto` and leaves the invoice's `estado`.
    const auto responde = [&](const std::string& motivo, int botones, const std::string& texto,
                              const std::string& estado) {
        const auto respuesta = f.Elimina(motivo);
        ASSERT_EQ(respuesta.size(), 1u);
        EXPECT_EQ(respuesta[0]["buttons"], botones);
        EXPECT_EQ(respuesta[0]["prompt"], texto);
        EXPECT_EQ(f.Estado(), estado);
    };
    f.Proveedor("en_proceso");
    responde("03", 64,
             "La cancelación del CFDI de la factura F000001 está en proceso: el receptor debe aceptarla. Elimine la "
             "factura de nuevo cuando la acepte.",
             "AC|0|EN_PROCESO|03|2\n");

    f.Proveedor("rechazado");
    responde("", 48,
             "El CFDI de la factura F000001 no se canceló: El proveedor de timbrado no canceló: "
             "qivera: el SAT rechazó la cancelación de " +
                 f.uuid,
             "AC|0|RECHAZADO|02|2\n");  // the default reason when none is chosen

    // Cancelled before the tax authority, then the books fail: the invoice stays, and the next Delete
    // finishes without asking the provider again.
    f.Proveedor("cancelado");
    f.entorno.FallaAlActualizar("Venta", "disco lleno");
    f.Elimina("02");
    EXPECT_EQ(f.Estado(), "AC|1|CANCELADO|02|2\n");
    f.entorno.QuitaFallas();
    EXPECT_TRUE(f.Elimina("").empty());
    EXPECT_EQ(f.Estado(), "CA|1|CANCELADO|02|0\n");
    EXPECT_EQ(f.Respuestas(), (std::vector<std::string>{"en_proceso 03", "rechazado 02", "cancelado 02"}));
}

// Reason 01 as the SAT runs it: the notes go to a replacement whose CFDI relates (04) to the old one, and
// the old one is cancelled naming the replacement once it is stamped; a retry finishes one in process.
TEST(CancelacionCfdi, Reason01FreesTheNotesForAReplacementThatRelatesToItThenCancelsIt) {
    Firmada f(prueba::BaseDePrueba::Alcance::Compartida);
    EXPECT_TRUE(f.Elimina("01").empty());
    EXPECT_EQ(f.Estado(), "CA|0|POR_SUSTITUIR|01|0\n");  // standing before the SAT, the notes free
    EXPECT_TRUE(f.Respuestas().empty());

    f.Proveedor("en_proceso");
    prueba::Captura(f.entorno, *f.pantalla, {"N1", "N2"});
    f.pantalla->Controles.Pulsa(ComandoBarra::Aceptar);
    const std::string xml = Filas(f.entorno, "SELECT Cd_Xml FROM Comprobante_Digital WHERE Cd_Documento = 'F000002'");
    EXPECT_NE(xml.find("<cfdi:CfdiRelacionados TipoRelacion=\"04\"><cfdi:CfdiRelacionado UUID=\"" + f.uuid + "\"/>"),
              std::string::npos);
    EXPECT_EQ(prueba::ErroresCfdi(xml), std::vector<std::string>{});
    std::string nueva = Filas(f.entorno, "SELECT Cd_Uuid FROM Comprobante_Digital WHERE Cd_Documento = 'F000002'");
    nueva.pop_back();
    EXPECT_EQ(f.entorno.Eventos("sustitucion").at(0)["cancelacion"], "en_proceso");
    EXPECT_EQ(f.Estado(), "CA|0|EN_PROCESO|01|0\n");

    // The unattended retry asks again; a third invoice of those notes would relate to nothing.
    f.Proveedor("cancelado");
    const prueba::Corrida corrida =
        prueba::Qivera({"timbrar", "--pendientes", "--db", QString::fromStdString(f.entorno.base->Url())});
    EXPECT_EQ(corrida.estado, 0) << corrida.errores;
    EXPECT_EQ(corrida.salida, "{\"folio\":\"F000001\",\"cancelacion\":\"cancelado\"}\n");
    EXPECT_EQ(f.Estado(), "CA|1|CANCELADO|01|0\n");
    EXPECT_EQ(f.Respuestas(), (std::vector<std::string>{"en_proceso 01 " + nueva, "cancelado 01 " + nueva}));
    EXPECT_EQ(prueba::Qivera({"timbrar", "--pendientes", "--db", QString::fromStdString(f.entorno.base->Url())}).salida,
              "");

    // The SAT refuses reason 01 naming a CFDI that does not relate to the cancelled one.
    const prueba::Corrida ajena =
        prueba::Qivera({"pac-prueba", "cancelar", QString::fromStdString(nueva), "EKU9003173C9", "01",
                        QString::fromStdString(f.uuid), "--libro", QString::fromStdString(f.Libro())});
    EXPECT_EQ(ajena.estado, 1) << ajena.salida;
}

}  // namespace
