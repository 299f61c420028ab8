#include "kx204/host/date.hpp"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "kx204/host/runtime_error.hpp"

namespace kx204::host {

namespace {

constexpr int kDaysFrom1970To1899 = 25569;  // 1899-12-30 is serial 0

std::chrono::year_month_day Civil(int serialDays) {
    return std::chrono::year_month_day{std::chrono::sys_days{std::chrono::days{serialDays - kDaysFrom1970To1899}}};
}

bool ValidTime(int hour, int minute, int second) {
    return hour >= 0 && hour < 24 && minute >= 0 && minute < 60 && second >= 0 && second < 60;
}

std::optional<Date> Build(int y, int m, int d, int hh, int mm, int ss) {
    const std::chrono::year_month_day ymd{std::chrono::year{y}, std::chrono::month(static_cast<unsigned>(m)),
                                          std::chrono::day(static_cast<unsigned>(d))};
    if (!ymd.ok() || y < 100 || y > 9999 || !ValidTime(hh, mm, ss)) return std::nullopt;
    return Date::FromYmd(y, m, d, hh, mm, ss);
}

}  // namespace

Date Date::FromYmd(int year, int month, int day, int hour, int minute, int second) {
    const std::chrono::sys_days days{std::chrono::year{year} / month / day};
    return Date(static_cast<int>(days.time_since_epoch().count()) + kDaysFrom1970To1899,
                hour * 3600 + minute * 60 + second);
}

Date Date::FromSerial(double serial) {
    if (!std::isfinite(serial) || serial < -657434 || serial >= 2958466) throw OverflowError();
    const double whole = std::floor(serial);
    return Date(static_cast<int>(whole), static_cast<int>(std::lround((serial - whole) * 86400)) % 86400);
}

std::optional<Date> Date::Parse(const std::string& text) {
    int y = 0, m = 0, d = 0, hh = 0, mm = 0, ss = 0, consumed = 0;
    const char* s = text.c_str();
    if (std::sscanf(s, "%4d-%2d-%2d%n", &y, &m, &d, &consumed) == 3) {
        const std::string rest = text.substr(static_cast<std::size_t>(consumed));
        if (rest.empty()) return Build(y, m, d, 0, 0, 0);
        int timeConsumed = 0;
        if ((rest[0] == ' ' || rest[0] == 'T') &&
            std::sscanf(rest.c_str() + 1, "%2d:%2d%n", &hh, &mm, &timeConsumed) == 2) {
            std::string tail = rest.substr(1 + static_cast<std::size_t>(timeConsumed));
            int secConsumed = 0;
            if (!tail.empty() && std::sscanf(tail.c_str(), ":%2d%n", &ss, &secConsumed) == 1)
                tail = tail.substr(static_cast<std::size_t>(secConsumed));
            // Fractions of a second and a zone suffix, as drivers may add, are dropped.
            if (tail.empty() || tail[0] == '.' || tail[0] == '+' || tail[0] == 'Z') return Build(y, m, d, hh, mm, ss);
        }
        return std::nullopt;
    }
    if (std::sscanf(s, "%2d/%2d/%4d%n", &d, &m, &y, &consumed) == 3 && s[consumed] == '\0')
        return Build(y, m, d, 0, 0, 0);
    return std::nullopt;
}

Date Date::Today() {
    // The workstation's own date, in its time zone.
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return FromYmd(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

int Date::Year() const { return static_cast<int>(Civil(days_).year()); }
int Date::Month() const { return static_cast<int>(static_cast<unsigned>(Civil(days_).month())); }
int Date::Day() const { return static_cast<int>(static_cast<unsigned>(Civil(days_).day())); }

Date Date::AddDays(long days) const {
    const long result = days_ + days;
    if (result < -657434 || result >= 2958466) throw OverflowError();
    return Date(static_cast<int>(result), seconds_);
}

std::string Date::ToIso() const {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", Year(), Month(), Day());
    return buffer;
}

std::string Date::ToIsoDateTime() const {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, " %02d:%02d:%02d", Hour(), Minute(), Second());
    return ToIso() + buffer;
}

std::string Date::ToDdMmYyyy() const {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02d-%02d-%04d", Day(), Month(), Year());
    return buffer;
}

}  // namespace kx204::host
