#pragma once
#include <compare>
#include <optional>
#include <string>

namespace kx204::host {

// A calendar date with an optional time of day, counted as the ERP does:
// whole days since 1899-12-30 plus seconds into the day.
class Date {
public:
    constexpr Date() = default;
    static Date FromYmd(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
    static Date FromSerial(double serial);
    // "YYYY-MM-DD", "YYYY-MM-DD HH:MM[:SS]", "YYYY-MM-DDTHH:MM:SS", "DD/MM/YYYY"; nothing otherwise.
    static std::optional<Date> Parse(const std::string& text);
    static Date Today();

    int Year() const;
    int Month() const;
    int Day() const;
    int Hour() const { return seconds_ / 3600; }
    int Minute() const { return seconds_ / 60 % 60; }
    int Second() const { return seconds_ % 60; }
    int SerialDays() const { return days_; }
    double Serial() const { return days_ + seconds_ / 86400.0; }

    Date AddDays(long days) const;
    std::string ToIso() const;          // YYYY-MM-DD
    std::string ToIsoDateTime() const;  // YYYY-MM-DD HH:MM:SS
    std::string ToDdMmYyyy() const;     // dd-mm-yyyy
    constexpr auto operator<=>(const Date&) const = default;

private:
    constexpr Date(int days, int seconds) : days_(days), seconds_(seconds) {}
    int days_ = 0;
    int seconds_ = 0;
};

}  // namespace kx204::host
