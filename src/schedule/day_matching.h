#pragma once

#include <optional>
#include <string>
#include <vector>

#include "calendar/date_time.h"
#include "platform/settings.h"
#include "schedule/day_facts.h"
#include "schedule/entry_decoder.h"
#include "schedule/entry_store.h"
#include "schedule/probe_sequence.h"

namespace hinagiku::schedule {

// One entry listed on a day.
struct DayMatch {
    std::string path;                        // full path of the entry file
    std::string name;                        // file name as on disk
    EntryFamily family = EntryFamily::ToDo;  // ToDo or Birthday
    EntryKind kind = EntryKind::Dated;
    ShiftKind shift = ShiftKind::None;
    std::optional<int> birthYear;  // birthdays whose extension is a four-digit year
};

// The to-do and birthday entries of `date`, in the order of the probe
// sequence. Reads the data folder of `settings` afresh (one listing).
std::vector<DayMatch> EntriesForDay(DateTime date, const platform::Settings& settings);

// The same against a store and day facts that the caller keeps for a whole
// rebuild (the schedule list's range asks with WeekSearchOrder::ScheduleList).
std::vector<DayMatch> EntriesForDay(DateTime date, const EntryStore& store, const DayFacts& facts,
                                    WeekSearchOrder order = WeekSearchOrder::DayView);

}  // namespace hinagiku::schedule
