#include "kx204/host/currency.hpp"

#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

#include "kx204/host/runtime_error.hpp"
#include "kx204/host/variant.hpp"

namespace kx204::host {

namespace {

std::int64_t Checked(bool overflowed, std::int64_t value) {
    if (overflowed) throw OverflowError();
    return value;
}

// Half to even on the digits past the fourth decimal: `first` is the fifth
// decimal digit, `restNonZero` whether any later digit is not zero.
bool RoundsUp(int first, bool restNonZero, std::int64_t kept) {
    if (first != 5) return first > 5;
    return restNonZero || kept % 2 != 0;
}

std::string ConSeparadorMiles(const std::string& digits) {
    std::string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) text += ',';
        text += digits[i];
    }
    return text;
}

// An unsigned 128-bit product as two halves: an exact a × b ÷ c in standard C++.
struct Wide {
    std::uint64_t high, low;
};

std::uint64_t Magnitude(std::int64_t value) {
    return value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
}

Wide Multiply(std::uint64_t a, std::uint64_t b) {
    constexpr std::uint64_t kHalf = 0xFFFFFFFFu;
    const std::uint64_t lowLow = (a & kHalf) * (b & kHalf), lowHigh = (a & kHalf) * (b >> 32);
    const std::uint64_t highLow = (a >> 32) * (b & kHalf), highHigh = (a >> 32) * (b >> 32);
    const std::uint64_t middle = (lowLow >> 32) + (lowHigh & kHalf) + (highLow & kHalf);
    return {highHigh + (lowHigh >> 32) + (highLow >> 32) + (middle >> 32), (middle << 32) | (lowLow & kHalf)};
}

// Quotient and remainder by long division; Overflow when the quotient needs more than 64 bits.
std::pair<std::uint64_t, std::uint64_t> Divide(Wide dividend, std::uint64_t divisor) {
    if (dividend.high >= divisor) throw OverflowError();
    std::uint64_t remainder = dividend.high, quotient = 0;
    for (int bit = 63; bit >= 0; --bit) {
        const bool carry = (remainder >> 63) != 0;  // the shifted remainder passes 64 bits, so exceeds the divisor
        remainder = (remainder << 1) | ((dividend.low >> bit) & 1);
        quotient <<= 1;
        if (carry || remainder >= divisor) {
            remainder -= divisor;
            quotient |= 1;
        }
    }
    return {quotient, remainder};
}

}  // namespace

Currency Currency::FromDouble(double value) {
    if (!std::isfinite(value) || std::fabs(value) >= 9.2233720368547e14) throw OverflowError();
    // Through the value's 15-digit decimal form, so that 0.00015 rounds as written.
    return Parse(FormatNumber(value));
}

Currency Currency::Parse(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    if (i < text.size() && text[i] == '$') ++i;
    if (i < text.size() && text[i] == '-' && !negative) negative = text[i++] == '-';
    std::int64_t whole = 0, fraction = 0;
    int fractionDigits = 0, fifthDigit = 0;
    bool anyDigit = false, inFraction = false, restNonZero = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == ',' && !inFraction) continue;
        if (c == '.' && !inFraction) {
            inFraction = true;
            continue;
        }
        if (c < '0' || c > '9') break;
        anyDigit = true;
        if (!inFraction) {
            if (whole > (std::numeric_limits<std::int64_t>::max() / kScale - 9) / 10) throw OverflowError();
            whole = whole * 10 + (c - '0');
        } else if (fractionDigits < 4) {
            fraction = fraction * 10 + (c - '0');
            ++fractionDigits;
        } else if (fractionDigits == 4) {
            fifthDigit = c - '0';
            ++fractionDigits;
        } else {
            restNonZero = restNonZero || c != '0';
        }
    }
    while (i < text.size() && text[i] == ' ') ++i;
    if (!anyDigit || i != text.size()) throw TypeMismatchError();
    for (int d = fractionDigits; d < 4; ++d) fraction *= 10;
    std::int64_t scaled = whole * kScale + fraction;
    if (RoundsUp(fifthDigit, restNonZero, scaled)) ++scaled;
    return Currency(negative ? -scaled : scaled);
}

double Currency::ToDouble() const { return static_cast<double>(scaled_) / kScale; }

std::string Currency::ToString() const {
    const bool negative = scaled_ < 0;
    const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(scaled_) : scaled_;
    std::string text = std::to_string(magnitude / kScale);
    std::uint64_t fraction = magnitude % kScale;
    if (fraction != 0) {
        std::string digits = std::to_string(fraction + kScale).substr(1);
        while (digits.back() == '0') digits.pop_back();
        text += "." + digits;
    }
    return negative ? "-" + text : text;
}

std::string Currency::ToDisplay() const {
    const bool negative = scaled_ < 0;
    const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(scaled_) : scaled_;
    const std::string fraction = std::to_string(magnitude % kScale + kScale).substr(1);
    return (negative ? "-$" : "$") + ConSeparadorMiles(std::to_string(magnitude / kScale)) + "." + fraction;
}

Currency Currency::MulDiv(Currency numerator, Currency denominator) const {
    if (denominator.scaled_ == 0) throw OverflowError();
    const bool negative = ((scaled_ < 0) != (numerator.scaled_ < 0)) != (denominator.scaled_ < 0);
    const std::uint64_t divisor = Magnitude(denominator.scaled_);
    const auto [quotient, remainder] = Divide(Multiply(Magnitude(scaled_), Magnitude(numerator.scaled_)), divisor);
    // Half to even: the remainder against what is left to the divisor, which cannot overflow.
    const bool up = remainder > divisor - remainder || (remainder == divisor - remainder && quotient % 2 != 0);
    const std::uint64_t magnitude = quotient + (up ? 1 : 0);
    const std::uint64_t limit =
        static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + (negative ? 1 : 0);
    if (magnitude < quotient || magnitude > limit) throw OverflowError();
    return Currency(negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude));
}

std::vector<Currency> Currency::Split(Currency whole, const std::vector<Currency>& weights) {
    std::vector<Currency> parts(weights.size());
    if (parts.empty()) return parts;
    Currency total, given;
    for (Currency weight : weights) total += weight;
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        parts[i] = total == Currency() ? Currency() : whole.MulDiv(weights[i], total);
        given += parts[i];
    }
    parts.back() = whole - given;
    return parts;
}

Currency Currency::operator+(Currency other) const {
    std::int64_t result = 0;
    const bool overflowed = __builtin_add_overflow(scaled_, other.scaled_, &result);
    return Currency(Checked(overflowed, result));
}

Currency Currency::operator-(Currency other) const {
    std::int64_t result = 0;
    const bool overflowed = __builtin_sub_overflow(scaled_, other.scaled_, &result);
    return Currency(Checked(overflowed, result));
}

Currency Currency::operator-() const { return Currency() - *this; }

}  // namespace kx204::host
