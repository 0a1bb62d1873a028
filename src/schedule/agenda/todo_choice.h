#pragma once

#include <array>
#include <string>

#include "calendar/date_time.h"
#include "schedule/entry_name.h"

namespace hinagiku::schedule {

// "休日なら": what a yearly or monthly to-do entry does on a day off.
enum class ToDoHoliday { Keep, PreviousDay, NextDay };

// What the schedule editor's controls point at.
struct ToDoChoice {
    ToDoKind kind = ToDoKind::Dated;  // the tab
    CivilDate date{2000, 1, 1};       // always a valid date
    ToDoHoliday holiday = ToDoHoliday::Keep;
    bool saturdayOff = false;                                 // "土曜日は": "休日扱い"
    std::array<bool, 5> weeks{true, true, true, true, true};  // "第１週" .. "第５週"
    bool lastWeek = false;                                    // "最終週"
};

// The controls after a change: "最終週" clears the five week boxes, no box
// at all ticks the five again, "そのまま" resets "土曜日は" to "平日".
void applyToDoRules(ToDoChoice& choice);

// The shift of a yearly or monthly entry (none for the other tabs).
ShiftKind toDoShiftOf(const ToDoChoice& choice);
// The week mask of the week boxes: 32 for the last week.
WeekMask toDoWeekMaskOf(const ToDoChoice& choice);
// The holiday controls for a shift (the reverse of toDoShiftOf).
void setToDoShift(ToDoChoice& choice, ShiftKind shift);
// The week boxes for a week mask (32: the last week alone).
void setToDoWeeks(ToDoChoice& choice, WeekMask mask);

// The entry file's name, the editing area's hint and the copy string.
std::string toDoEditorEntryName(const ToDoChoice& choice);
std::string toDoEditorHint(const ToDoChoice& choice);
std::string toDoCopyString(const ToDoChoice& choice);
// Captions of the four tabs: "yyyy/mm/dd", "mm/dd", "dd", "dddd".
std::array<std::string, 4> toDoTabCaptions(const CivilDate& date);

// The date fields as typed: the year kept within 1 .. 9999, the month
// within 1 .. 12, the day within 1 .. 31, then the day lowered until the
// date exists (31 February becomes 29 or 28).
CivilDate correctedDate(long long year, long long month, long long day);
// The same by the calendar grid's own date library (Julian before the
// reform): 1582-10-05 .. 14 lower to 1582-10-04.
CivilDate correctedGridDate(long long year, long long month, long long day);

// "本日", "N日前" or "N日後" of a date relative to today, counted by the
// calendar grid's days.
std::string jumpCaption(const CivilDate& date, const CivilDate& today);
// "(日)" .. "(土)" of a date by the calendar grid's days.
std::string jumpWeekdayLabel(const CivilDate& date);

}  // namespace hinagiku::schedule
