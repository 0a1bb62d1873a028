#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "calendar/date_time.h"
#include "schedule/day_facts.h"
#include "schedule/entry_decoder.h"
#include "schedule/entry_store.h"

namespace hinagiku::schedule {

// Groups of probes that the calendar marks can switch off one by one.
enum ProbeGroup : unsigned {
    kProbeBirthdays = 1u << 0,  // BORN + mmdd + ".*"
    kProbeDated = 1u << 1,      // the dated entry
    kProbeYearly = 1u << 2,     // every yearly name, shifting ones included
    kProbeMonthly = 1u << 3,    // every monthly name, shifting ones included
    kProbeWeekday = 1u << 4,    // every-week and chosen-weeks weekday entries
    kProbeDaily = 1u << 5,      // daily popups
    kAllProbes = (1u << 6) - 1,
};

// The order of the weekday searches for the 29th to 31st: the day view's,
// or the schedule list's ("~" before "_").
enum class WeekSearchOrder { DayView, ScheduleList };

struct ProbeHit {
    std::string name;  // as on disk
    EntryKind kind;
    ShiftKind shift = ShiftKind::None;
};

struct ToDoProbeOptions {
    WeekSearchOrder order = WeekSearchOrder::DayView;
    unsigned groups = kAllProbes;
    bool stopAtFirstHit = false;  // the marks only ask whether anything is there
};

// The to-do and birthday entries listed on `day`, in the order of the probe
// sequence: birthdays, the dated entry, yearly and monthly entries without
// shift, entries shifting on their own date, entries shifted in from the
// days off next to the day, every-week and chosen-weeks weekday entries.
std::vector<ProbeHit> probeToDoDay(int day, const EntryStore& store, const DayFacts& facts,
                                   const ToDoProbeOptions& options = {});

// The popup entries due at the target time, in loading order: daily, dated,
// yearly, monthly, the four shift marks on their own date, the shifted-in
// ones, weekly and week-of-month entries. The same sequence as the day's,
// with the time in front of every name.
std::vector<ProbeHit> probePopupMinute(DateTime target, const EntryStore& store,
                                       const DayFacts& facts);

// The week class of a day for popup week masks: 1, 2, 4, 8 by the day of
// the month, 32 in the last seven days of the month, 16 from the 29th.
int popupWeekClass(int day);
// Whether a popup week mask fires on `day`: 32 in the last week and on the
// 29th to 31st, any other mask when it holds the day's week class.
bool weekMaskCovers(WeekMask mask, int day);
// Positions 7-8 of a week-of-month popup name as a number; 0 when they are
// not two digits.
WeekMask popupNameWeekMask(std::string_view name);

}  // namespace hinagiku::schedule
