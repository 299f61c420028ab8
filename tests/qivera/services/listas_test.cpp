// The list services over a real database: filling, the CSV export and the column chooser.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "apoyo/entorno.hpp"
#include "apoyo/error_de.hpp"
#include "kx204/host/runtime_error.hpp"
#include "qivera/db/archivo_temporal.hpp"
#include "qivera/services/interfaz.hpp"

using kx204::host::Alineacion;
using kx204::host::Lista;
using Textos = std::vector<std::string>;

namespace {

Textos Captions(const Lista& lista) {
    Textos captions;
    for (const auto& columna : lista.Columnas()) captions.push_back(columna.caption);
    return captions;
}

std::vector<int> Anchos(const Lista& lista) {
    std::vector<int> anchos;
    for (const auto& columna : lista.Columnas()) anchos.push_back(columna.width);
    return anchos;
}

Textos TextosDe(const Lista& lista) {
    Textos textos;
    for (int i = 0; i < lista.Count(); ++i) textos.push_back(lista.Item(i).text);
    return textos;
}

class Listas : public ::testing::Test {
protected:
    prueba::Entorno entorno;
    qivera::InterfazQivera interfaz{entorno.sesion};
    Lista lista{"lvNotas", 1};
};

}  // namespace

TEST_F(Listas, FillTakesTheResultsColumnsAndRowsKeepingWidthsOfKnownCaptions) {
    lista.SetColumnas({{"Folio", Alineacion::Izquierda, 2540}, {"Oculta", Alineacion::Izquierda, 0}});
    lista.Agrega({{"VIEJO", {"x"}, true}});
    lista.SetOrden(0, kx204::host::Orden::Ascendente);
    ASSERT_TRUE(interfaz.LlenaLista(
        "SELECT 'B' AS \"Folio\", 1234.5 AS \"Importe\", NULL AS \"Oculta\", 'Peña, S.A.' AS \"Cliente\", 7 AS "
        "\"Piezas\" UNION ALL SELECT 'A', 0.25, 'y', NULL, -3",
        lista, true));
    EXPECT_EQ(Captions(lista), (Textos{"Folio", "Importe", "Oculta", "Cliente", "Piezas"}));
    EXPECT_EQ(Anchos(lista), (std::vector<int>{2540, 1440, 0, 1440, 1440}));
    EXPECT_EQ(lista.Columnas()[1].alineacion, Alineacion::Derecha);
    EXPECT_EQ(lista.Columnas()[2].alineacion, Alineacion::Izquierda);  // Null in the first row
    EXPECT_EQ(lista.Columnas()[4].alineacion, Alineacion::Derecha);
    ASSERT_EQ(TextosDe(lista), (Textos{"A", "B"}));  // the old item is gone, the rows sorted
    EXPECT_EQ(lista.Item(0).sub, (Textos{"0.25", "y", "", "-3"}));
    EXPECT_EQ(lista.Item(1).sub, (Textos{"1234.5", "", "Peña, S.A.", "7"}));

    // Without headers the columns stay; a failed statement leaves the list as it was.
    ASSERT_TRUE(interfaz.LlenaLista("SELECT Cl_Cve_Cliente, Cl_Descripcion FROM Cliente", lista, false));
    EXPECT_EQ(Captions(lista), (Textos{"Folio", "Importe", "Oculta", "Cliente", "Piezas"}));
    EXPECT_EQ(TextosDe(lista), (Textos{"C1", "C2", "C3"}));
    EXPECT_THROW(interfaz.LlenaLista("SELECT No_Existe FROM Cliente", lista, true), kx204::host::RuntimeError);
    EXPECT_EQ(lista.Count(), 3);
}

TEST_F(Listas, ExportWritesTheVisibleColumnsAsCsvAndTheChooserPicksThem) {
    ASSERT_TRUE(interfaz.LlenaLista(
        "SELECT 'F1' AS \"Folio\", 'secreto' AS \"Oculta\", 'Peña, \"La Única\"' AS \"Cliente, nombre\", 2.5 AS "
        "\"Total\" UNION ALL SELECT 'F2', 'x', 'dos\nlíneas', NULL",
        lista, true));
    entorno.persona.Responde("");  // chooser cancelled: nothing changes
    EXPECT_FALSE(interfaz.AccionListaAlterna(lista));
    EXPECT_EQ(entorno.Eventos("dialog").back()["args"], (Textos{"Folio", "Oculta", "Cliente, nombre", "Total"}));
    auto columnas = lista.Columnas();
    columnas[0].width = 2540;
    columnas[3].width = 0;
    lista.SetColumnas(columnas);
    entorno.persona.Responde("Folio|Cliente, nombre|Total");
    EXPECT_TRUE(interfaz.AccionListaAlterna(lista));
    EXPECT_EQ(Anchos(lista), (std::vector<int>{2540, 0, 1440, 1440}));

    qivera::db::pruebas::ArchivoTemporal temporal;
    const std::string ruta = temporal.Ruta() + ".csv";
    entorno.persona.Responde(ruta);
    ASSERT_TRUE(interfaz.AccionLista(lista));
    EXPECT_EQ(entorno.Eventos("dialog").back()["args"], (Textos{"lvNotas"}));
    std::ifstream archivo(ruta, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(archivo), {}),
              "Folio,\"Cliente, nombre\",Total\r\nF1,\"Peña, \"\"La Única\"\"\",2.5\r\nF2,\"dos\nlíneas\",\r\n");

    entorno.persona.Responde("");  // export cancelled
    EXPECT_FALSE(interfaz.AccionLista(lista));
    entorno.persona.Responde(temporal.Ruta() + "/no/existe.csv");
    const std::string error = prueba::TextoDeError([&] { interfaz.AccionLista(lista); });
    EXPECT_NE(error.find("no/existe.csv"), std::string::npos) << error;
}
