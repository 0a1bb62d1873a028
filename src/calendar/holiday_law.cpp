#include "calendar/holiday_law.h"

#include <array>
#include <string_view>
#include <utility>

#include "calendar/holidays.h"

namespace hinagiku {
namespace {

constexpr int kOpen = 9999;  // still in force

using enum LawDayRule;

// The holidays of the Act, line by line as amended: name, years in force,
// date rule. Names change (天皇誕生日, みどりの日, 体育の日), dates move (the
// Happy Monday amendments of 2000 and 2003) and new days join (1966, 1967,
// 1996, 2016), each as a line of its own.
constexpr std::array<LawHoliday, 24> kLawHolidays{{
    {"元日", 1948, kOpen, Fixed, 1, 1},
    {"成人の日", 1948, 1999, Fixed, 1, 15},
    {"成人の日", 2000, kOpen, NthMonday, 1, 2},
    {"建国記念の日", 1967, kOpen, Fixed, 2, 11},
    {"天皇誕生日", 2020, kOpen, Fixed, 2, 23},
    {"春分の日", 1948, kOpen, Vernal, 3, 0},
    {"天皇誕生日", 1948, 1988, Fixed, 4, 29},
    {"みどりの日", 1989, 2006, Fixed, 4, 29},
    {"昭和の日", 2007, kOpen, Fixed, 4, 29},
    {"憲法記念日", 1948, kOpen, Fixed, 5, 3},
    {"みどりの日", 2007, kOpen, Fixed, 5, 4},
    {"こどもの日", 1948, kOpen, Fixed, 5, 5},
    {"海の日", 1996, 2002, Fixed, 7, 20},
    {"海の日", 2003, kOpen, NthMonday, 7, 3},
    {"山の日", 2016, kOpen, Fixed, 8, 11},
    {"敬老の日", 1966, 2002, Fixed, 9, 15},
    {"敬老の日", 2003, kOpen, NthMonday, 9, 3},
    {"秋分の日", 1948, kOpen, Autumnal, 9, 0},
    {"体育の日", 1966, 1999, Fixed, 10, 10},
    {"体育の日", 2000, 2019, NthMonday, 10, 2},
    {"スポーツの日", 2020, kOpen, NthMonday, 10, 2},
    {"文化の日", 1948, kOpen, Fixed, 11, 3},
    {"勤労感謝の日", 1948, kOpen, Fixed, 11, 23},
    {"天皇誕生日", 1989, 2018, Fixed, 12, 23},
}};

// The Olympic moves of 2020 and 2021.
constexpr std::array<MovedLawHoliday, 6> kMovedHolidays{{
    {"海の日", 2020, 7, 23},
    {"スポーツの日", 2020, 7, 24},
    {"山の日", 2020, 8, 10},
    {"海の日", 2021, 7, 22},
    {"スポーツの日", 2021, 7, 23},
    {"山の日", 2021, 8, 8},
}};

// Days off set by laws of their own; those of 2019 count as national
// holidays, which makes 30 April and 2 May 2019 days between holidays.
constexpr std::array<OneOffLawHoliday, 6> kOneOffHolidays{{
    {"皇太子明仁親王の結婚の儀", 1959, 4, 10},
    {"昭和天皇の大喪の礼", 1989, 2, 24},
    {"即位礼正殿の儀", 1990, 11, 12},
    {"皇太子徳仁親王の結婚の儀", 1993, 6, 9},
    {"天皇の即位の日", 2019, 5, 1},
    {"即位礼正殿の儀", 2019, 10, 22},
}};

constexpr int kSunday = 1;
constexpr int kMonday = 2;

// The substitute holiday from 12 April 1973; from 2007 it moves past
// holidays. The day between two holidays from 27 December 1985.
struct LawDates {
    int start = dayNumberOf(kHolidayLawStart);
    int substitute = dayNumberOf({1973, 4, 12});
    int revision2007 = dayNumberOf({2007, 1, 1});
    int between = dayNumberOf({1985, 12, 27});
};

const LawDates& lawDates() {
    static const LawDates dates;
    return dates;
}

bool sameName(const char* a, const char* b) {
    return std::string_view(a) == std::string_view(b);
}

// EquinoxDays of the year, kept for the next call on this thread (callers
// walk the days of a year in order).
std::pair<int, int> equinoxDaysOf(int year) {
    thread_local int cachedYear = 0;
    thread_local std::pair<int, int> cached{};
    if (year != cachedYear) {
        cached = EquinoxDays(year);
        cachedYear = year;
    }
    return cached;
}

bool movedThisYear(const LawHoliday& holiday, int year) {
    for (const auto& moved : kMovedHolidays) {
        if (moved.year == year && sameName(moved.name, holiday.name))
            return true;
    }
    return false;
}

bool ruleFalls(const LawHoliday& holiday, const CivilDate& date, int weekday) {
    switch (holiday.rule) {
        case Fixed:
            return date.day == holiday.day;
        case NthMonday:
            return weekday == kMonday && (date.day - 1) / 7 + 1 == holiday.day;
        case Vernal:
            return date.day == equinoxDaysOf(date.year).first;
        case Autumnal:
            return date.day == equinoxDaysOf(date.year).second;
    }
    return false;
}

const char* nationalHoliday(int day) {
    if (day < lawDates().start)
        return nullptr;
    const CivilDate date = decodeDate(day);
    for (const auto& oneOff : kOneOffHolidays) {
        if (oneOff.year == date.year && oneOff.month == date.month && oneOff.day == date.day)
            return oneOff.name;
    }
    for (const auto& moved : kMovedHolidays) {
        if (moved.year == date.year && moved.month == date.month && moved.day == date.day)
            return moved.name;
    }
    const int weekday = DayOfWeek(day);
    for (const auto& holiday : kLawHolidays) {
        if (holiday.month != date.month || date.year < holiday.firstYear ||
            date.year > holiday.lastYear)
            continue;
        if (ruleFalls(holiday, date, weekday) && !movedThisYear(holiday, date.year))
            return holiday.name;
    }
    return nullptr;
}

bool isNational(int day) {
    return nationalHoliday(day) != nullptr;
}

// The day is itself no national holiday (the caller checked).
bool isSubstitute(int day) {
    if (day < lawDates().substitute)
        return false;
    if (day < lawDates().revision2007)
        return DayOfWeek(day) == kMonday && isNational(day - 1);
    // The first day after a Sunday holiday that is no holiday: back over
    // the holidays before it to a Sunday. A run of holidays is short.
    for (int back = day - 1; back > day - 8; --back) {
        if (!isNational(back))
            return false;
        if (DayOfWeek(back) == kSunday)
            return true;
    }
    return false;
}

// The day is itself no national holiday (the caller checked).
bool isBetween(int day, bool substitute) {
    if (day < lawDates().between || !isNational(day - 1) || !isNational(day + 1))
        return false;
    if (day < lawDates().revision2007)
        return DayOfWeek(day) != kSunday && !substitute;
    return true;
}

std::string bracketed(const char* name) {
    return std::string("【") + name + "】";
}

}  // namespace

const char* nationalHolidayName(const CivilDate& date) {
    const auto day = encodeDate(date);
    return day ? nationalHoliday(*day) : nullptr;
}

std::vector<std::string> lawHolidayNames(int dayNumber) {
    std::vector<std::string> names;
    if (const char* name = nationalHoliday(dayNumber)) {
        names.push_back(bracketed(name));
        return names;
    }
    const bool substitute = isSubstitute(dayNumber);
    if (substitute)
        names.emplace_back("【振替休日】");
    if (isBetween(dayNumber, substitute))
        names.emplace_back("【国民の休日】");
    return names;
}

}  // namespace hinagiku
