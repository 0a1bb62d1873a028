#pragma once

#include <string>
#include <vector>

#include "calendar/date_time.h"

namespace hinagiku {

// The Act on National Holidays as in force on each date from 1948-07-20 on:
// the holidays it names, the substitute holiday and the day between two
// holidays. Pure computation, no settings.

// How a holiday's date is fixed in a year.
enum class LawDayRule {
    Fixed,      // month and day
    NthMonday,  // the nth Monday of the month
    Vernal,     // the March day of EquinoxDays
    Autumnal,   // the September day of EquinoxDays
};

// One line of the law: the name, the years it is in force (inclusive) and
// its date rule.
struct LawHoliday {
    const char* name;
    int firstYear;
    int lastYear;
    LawDayRule rule;
    int month;
    int day;  // day of the month (Fixed), which Monday (NthMonday), unused otherwise
};

// A holiday moved for one year (the Olympic years): in `year` the holiday
// named `name` falls on month/day instead of its rule's date.
struct MovedLawHoliday {
    const char* name;
    int year;
    int month;
    int day;
};

// A holiday of one date set by a law of its own.
struct OneOffLawHoliday {
    const char* name;
    int year;
    int month;
    int day;
};

// The first day the law is in force.
inline constexpr CivilDate kHolidayLawStart{1948, 7, 20};

// The name (without brackets) of the national holiday the law puts on the
// civil date, or nullptr. Substitute and in-between days are no national
// holidays in this sense.
const char* nationalHolidayName(const CivilDate& date);

// Names of the day under the law, each as "【name】", in the order national
// holiday, "【振替休日】", "【国民の休日】"; empty on other days.
std::vector<std::string> lawHolidayNames(int dayNumber);

}  // namespace hinagiku
