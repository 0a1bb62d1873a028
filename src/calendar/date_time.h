#pragma once

#include <optional>

namespace hinagiku {

// The date-time value: days since 1899-12-30 00:00; the integer part is the
// date, the fraction the time of day (for days before 1899-12-30 the
// fraction still counts forward from midnight, as the stored values expect).
using DateTime = double;

struct CivilDate {
    int year = 0;
    int month = 0;
    int day = 0;
    friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

struct ClockTime {
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    friend bool operator==(const ClockTime&, const ClockTime&) = default;
};

bool isLeapYear(int year);
int daysInMonth(int year, int month);

// Day number of a civil date (proleptic Gregorian, years 1 to 9999), or
// nothing for a date that does not exist.
std::optional<int> encodeDate(int year, int month, int day);
std::optional<int> encodeDate(const CivilDate& date);
// The same without checks: the caller guarantees a valid date.
int dayNumberOf(const CivilDate& date);
CivilDate decodeDate(DateTime value);

// Time of day as a fraction of a day, or nothing for an impossible time.
std::optional<double> encodeTime(int hour, int minute, int second = 0, int millisecond = 0);
ClockTime decodeTime(DateTime value);

// Day number (the date part) of a value.
int dayNumber(DateTime value);
// The value of a day number and a time of day (0 <= fraction < 1). Before
// 1899-12-30 the fraction is subtracted, so that it still counts forward.
DateTime makeDateTime(int day, double fraction);
// Days elapsed since 1899-12-30 00:00 as a continuous count (what sums and
// differences of instants need): -1.25, 1899-12-29 06:00, gives -0.75.
double elapsedDays(DateTime value);
DateTime fromElapsedDays(double days);
// 1 = Sunday .. 7 = Saturday.
int DayOfWeek(DateTime value);

}  // namespace hinagiku
