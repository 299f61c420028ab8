#pragma once
#include <compare>
#include <cstdint>
#include <string>
#include <vector>

namespace kx204::host {

// Fixed-point money: a 64-bit count of ten-thousandths, as the ERP's currency type.
class Currency {
public:
    static constexpr std::int64_t kScale = 10000;

    constexpr Currency() = default;
    static constexpr Currency FromScaled(std::int64_t scaled) { return Currency(scaled); }
    // Rounds half to even at the fourth decimal; Overflow outside the 64-bit range.
    static Currency FromDouble(double value);
    // Parses "1234.5", "-0.0001", "1,234.50", "$1,234.50"; TypeMismatch otherwise.
    static Currency Parse(const std::string& text);

    constexpr std::int64_t Scaled() const { return scaled_; }
    double ToDouble() const;
    // Shortest decimal form, as VB's CStr gives it: "12.5", "0", "-3.0001".
    std::string ToString() const;
    // Always four decimals with thousands separators and sign: "$1,234.5000".
    std::string ToDisplay() const;

    // this × numerator ÷ denominator, rounded once, half to even; Overflow past the range or over zero.
    Currency MulDiv(Currency numerator, Currency denominator) const;
    // `whole` shared in proportion to `weights`: each part rounded once, the last taking the remainder,
    // so the parts always add up to `whole`. Weights adding up to zero give it all to the last part.
    static std::vector<Currency> Split(Currency whole, const std::vector<Currency>& weights);

    Currency operator+(Currency other) const;
    Currency operator-(Currency other) const;
    Currency operator-() const;
    Currency& operator+=(Currency other) { return *this = *this + other; }
    Currency& operator-=(Currency other) { return *this = *this - other; }
    constexpr auto operator<=>(const Currency&) const = default;

private:
    constexpr explicit Currency(std::int64_t scaled) : scaled_(scaled) {}
    std::int64_t scaled_ = 0;
};

}  // namespace kx204::host
