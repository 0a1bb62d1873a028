#include "schedule/day_facts.h"

#include "calendar/format_date.h"
#include "calendar/holidays.h"

namespace hinagiku::schedule {

bool IsDayOff(DateTime date, ShiftKind kind, const platform::Settings& settings) {
    return DayFacts(settings).isDayOff(dayNumber(date), kind);
}

std::size_t DayFacts::holidayNameCount(int day) const {
    const auto it = holidays_.find(day);
    if (it != holidays_.end())
        return it->second;
    const std::size_t count = HolidayNames(day, settings_).size();
    holidays_.emplace(day, count);
    return count;
}

bool DayFacts::isDayOff(int day, ShiftKind kind) const {
    const int weekday = DayOfWeek(day);
    if (weekday == 1)
        return true;
    if (weekday == 7 && saturdayIsDayOff(kind))
        return true;
    return isHoliday(day);
}

const DayFacts::NameParts& DayFacts::parts(int day) const {
    const auto it = parts_.find(day);
    if (it != parts_.end())
        return it->second;
    NameParts parts{FormatDate("mmdd", day), FormatDate("dd", day), FormatDate("yy", day)};
    return parts_.emplace(day, std::move(parts)).first->second;
}

}  // namespace hinagiku::schedule
