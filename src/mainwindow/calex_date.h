#pragma once

#include <stdexcept>

namespace hinagiku::mainwindow::calex {

// The calendar grid's own date library. It follows the Julian calendar up to
// 1582-10-04 and the Gregorian calendar from 1582-10-15 on, with one more
// leap day dropped every 4000 years; its equinox days come from its own
// formula and may differ from the holiday table's.

// The days 1582-10-05 to 1582-10-14 never existed.
class EJuliusError : public std::runtime_error {
  public:
    EJuliusError();
};

// Julian day number (2000-01-01 = 2451545). Throws EJuliusError for the
// days of the calendar reform gap.
int dayNumber(int year, int month, int day);
// True for 1582-10-05 to 1582-10-14.
bool inReformGap(int year, int month, int day);

// 1 = Sunday .. 7 = Saturday.
int weekday(int julianDay);
int weekday(int year, int month, int day);

bool isLeapYear(int year);
// Length of the month by the leap rule (October 1582 counts 31 here; the
// gap is the caller's business, see MonthGrid).
int daysInMonth(int year, int month);

// Julian day numbers of the vernal and the autumnal equinox of a year.
int vernalEquinox(int year);
int autumnalEquinox(int year);
bool isEquinox(int year, int month, int day);

}  // namespace hinagiku::mainwindow::calex
