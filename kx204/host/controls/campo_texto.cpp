#include "kx204/host/controls/campo_texto.hpp"

#include <algorithm>

#include "kx204/host/runtime_error.hpp"

namespace kx204::host {

namespace {

bool SoloDigitos(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

CampoTexto::CampoTexto(std::string nombre, int grupo, AjustesCampo ajustes)
    : Control(std::move(nombre), grupo), ajustes_(std::move(ajustes)), text_(ajustes_.textoInicial) {}

void CampoTexto::CambiaTexto(const std::string& text) {
    if (text == text_) return;
    text_ = text;
    if (OnChange) OnChange();
}

void CampoTexto::SetText(const std::string& text) {
    CambiaTexto(text);
    MuestraDescripcion();
}

void CampoTexto::Teclea(const std::string& text) {
    std::string typed = SinControles(ajustes_.mayusculas ? Mayusculas(text) : text);
    if (ajustes_.maxLength > 0) typed = PrimerosCaracteres(typed, static_cast<std::size_t>(ajustes_.maxLength));
    CambiaTexto(typed);
    if (resultado_ != nullptr) resultado_->SetText("");
}

Variant CampoTexto::Value() const {
    if (ajustes_.tipodato == TipoDato::Texto) return Variant(text_);
    if (text_.empty()) return ajustes_.tipodato == TipoDato::Moneda ? Variant(Currency()) : Variant(0);
    const Variant text(text_);
    if (ajustes_.tipodato == TipoDato::Moneda) return Variant(text.ToCurrency());
    return Variant(text.ToLong());
}

void CampoTexto::SetValue(const Variant& value) { SetText(Formatea(value)); }

std::string CampoTexto::Formatea(const Variant& value) const {
    if (value.IsNull() || value.IsEmpty()) return ajustes_.tipodato == TipoDato::Texto ? "" : ajustes_.textoInicial;
    switch (ajustes_.tipodato) {
        case TipoDato::Moneda:
            return value.ToCurrency().ToDisplay();
        case TipoDato::Entero:
            return std::to_string(value.ToLong());
        case TipoDato::Texto:
            break;
    }
    return value.ToText();
}

std::string CampoTexto::ConFormatoClave(const std::string& clave) const {
    const bool mascaraDeCeros = SoloDigitos(formatoClave_) && formatoClave_.find_first_not_of('0') == std::string::npos;
    if (!mascaraDeCeros || !SoloDigitos(clave) || clave.size() >= formatoClave_.size()) return clave;
    return std::string(formatoClave_.size() - clave.size(), '0') + clave;
}

std::string CampoTexto::SentenciaBusqueda(const std::string& clave) const {
    std::string sentencia = sql_;
    // The key's mark is the last one: a statement may carry other values before it.
    const auto marca = sentencia.rfind('?');
    if (marca != std::string::npos) sentencia.replace(marca, 1, SqlText(clave));
    return sentencia;
}

bool CampoTexto::MuestraDescripcion() {
    if (sql_.empty() || conexion_ == nullptr) return false;
    std::string descripcion;
    bool encontrado = false;
    if (!text_.empty()) {
        auto rs = conexion_->Execute(SentenciaBusqueda(text_));
        encontrado = !rs->Eof();
        if (encontrado) descripcion = rs->Field(0).ToTextOrEmpty();
        rs->Close();
    }
    if (resultado_ != nullptr) resultado_->SetText(descripcion);
    return encontrado;
}

bool CampoTexto::Confirma() {
    if (!sql_.empty() && conexion_ == nullptr) throw ObjectRequiredError();
    CambiaTexto(ConFormatoClave(text_));
    if (!sql_.empty() && !MuestraDescripcion()) return false;
    if (OnEnter) OnEnter();
    return true;
}

void CampoTexto::Refresca() {
    if (ajustes_.tipodato != TipoDato::Texto && !text_.empty()) {
        try {
            SetText(Formatea(Value()));
        } catch (const RuntimeError&) {
            // Text that is not a number stays as typed.
        }
    }
}

void CampoTexto::Limpia() { SetText(ajustes_.tipodato == TipoDato::Texto ? "" : ajustes_.textoInicial); }

}  // namespace kx204::host
