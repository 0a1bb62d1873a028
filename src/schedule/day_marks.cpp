#include "schedule/day_marks.h"

#include "calendar/format_date.h"
#include "calendar/holidays.h"
#include "schedule/day_facts.h"
#include "schedule/entry_files.h"
#include "schedule/probe_sequence.h"
#include "schedule/snapshot_store.h"

namespace hinagiku::schedule {
namespace {

constexpr const char* kSection = "CalendarEx";

// How many of a Monday's holiday names are substitute holidays: one for a
// table entry on the Sunday before, one for each equinox on that Sunday.
std::size_t substituteCount(int date, const platform::Settings& settings) {
    if (DayOfWeek(date) != 2)
        return 0;
    const CivilDate sunday = decodeDate(date - 1);
    std::size_t count = 0;
    if (!settings.readText(kHolidaySection, holidayKey(sunday.month, sunday.day), "").empty()) {
        ++count;
    }
    const auto [vernal, autumnal] = EquinoxDays(sunday.year);
    if (sunday.month == 3 && sunday.day == vernal)
        ++count;
    if (sunday.month == 9 && sunday.day == autumnal)
        ++count;
    return count;
}

}  // namespace

MarkSwitches readMarkSwitches(const platform::Settings& settings) {
    MarkSwitches switches;
    switches.all = settings.readBool(kSection, "CanCol_All", false);
    switches.birthdays = settings.readBool(kSection, "CanCol_Born", false);
    switches.dated = settings.readBool(kSection, "CanCol_todo", false);
    switches.yearly = settings.readBool(kSection, "CanCol_Day", false);
    switches.monthly = settings.readBool(kSection, "CanCol_Mon", false);
    switches.weekday = settings.readBool(kSection, "CanCol_Week", false);
    return switches;
}

bool isMarkedHoliday(int date, const DayFacts& facts) {
    const std::size_t names = facts.holidayNameCount(date);
    return names > 0 && names > substituteCount(date, facts.settings());
}

DayMarks FormActivate(int year, int month, const platform::Settings& settings) {
    const SnapshotStore store(scheduleFolder(settings));
    return buildDayMarks(year, month, store, settings);
}

DayMarks buildDayMarks(int year, int month, const EntryStore& store,
                       const platform::Settings& settings) {
    DayMarks marks;
    const auto first = encodeDate(year, month, 1);
    if (!first)
        return marks;
    const MarkSwitches switches = readMarkSwitches(settings);
    ToDoProbeOptions options;
    options.stopAtFirstHit = true;
    options.groups = kAllProbes;
    if (switches.birthdays)
        options.groups &= ~kProbeBirthdays;
    if (switches.dated)
        options.groups &= ~kProbeDated;
    if (switches.yearly)
        options.groups &= ~kProbeYearly;
    if (switches.monthly)
        options.groups &= ~kProbeMonthly;
    if (switches.weekday)
        options.groups &= ~kProbeWeekday;

    const DayFacts facts(settings);
    const int days = daysInMonth(year, month);
    for (int d = 0; d < days; ++d) {
        const int date = *first + d;
        const std::string key = FormatDate("m\",\"d", date);
        if (isMarkedHoliday(date, facts))
            marks.holidays.push_back(key);
        if (switches.all)
            continue;
        if (!probeToDoDay(date, store, facts, options).empty())
            marks.specialDays.push_back(key);
    }
    return marks;
}

}  // namespace hinagiku::schedule
