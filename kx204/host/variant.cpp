#include "kx204/host/variant.hpp"

#include <charconv>
#include <cmath>

#include "kx204/host/runtime_error.hpp"

namespace kx204::host {

namespace {

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::int64_t RoundHalfEven(double value, double low, double high) {
    if (!std::isfinite(value)) throw OverflowError();
    const double rounded = std::nearbyint(value);
    if (rounded < low || rounded > high) throw OverflowError();
    return static_cast<std::int64_t>(rounded);
}

}  // namespace

double ParseNumber(const std::string& text) {
    std::string cleaned;
    for (char c : Trimmed(text))
        if (c != ',' && c != '$') cleaned += c;
    if (!cleaned.empty() && cleaned[0] == '+') cleaned.erase(0, 1);
    double value = 0;
    // from_chars reads the point as the decimal separator whatever the process locale.
    const auto [fin, error] = std::from_chars(cleaned.data(), cleaned.data() + cleaned.size(), value);
    if (cleaned.empty() || error == std::errc::invalid_argument || fin != cleaned.data() + cleaned.size())
        throw TypeMismatchError();
    if (error == std::errc::result_out_of_range || !std::isfinite(value)) throw OverflowError();
    return value;
}

std::string FormatNumber(double value) {
    if (value == 0) return "0";
    // Fifteen significant digits, as the scripting layer prints a double, in plain digits.
    char buffer[400];
    auto fin = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15).ptr;
    std::string text(buffer, fin);
    if (text.find('e') == std::string::npos) return text;
    double redondeado = 0;
    std::from_chars(text.data(), text.data() + text.size(), redondeado);
    fin = std::to_chars(buffer, buffer + sizeof buffer, redondeado, std::chars_format::fixed).ptr;
    return std::string(buffer, fin);
}

Variant::Type Variant::type() const { return static_cast<Type>(value_.index()); }

std::string Variant::ToText() const {
    switch (type()) {
        case Type::Empty:
            return {};
        case Type::Null:
            throw InvalidUseOfNullError();
        case Type::Boolean:
            return std::get<bool>(value_) ? "True" : "False";
        case Type::Integer:
            return std::to_string(std::get<std::int64_t>(value_));
        case Type::Double:
            return FormatNumber(std::get<double>(value_));
        case Type::Currency:
            return std::get<host::Currency>(value_).ToString();
        case Type::Date: {
            const host::Date& date = std::get<host::Date>(value_);
            return date.Hour() || date.Minute() || date.Second() ? date.ToIsoDateTime() : date.ToIso();
        }
        case Type::Text:
            return std::get<std::string>(value_);
    }
    return {};
}

double Variant::ToDouble() const {
    switch (type()) {
        case Type::Empty:
            return 0;
        case Type::Null:
            throw InvalidUseOfNullError();
        case Type::Boolean:
            return std::get<bool>(value_) ? -1 : 0;
        case Type::Integer:
            return static_cast<double>(std::get<std::int64_t>(value_));
        case Type::Double:
            return std::get<double>(value_);
        case Type::Currency:
            return std::get<host::Currency>(value_).ToDouble();
        case Type::Date:
            return std::get<host::Date>(value_).Serial();
        case Type::Text:
            return ParseNumber(std::get<std::string>(value_));
    }
    return 0;
}

std::int32_t Variant::ToLong() const {
    return static_cast<std::int32_t>(RoundHalfEven(ToDouble(), -2147483648.0, 2147483647.0));
}

std::int16_t Variant::ToInteger() const {
    return static_cast<std::int16_t>(RoundHalfEven(ToDouble(), -32768.0, 32767.0));
}

bool Variant::ToBool() const {
    if (type() == Type::Text) {
        const std::string text = Trimmed(std::get<std::string>(value_));
        if (text == "True" || text == "true" || text == "TRUE") return true;
        if (text == "False" || text == "false" || text == "FALSE") return false;
    }
    if (type() == Type::Boolean) return std::get<bool>(value_);
    return ToDouble() != 0;
}

host::Currency Variant::ToCurrency() const {
    switch (type()) {
        case Type::Currency:
            return std::get<host::Currency>(value_);
        case Type::Integer:
            return host::Currency::FromDouble(static_cast<double>(std::get<std::int64_t>(value_)));
        case Type::Text:
            return host::Currency::Parse(std::get<std::string>(value_));
        default:
            return host::Currency::FromDouble(ToDouble());
    }
}

host::Date Variant::ToDate() const {
    switch (type()) {
        case Type::Null:
            throw InvalidUseOfNullError();
        case Type::Date:
            return std::get<host::Date>(value_);
        case Type::Text: {
            if (auto date = host::Date::Parse(Trimmed(std::get<std::string>(value_)))) return *date;
            throw TypeMismatchError();
        }
        case Type::Empty:
            return host::Date();
        default:
            return host::Date::FromSerial(ToDouble());
    }
}

}  // namespace kx204::host
