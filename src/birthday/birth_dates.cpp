#include "birthday/birth_dates.h"

#include <algorithm>

namespace hinagiku::birthday {
namespace {

bool before(int monthA, int dayA, int monthB, int dayB) {
    return monthA < monthB || (monthA == monthB && dayA < dayB);
}

}  // namespace

CivilDate registerDate(int year, int month, int day) {
    CivilDate d{std::clamp(year, 1, 9999), std::clamp(month, 1, 12), std::max(day, 1)};
    d.day = std::min(d.day, daysInMonth(d.year, d.month));
    return d;
}

int ageOn(const CivilDate& birth, const CivilDate& today) {
    return today.year - birth.year -
           (before(today.month, today.day, birth.month, birth.day) ? 1 : 0);
}

int birthYearForAge(int age, int month, int day, const CivilDate& today) {
    const bool come = !before(today.month, today.day, month, day);
    return today.year - age - (come ? 0 : 1);
}

CivilDate birthdayInYear(int month, int day, int year) {
    if (month == 2 && day == 29 && !isLeapYear(year))
        return {year, 3, 1};
    return {year, month, day};
}

CivilDate nextBirthday(int month, int day, const CivilDate& today) {
    const CivilDate thisYear = birthdayInYear(month, day, today.year);
    if (!before(thisYear.month, thisYear.day, today.month, today.day))
        return thisYear;
    return birthdayInYear(month, day, today.year + 1);
}

int daysUntilNextBirthday(int month, int day, const CivilDate& today) {
    // Arithmetic day numbers: the count also holds past the year 9999.
    return dayNumberOf(nextBirthday(month, day, today)) - dayNumberOf(today);
}

}  // namespace hinagiku::birthday
