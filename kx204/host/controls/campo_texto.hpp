#pragma once
#include <functional>
#include <string>

#include "kx204/host/connection.hpp"
#include "kx204/host/controls/control.hpp"
#include "kx204/host/texto.hpp"
#include "kx204/host/variant.hpp"

namespace kx204::host {

// Data types and display formats of the in-house text field.
enum class TipoDato { Texto = 0, Entero = 4, Moneda = 6 };
namespace formatos {
constexpr int Ninguno = 0;
constexpr int Entero = 1;       // "0"
constexpr int Importe = 7;      // "$1,234.5000"
constexpr int TipoCambio = 10;  // "$17.2500"
}  // namespace formatos

// Design settings of a text field; fixed once the form is built.
struct AjustesCampo {
    bool esclave = false;
    bool mayusculas = false;
    bool tabonenter = false;
    bool tabonentercancel = false;
    bool tabonentervacio = false;
    int maxLength = 0;  // characters; 0 = no limit
    int formato = formatos::Ninguno;
    TipoDato tipodato = TipoDato::Texto;
    std::string idconsulta;
    std::string transaccion;
    std::string textoInicial;  // what an emptied field shows ("$0.0000", "0")
};

// The in-house text field: plain text, numeric amount or catalog key.
// A key field with a lookup statement accepts only keys its lookup finds.
class CampoTexto : public Control {
public:
    CampoTexto(std::string nombre, int grupo, AjustesCampo ajustes);

    const AjustesCampo& Ajustes() const { return ajustes_; }

    const std::string& Text() const { return text_; }
    // The program assigns text: different text raises Change, as typing does, and
    // a key field looks its key up at once to show the description.
    void SetText(const std::string& text);
    // A person typing: control characters are dropped, upper case and the character limit apply; the key is not
    // valid (no description) until the person confirms it.
    void Teclea(const std::string& text);
    // Numbers for numeric fields, the key text otherwise.
    Variant Value() const;
    void SetValue(const Variant& value);

    bool Locked() const { return locked_; }
    void SetLocked(bool locked) { locked_ = locked; }

    // Where lookups run.
    void SetConexion(Connection* conexion) { conexion_ = conexion; }
    // Lookup statement with '?' standing for the typed key, and its result field.
    const std::string& Sql() const { return sql_; }
    void SetSql(std::string sql) { sql_ = std::move(sql); }
    CampoTexto* ControlResultado() const { return resultado_; }
    void SetControlResultado(CampoTexto* resultado) { resultado_ = resultado; }
    // Condition narrowing the field's catalog search.
    const std::string& Filtro() const { return filtro_; }
    void SetFiltro(std::string filtro) { filtro_ = std::move(filtro); }
    // Key format: a mask of zeros pads numeric keys to its length.
    const std::string& FormatoClave() const { return formatoClave_; }
    void SetFormatoClave(std::string formato) { formatoClave_ = std::move(formato); }

    // The salesman field's switches: typing allowed, and catalog-only entry.
    bool EntradaManual() const { return entradaManual_; }
    void SetEntradaManual(bool on) { entradaManual_ = on; }
    bool SoloCatalogo() const { return soloCatalogo_; }
    void SetSoloCatalogo(bool on) { soloCatalogo_ = on; }
    // Hint that offers the catalog search on F2; emptied where F2 is reserved.
    const std::string& AyudaBusqueda() const { return ayudaBusqueda_; }
    void SetAyudaBusqueda(std::string ayuda) { ayudaBusqueda_ = std::move(ayuda); }

    // A person confirmed the field. With a lookup statement the key is looked up:
    // found, the description is shown and Enter raised; not found, the description
    // is emptied and nothing raised. Answers whether Enter was raised.
    bool Confirma();
    // The lookup statement with the key in place of '?', its quotes doubled.
    std::string SentenciaBusqueda(const std::string& clave) const;
    // Shows the text again as the field formats it.
    void Refresca();

    bool TabStop() const override { return !locked_; }
    void Limpia() override;

    std::function<void()> OnChange;
    std::function<void()> OnEnter;

private:
    void CambiaTexto(const std::string& text);
    // Looks the key up and shows its description; answers whether it was found.
    bool MuestraDescripcion();
    std::string Formatea(const Variant& value) const;
    std::string ConFormatoClave(const std::string& clave) const;

    AjustesCampo ajustes_;
    std::string text_;
    bool locked_ = false;
    Connection* conexion_ = nullptr;
    std::string sql_;
    CampoTexto* resultado_ = nullptr;
    std::string filtro_;
    std::string formatoClave_;
    bool entradaManual_ = true;
    bool soloCatalogo_ = false;
    std::string ayudaBusqueda_ = "F2";
};

}  // namespace kx204::host
