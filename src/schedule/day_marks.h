#pragma once

#include <string>
#include <vector>

#include "platform/settings.h"
#include "schedule/day_facts.h"
#include "schedule/entry_store.h"

namespace hinagiku::schedule {

// The two lists of day keys ("3,20": month and day without leading zeros)
// the month calendar colours a month by, in day order, each key once.
struct DayMarks {
    std::vector<std::string> holidays;     // equinox, fixed-date and Happy Monday days
    std::vector<std::string> specialDays;  // days listing an entry of a coloured group
    friend bool operator==(const DayMarks&, const DayMarks&) = default;
};

// [CalendarEx] CanCol_*: which groups colour nothing.
struct MarkSwitches {
    bool all = false;        // CanCol_All: only holidays are marked
    bool birthdays = false;  // CanCol_Born
    bool dated = false;      // CanCol_todo
    bool yearly = false;     // CanCol_Day
    bool monthly = false;    // CanCol_Mon
    bool weekday = false;    // CanCol_Week
};
MarkSwitches readMarkSwitches(const platform::Settings& settings);

// FormActivate's lists for a month, from one listing of the data folder.
DayMarks FormActivate(int year, int month, const platform::Settings& settings);
// The same against a store the caller provides.
DayMarks buildDayMarks(int year, int month, const EntryStore& store,
                       const platform::Settings& settings);

// Whether `date` is a holiday by the equinox, the fixed-date table and the
// Happy Monday rules, leaving out substitute holidays (the grid derives
// those itself).
bool isMarkedHoliday(int date, const DayFacts& facts);

}  // namespace hinagiku::schedule
