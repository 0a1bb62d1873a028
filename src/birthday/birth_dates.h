#pragma once

#include "calendar/date_time.h"

namespace hinagiku::birthday {

// The register's date boxes: the year kept to 1..9999 and the month to
// 1..12, then the day lowered until the date exists (2/30 becomes 2/29 or
// 2/28; a day below 1 becomes 1).
CivilDate registerDate(int year, int month, int day);

// Whole years on `today`: the year difference, one less while this year's
// (month, day) is still ahead. Only (month, day) pairs are compared, so a
// 29 February birth rises on 1 March in a common year. May be negative.
int ageOn(const CivilDate& birth, const CivilDate& today);

// "設定": the birth year that gives `age` on `today` for a birthday on
// month/day (the birthday counts as come when it is today or earlier).
int birthYearForAge(int age, int month, int day, const CivilDate& today);

// The birthday of year `year` for a birth month and day: 29 February falls
// on 1 March in a common year.
CivilDate birthdayInYear(int month, int day, int year);

// The first birthday from this year on that is today or later.
CivilDate nextBirthday(int month, int day, const CivilDate& today);
// Days from today to it (0 on the day).
int daysUntilNextBirthday(int month, int day, const CivilDate& today);

}  // namespace hinagiku::birthday
