#include "calendar/date_time.h"

#include <cmath>

namespace hinagiku {
namespace {

// Days from 0001-01-01 to 1899-12-30.
constexpr int kDelta = 693593;

int daysBeforeYear(int year) {
    const int y = year - 1;
    return y * 365 + y / 4 - y / 100 + y / 400;
}

int daysBeforeMonth(int year, int month) {
    static constexpr int kCumulative[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    return kCumulative[month - 1] + (month > 2 && isLeapYear(year) ? 1 : 0);
}

}  // namespace

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return kDays[month - 1] + (month == 2 && isLeapYear(year) ? 1 : 0);
}

std::optional<int> encodeDate(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > daysInMonth(year, month)) {
        return std::nullopt;
    }
    return dayNumberOf({year, month, day});
}

std::optional<int> encodeDate(const CivilDate& date) {
    return encodeDate(date.year, date.month, date.day);
}

int dayNumberOf(const CivilDate& date) {
    return daysBeforeYear(date.year) + daysBeforeMonth(date.year, date.month) + date.day - 1 -
           kDelta;
}

CivilDate decodeDate(DateTime value) {
    // Days since 0001-01-01, split into 400-, 100-, 4- and 1-year cycles.
    int n = dayNumber(value) + kDelta;
    if (n < 0)
        return {};
    int year = 1;
    year += 400 * (n / 146097);
    n %= 146097;
    int c = n / 36524;
    if (c == 4)
        c = 3;
    year += 100 * c;
    n -= c * 36524;
    year += 4 * (n / 1461);
    n %= 1461;
    int y = n / 365;
    if (y == 4)
        y = 3;
    year += y;
    n -= y * 365;
    int month = 1;
    while (month < 12 && n >= daysInMonth(year, month)) {
        n -= daysInMonth(year, month);
        ++month;
    }
    return {year, month, n + 1};
}

std::optional<double> encodeTime(int hour, int minute, int second, int millisecond) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
        millisecond < 0 || millisecond > 999) {
        return std::nullopt;
    }
    return (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + millisecond) / 86400000.0;
}

ClockTime decodeTime(DateTime value) {
    double fraction = std::fabs(value - std::trunc(value));
    auto ms = static_cast<long long>(std::llround(fraction * 86400000.0));
    if (ms >= 86400000)
        ms = 86399999;
    ClockTime t;
    t.millisecond = static_cast<int>(ms % 1000);
    ms /= 1000;
    t.second = static_cast<int>(ms % 60);
    ms /= 60;
    t.minute = static_cast<int>(ms % 60);
    t.hour = static_cast<int>(ms / 60);
    return t;
}

int dayNumber(DateTime value) {
    return static_cast<int>(std::trunc(value));
}

DateTime makeDateTime(int day, double fraction) {
    return day >= 0 ? day + fraction : day - fraction;
}

double elapsedDays(DateTime value) {
    if (value >= 0.0)
        return value;
    const double whole = std::trunc(value);
    return whole + (whole - value);
}

DateTime fromElapsedDays(double days) {
    const double whole = std::floor(days);
    return makeDateTime(static_cast<int>(whole), days - whole);
}

int DayOfWeek(DateTime value) {
    // 1899-12-30 (day 0) was a Saturday.
    int d = (dayNumber(value) + 6) % 7;
    if (d < 0)
        d += 7;
    return d + 1;
}

}  // namespace hinagiku
