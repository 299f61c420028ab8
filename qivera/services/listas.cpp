#include "qivera/services/listas.hpp"

#include <algorithm>
#include <set>

#include <QSaveFile>
#include <QString>

#include "kx204/host/runtime_error.hpp"

namespace qivera {

using kx204::host::ColumnaLista;
using kx204::host::ItemLista;
using kx204::host::Lista;
using kx204::host::Variant;

namespace {

constexpr long kErrorArchivo = 75;  // VB's "Path/File access error"

bool EsNumero(const Variant& valor) {
    const Variant::Type tipo = valor.type();
    return tipo == Variant::Type::Integer || tipo == Variant::Type::Double || tipo == Variant::Type::Currency;
}

std::vector<ColumnaLista> Columnas(kx204::host::Recordset& rs) {
    std::vector<ColumnaLista> columnas(static_cast<std::size_t>(rs.FieldCount()));
    for (std::size_t i = 0; i < columnas.size(); ++i) {
        columnas[i].caption = rs.FieldName(static_cast<int>(i));
        if (!rs.Eof() && EsNumero(rs.Field(static_cast<int>(i))))
            columnas[i].alineacion = kx204::host::Alineacion::Derecha;
    }
    return columnas;
}

ItemLista Renglon(kx204::host::Recordset& rs, int campos) {
    ItemLista item;
    item.text = rs.Field(0).ToTextOrEmpty();
    item.sub.reserve(static_cast<std::size_t>(campos - 1));
    for (int i = 1; i < campos; ++i) item.sub.push_back(rs.Field(i).ToTextOrEmpty());
    return item;
}

void ConservaAnchos(std::vector<ColumnaLista>& nuevas, const std::vector<ColumnaLista>& actuales) {
    for (ColumnaLista& nueva : nuevas) {
        auto previa = std::find_if(actuales.begin(), actuales.end(),
                                   [&](const ColumnaLista& columna) { return columna.caption == nueva.caption; });
        if (previa != actuales.end()) nueva.width = previa->width;
    }
}

void AgregaCampoCsv(std::string& texto, const std::string& campo) {
    if (campo.find_first_of(",\"\r\n") == std::string::npos) {
        texto += campo;
        return;
    }
    texto += '"';
    for (char c : campo) {
        if (c == '"') texto += '"';
        texto += c;
    }
    texto += '"';
}

// One CSV line of the columns `visibles`, each field as `campo` gives it for its column.
template <typename Campo>
void AgregaLineaCsv(std::string& texto, const std::vector<int>& visibles, Campo campo) {
    for (std::size_t k = 0; k < visibles.size(); ++k) {
        if (k > 0) texto += ',';
        AgregaCampoCsv(texto, campo(visibles[k]));
    }
    texto += "\r\n";
}

std::vector<std::string> Separa(const std::string& texto, char separador) {
    std::vector<std::string> partes;
    std::size_t inicio = 0;
    for (std::size_t fin; (fin = texto.find(separador, inicio)) != std::string::npos; inicio = fin + 1)
        partes.push_back(texto.substr(inicio, fin - inicio));
    partes.push_back(texto.substr(inicio));
    return partes;
}

}  // namespace

RenglonesLista LeeRenglones(kx204::host::Connection& conexion, const std::string& sentencia) {
    auto rs = conexion.Execute(sentencia);
    RenglonesLista renglones{Columnas(*rs), {}};
    const int campos = rs->FieldCount();
    if (campos > 0)
        for (; !rs->Eof(); rs->MoveNext()) renglones.items.push_back(Renglon(*rs, campos));
    rs->Close();
    return renglones;
}

void AgregaRenglones(Lista& lista, RenglonesLista renglones, bool encabezados) {
    if (encabezados) {
        ConservaAnchos(renglones.columnas, lista.Columnas());
        lista.SetColumnas(std::move(renglones.columnas));
    }
    lista.Agrega(std::move(renglones.items));
}

std::string TextoCsv(const Lista& lista) {
    const auto& columnas = lista.Columnas();
    std::vector<int> visibles;
    for (std::size_t c = 0; c < columnas.size(); ++c)
        if (columnas[c].width > 0) visibles.push_back(static_cast<int>(c));
    std::string texto;
    AgregaLineaCsv(texto, visibles,
                   [&](int c) -> const std::string& { return columnas[static_cast<std::size_t>(c)].caption; });
    for (int i = 0; i < lista.Count(); ++i)
        AgregaLineaCsv(texto, visibles, [&](int c) -> const std::string& { return lista.Texto(i, c); });
    return texto;
}

void GuardaArchivo(const std::string& ruta, const std::string& contenido) {
    QSaveFile archivo(QString::fromStdString(ruta));
    const bool escrito = archivo.open(QIODevice::WriteOnly) &&
                         archivo.write(contenido.data(), static_cast<qint64>(contenido.size())) ==
                             static_cast<qint64>(contenido.size()) &&
                         archivo.commit();
    if (!escrito)
        throw kx204::host::RuntimeError(
            kErrorArchivo, "No se pudo guardar el archivo " + ruta + ": " + archivo.errorString().toStdString());
}

void MuestraColumnas(Lista& lista, const std::string& elegidas) {
    const std::vector<std::string> partes = Separa(elegidas, '|');
    const std::set<std::string> nombradas(partes.begin(), partes.end());
    std::vector<ColumnaLista> columnas = lista.Columnas();
    for (ColumnaLista& columna : columnas) {
        if (!nombradas.contains(columna.caption))
            columna.width = 0;
        else if (columna.width <= 0)
            columna.width = kAnchoColumna;
    }
    lista.SetColumnas(std::move(columnas));
}

std::string EligeRenglon(Persona& persona, const std::string& tipo, const std::vector<std::string>& args,
                         const std::vector<std::string>& opciones, const std::vector<std::string>& descripciones) {
    std::string elegido = persona.Elige(tipo, args, opciones, descripciones);
    const bool listado = std::find(opciones.begin(), opciones.end(), elegido) != opciones.end();
    return listado ? elegido : std::string();
}

}  // namespace qivera
