#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "calendar/date_time.h"

namespace hinagiku::schedule {

// How a yearly or monthly entry moves when its date is a day off: to the
// nearest working day before or after it, with a Saturday a working day or a
// day off.
enum class ShiftKind {
    None,
    PreviousDay,             // to-do "~___", popup "-_"
    PreviousDaySaturdayOff,  // to-do "~_~~", popup "-~"
    NextDay,                 // to-do "_~__", popup "~_"
    NextDaySaturdayOff,      // to-do "_~~~", popup "~~"
};

bool shiftsToPreviousDay(ShiftKind kind);
bool shiftsToNextDay(ShiftKind kind);
bool saturdayIsDayOff(ShiftKind kind);

// Positions 1-4 of a yearly or monthly to-do name.
std::string_view toDoShiftPrefix(ShiftKind kind);
// The extension of a yearly or monthly popup name.
std::string_view popupShiftMark(ShiftKind kind);
// The text the editors show for a shift: "(休日:前日)" and so on, empty for none.
std::string_view shiftDescription(ShiftKind kind);
// The reverse mappings; letters are not involved, so the match is exact.
std::optional<ShiftKind> shiftFromToDoPrefix(std::string_view prefix);
std::optional<ShiftKind> shiftFromPopupMark(std::string_view mark);

// Weeks of the month of a weekday entry, as the popup week mask counts them:
// 1, 2, 4, 8, 16 for weeks 1 to 5 (days 1-7, 8-14, 15-21, 22-28, 29-31) and
// 32 for the last seven days of the month. The last week is always alone;
// all five weeks are "every week".
using WeekMask = int;
inline constexpr WeekMask kWeek1 = 1;
inline constexpr WeekMask kWeek5 = 16;
inline constexpr WeekMask kEveryWeek = 31;
inline constexpr WeekMask kLastWeek = 32;
// 1..31 or 32 alone.
bool isValidWeekMask(WeekMask mask);

// "SUN" .. "SAT" for DayOfWeek 1 .. 7; empty outside.
std::string_view weekdayCode(int dayOfWeek);
// 1 .. 7 for a weekday code (any case), 0 when it is none.
int weekdayFromCode(std::string_view code);

enum class ToDoKind { Dated, Yearly, Monthly, Weekday };
enum class PopupKind { Daily, Dated, Yearly, Monthly, Weekday };

// Names of new entries, exactly as every reader probes for them. A dated
// entry ignores the shift; weekday names take the weekday of `date`.
// Throws std::invalid_argument for a week mask that is not valid or a date
// outside the years 1 to 9999.
std::string ToDoEntryName(ToDoKind kind, DateTime date, ShiftKind shift = ShiftKind::None,
                          WeekMask weeks = kEveryWeek);
// "hhnn" comes from the time of day of `time`.
std::string PopupEntryName(DateTime time, PopupKind kind, DateTime date,
                           ShiftKind shift = ShiftKind::None, WeekMask weeks = kEveryWeek);
// Throws std::invalid_argument outside 0 .. 9999999; see roundUptimeSeconds.
std::string UptimeEntryName(int seconds);
std::string BirthdayEntryName(DateTime birthDate);

// The uptime editor's rule: cut down to a multiple of 10, then kept within
// 60 .. 3456000 (40 days).
inline constexpr int kMinUptimeSeconds = 60;
inline constexpr int kMaxUptimeSeconds = 3456000;
int roundUptimeSeconds(long long typedSeconds);

// Two-digit years of dated entries where a full year is needed: 30..99 are
// 1930..1999, 00..29 are 2000..2029.
int fullYearFromTwoDigits(int twoDigitYear);

// The search pattern of all birthday entries of a month and day.
std::string birthdayPattern(DateTime date);

}  // namespace hinagiku::schedule
