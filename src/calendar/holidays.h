#pragma once

#include <string>
#include <utility>
#include <vector>

#include "calendar/date_time.h"
#include "platform/settings.h"

namespace hinagiku {

// Names of the public holidays on `date` (its day number counts), in the
// order the day view prints them; empty when the day is no holiday. Reads
// the holiday table and [CalendarEx] Happy_Monday from `settings` on every
// call.
std::vector<std::string> HolidayNames(DateTime date, const platform::Settings& settings);
bool IsHoliday(DateTime date, const platform::Settings& settings);

// (day of March, day of September) of the two equinox holidays.
std::pair<int, int> EquinoxDays(int year);

}  // namespace hinagiku
