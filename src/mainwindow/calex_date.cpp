#include "mainwindow/calex_date.h"

#include <cmath>

namespace hinagiku::mainwindow::calex {
namespace {

constexpr double kPi = 3.14159265358979323846;

double sind(double degrees) {
    return std::sin(degrees * kPi / 180.0);
}

// Integer division rounding towards zero, like Trunc of the quotient.
int truncDiv(int a, int b) {
    return a / b;
}

bool divisible(int value, int by) {
    return value % by == 0;
}

int julianCalendarDay(int y, int m, int d) {
    // Trunc((Y + 4715) * 365.25) in integers: the product is a multiple of 0.25.
    const long long quarterDays = static_cast<long long>(y + 4715) * 1461;
    int j = static_cast<int>(quarterDays >= 0 ? quarterDays / 4 : -((-quarterDays) / 4));
    j += d + 31 * m - 1127;
    if (m >= 3) {
        const int l = divisible(y + 4712, 4) ? 1 : 0;
        j += l - truncDiv(4 * m + 12, 10) - 1;  // Trunc(0.4 M + 1.2)
    }
    return j;
}

}  // namespace

EJuliusError::EJuliusError() : std::runtime_error("1582/10/5-10/14は存在しません。") {}

bool inReformGap(int year, int month, int day) {
    return year == 1582 && month == 10 && day >= 5 && day <= 14;
}

int dayNumber(int year, int month, int day) {
    const bool gregorian =
        year > 1582 || (year == 1582 && (month > 10 || (month == 10 && day >= 15)));
    if (inReformGap(year, month, day))
        throw EJuliusError();
    int j = julianCalendarDay(year, month, day);
    if (!gregorian)
        return j;
    if (month < 3) {
        j -= 10;
    } else {
        const int a = divisible(year, 400) ? 1 : 0;
        const int b = divisible(year, 100) ? 1 : 0;
        const int d = divisible(year, 4000) ? 1 : 0;
        j += a - b - d - 10;
    }
    j -= truncDiv(truncDiv(year - 1501, 100) * 3, 4);  // Trunc(Trunc((Y-1501)*0.01)*0.75)
    j -= truncDiv(year - 1, 4000);                     // Trunc((Y-1)*0.00025)
    return j;
}

int weekday(int julianDay) {
    int r = (julianDay + 1) % 7;
    if (r < 0)
        r += 7;
    return r + 1;
}

int weekday(int year, int month, int day) {
    return weekday(dayNumber(year, month, day));
}

bool isLeapYear(int year) {
    if (year > 1581) {
        if (divisible(year, 4000))
            return false;
        if (divisible(year, 400))
            return true;
        if (divisible(year, 100))
            return false;
        return divisible(year, 4);
    }
    return divisible(year + 4712, 4);
}

int daysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return kDays[month - 1] + (month == 2 && isLeapYear(year) ? 1 : 0);
}

int vernalEquinox(int year) {
    const double b = year - 2000;
    const double s = 0.002 * (sind(321 - 30.37 * b) + sind(249 + 0.19 * b) +
                              sind(202 - 132.57 * b) + sind(84 - 90.37 * b)) -
                     0.00004871850323926 * b + 0.001 * sind(132 - 134.81 * b) +
                     0.005 * sind(239 - 19.34 * b);
    return static_cast<int>(std::trunc(2451624.683 + 365.24229 * b + (0.0000001 * b * b - s)));
}

int autumnalEquinox(int year) {
    const double b = year - 2000;
    const double s = 0.002 * (sind(485 - 30.37 * b) + sind(249 + 0.19 * b) +
                              sind(268.2 - 132.57 * b) + sind(309.2 - 90.37 * b)) +
                     0.00004871850323926 * b + 0.001 * sind(244.6 - 134.81 * b) +
                     0.005 * sind(248.6 - 19.34 * b);
    return static_cast<int>(std::trunc(2451811.096 + 365.24206 * b + (0.0000001 * b * b - s)));
}

bool isEquinox(int year, int month, int day) {
    const int j = dayNumber(year, month, day);
    return j == vernalEquinox(year) || j == autumnalEquinox(year);
}

}  // namespace hinagiku::mainwindow::calex
