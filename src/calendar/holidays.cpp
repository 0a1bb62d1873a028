#include "calendar/holidays.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <tuple>
#include <utility>

#include "calendar/holiday_law.h"

namespace hinagiku {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr const char* kEmptyName = "【】";

double sinDeg(double degrees) {
    return std::sin(degrees * kPi / 180.0);
}

struct LongitudeTerm {
    double a, b, c;
};

// Periodic terms of the 1975-based solar longitude series.
constexpr std::array<LongitudeTerm, 18> kTerms{{
    {0.0200, 353.06, 719.981},
    {-0.0048, 248.64, -19.341},
    {0.0020, 285.0, 329.64},
    {0.0018, 334.2, -4452.67},
    {0.0018, 293.7, -0.20},
    {0.0015, 242.4, 450.37},
    {0.0013, 211.1, 225.18},
    {0.0008, 208.0, 659.29},
    {0.0007, 53.5, 90.38},
    {0.0007, 12.1, -30.35},
    {0.0006, 239.1, 337.18},
    {0.0005, 10.1, -1.50},
    {0.0005, 99.1, -22.81},
    {0.0004, 264.8, 315.56},
    {0.0004, 233.8, 299.30},
    {-0.0004, 198.1, 720.02},
    {0.0003, 349.6, 1079.97},
    {0.0003, 241.2, -44.43},
}};

// Day 1 is 1975-01-01. Counted on the real calendar, which agrees with the
// series' own day-count formula from 1901 to 2099 and stays right outside.
const int kDayBefore1975 = dayNumberOf({1975, 1, 1}) - 1;

struct DefaultHoliday {
    const char* key;
    const char* name;
};

constexpr std::array<DefaultHoliday, 11> kDefaultHolidays{{
    {"01/01", "【元旦】"},
    {"02/11", "【建国記念の日】"},
    {"04/29", "【みどりの日】"},
    {"05/03", "【憲法記念日】"},
    {"05/04", "【国民の休日】"},
    {"05/05", "【こどもの日】"},
    {"07/20", "【海の日】"},
    {"09/15", "【敬老の日】"},
    {"11/03", "【文化の日】"},
    {"11/23", "【勤労感謝の日】"},
    {"12/23", "【天皇誕生日】"},
}};

std::string tableValue(const platform::Settings& settings, int month, int day) {
    return settings.readText(kHolidaySection, holidayKey(month, day), "");
}

// The day of `month` within [first, last] during which the longitude passes
// `crossing` (0 or 180 degrees). Outside the years the series serves well
// the crossing may fall beyond the window; the nearer end is taken then.
int crossingDay(int year, int month, int first, int last, double crossing) {
    auto passed = [&](int day) {
        const double lambda = equinoxSolarLongitude(year, month, day);
        // Distance past the crossing, folded into -180..180.
        double delta = lambda - crossing;
        if (delta >= 180.0)
            delta -= 360.0;
        if (delta < -180.0)
            delta += 360.0;
        return delta >= 0.0;
    };
    if (passed(first))
        return first;
    for (int day = first; day < last; ++day) {
        if (passed(day + 1))
            return day;
    }
    return last;
}

}  // namespace

double equinoxSolarLongitude(int year, int month, int day) {
    const int n = dayNumberOf({year, month, day}) - kDayBefore1975;
    const double t = (n - 0.375) / 365.25;
    double lambda =
        279.0358 + 360.00769 * t + (1.9159 - 0.00005 * t) * sinDeg(356.531 + 359.991 * t);
    for (const auto& term : kTerms)
        lambda += term.a * sinDeg(term.b + term.c * t);
    lambda = std::fmod(lambda, 360.0);
    if (lambda < 0.0)
        lambda += 360.0;
    return lambda;
}

std::pair<int, int> EquinoxDays(int year) {
    return {crossingDay(year, 3, 19, 22, 0.0), crossingDay(year, 9, 21, 24, 180.0)};
}

std::string holidayKey(int month, int day) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d/%02d", month, day);
    return buffer;
}

bool isDefaultHoliday(std::string_view key, std::string_view name) {
    for (const auto& holiday : kDefaultHolidays) {
        if (key == holiday.key && name == holiday.name)
            return true;
    }
    return false;
}

namespace {

std::vector<std::string> namesUnderTheLaw(int day, const platform::Settings& settings) {
    std::vector<std::string> names = lawHolidayNames(day);
    const CivilDate civil = decodeDate(day);
    const std::string key = holidayKey(civil.month, civil.day);
    std::string own = settings.readText(kHolidaySection, key, "");
    if (own.empty() || isDefaultHoliday(key, own))
        return names;
    for (const auto& name : names) {
        if (name == own)
            return names;
    }
    names.push_back(std::move(own));
    return names;
}

}  // namespace

std::vector<std::string> HolidayNames(DateTime date, const platform::Settings& settings) {
    const int day = dayNumber(date);
    if (settings.readBool(kHolidayLawSection, kHolidayLawKey, false))
        return namesUnderTheLaw(day, settings);
    std::vector<std::string> names;
    const CivilDate civil = decodeDate(day);
    const int weekday = DayOfWeek(day);
    const bool happyMonday = settings.readBool(kHappyMondaySection, kHappyMondayKey, true);
    const bool monday = weekday == 2;

    const auto [vernal, autumnal] = EquinoxDays(civil.year);
    if (civil.month == 3 && civil.day == vernal)
        names.emplace_back("【春分の日】");
    if (civil.month == 9 && civil.day == autumnal)
        names.emplace_back("【秋分の日】");

    const std::string own = tableValue(settings, civil.month, civil.day);
    if (!happyMonday) {
        if (!own.empty())
            names.push_back(own);
    } else {
        const bool movedDate =
            (civil.month == 1 && civil.day == 15) || (civil.month == 10 && civil.day == 10) ||
            (civil.month == 7 && civil.day == 20) || (civil.month == 9 && civil.day == 15);
        if (!movedDate && !own.empty())
            names.push_back(own);
        const bool secondWeek = civil.day >= 8 && civil.day <= 14;
        const bool thirdWeek = civil.day >= 15 && civil.day <= 21;
        if (monday && civil.month == 1 && secondWeek)
            names.emplace_back("【成人の日】");
        if (monday && civil.month == 10 && secondWeek)
            names.emplace_back("【体育の日】");
        if (civil.year < 2003) {
            const bool fixedStill =
                (civil.month == 7 && civil.day == 20) || (civil.month == 9 && civil.day == 15);
            if (fixedStill && !own.empty())
                names.push_back(own);
        } else {
            if (monday && civil.month == 7 && thirdWeek)
                names.emplace_back("【海の日】");
            if (monday && civil.month == 9 && thirdWeek)
                names.emplace_back("【敬老の日】");
        }
    }

    if (monday) {
        const CivilDate sunday = decodeDate(day - 1);
        if (!tableValue(settings, sunday.month, sunday.day).empty()) {
            names.emplace_back("【振替休日】");
        }
        const auto [sundayVernal, sundayAutumnal] =
            sunday.year == civil.year ? std::pair{vernal, autumnal} : EquinoxDays(sunday.year);
        if (sunday.month == 3 && sunday.day == sundayVernal)
            names.emplace_back("【振替休日】");
        if (sunday.month == 9 && sunday.day == sundayAutumnal)
            names.emplace_back("【振替休日】");
    }
    return names;
}

bool IsHoliday(DateTime date, const platform::Settings& settings) {
    return !HolidayNames(date, settings).empty();
}

void writeDefaultHolidays(platform::Settings& settings) {
    for (const auto& holiday : kDefaultHolidays) {
        settings.writeText(kHolidaySection, holiday.key, holiday.name);
    }
}

std::pair<int, int> clampHolidayEditorDate(int month, int day) {
    if (month > 12)
        month = 12;
    if (month < 1)
        month = 1;
    if (day > 31)
        day = 31;
    if (day < 1)
        day = 1;
    while (day > daysInMonth(1971, month))
        --day;
    return {month, day};
}

HolidayEditorState holidayEditorSelect(int month, int day, const platform::Settings& settings) {
    HolidayEditorState state;
    std::tie(state.month, state.day) = clampHolidayEditorDate(month, day);
    state.name = tableValue(settings, state.month, state.day);
    state.canDelete = !state.name.empty();
    if (state.name.empty())
        state.name = kEmptyName;
    return state;
}

HolidayEditorState holidayEditorSave(const HolidayEditorState& state,
                                     platform::Settings& settings) {
    HolidayEditorState next = state;
    settings.writeText(kHolidaySection, holidayKey(state.month, state.day), state.name);
    next.canDelete = true;
    return next;
}

HolidayEditorState holidayEditorDelete(const HolidayEditorState& state,
                                       platform::Settings& settings) {
    HolidayEditorState next = state;
    settings.writeText(kHolidaySection, holidayKey(state.month, state.day), "");
    next.canDelete = false;
    next.name = kEmptyName;
    return next;
}

}  // namespace hinagiku
