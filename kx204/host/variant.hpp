#pragma once
#include <cstdint>
#include <string>
#include <variant>

#include "kx204/host/currency.hpp"
#include "kx204/host/date.hpp"

namespace kx204::host {

// A value as the ERP's scripting layer holds it, with the conversions the
// screen relies on. Failed conversions raise RuntimeError with VB's numbers.
class Variant {
public:
    enum class Type { Empty, Null, Boolean, Integer, Double, Currency, Date, Text };
    struct NullTag {};
    static constexpr NullTag Null{};

    Variant() = default;
    Variant(NullTag) : value_(NullTag{}) {}
    Variant(bool value) : value_(value) {}
    Variant(int value) : value_(static_cast<std::int64_t>(value)) {}
    Variant(long value) : value_(static_cast<std::int64_t>(value)) {}
    Variant(long long value) : value_(static_cast<std::int64_t>(value)) {}
    Variant(double value) : value_(value) {}
    Variant(host::Currency value) : value_(value) {}
    Variant(host::Date value) : value_(value) {}
    Variant(std::string value) : value_(std::move(value)) {}
    Variant(const char* value) : value_(std::string(value)) {}

    Type type() const;
    bool IsEmpty() const { return type() == Type::Empty; }
    bool IsNull() const { return type() == Type::Null; }

    std::string ToText() const;         // CStr; Null fails
    double ToDouble() const;            // CDbl
    std::int32_t ToLong() const;        // CLng: rounds half to even, Overflow past 32 bits
    std::int16_t ToInteger() const;     // CInt: rounds half to even, Overflow past 16 bits
    bool ToBool() const;                // CBool
    host::Currency ToCurrency() const;  // CCur
    host::Date ToDate() const;          // CDate
    // Text of a field where Null reads as empty, as "" & value does.
    std::string ToTextOrEmpty() const { return IsNull() ? std::string() : ToText(); }

    bool operator==(const Variant& other) const = default;

private:
    std::variant<std::monostate, NullTag, bool, std::int64_t, double, host::Currency, host::Date, std::string> value_;
    friend bool operator==(NullTag, NullTag) { return true; }
};

// Text to number as the screen's locale reads it: thousands separators and a
// currency sign accepted, surrounding blanks ignored. TypeMismatch otherwise.
double ParseNumber(const std::string& text);
// Shortest text that reads back as the same double, at most 15 significant digits.
std::string FormatNumber(double value);

}  // namespace kx204::host
