#pragma once

#include <string>
#include <string_view>

#include "schedule/entry_name.h"

namespace hinagiku::schedule {

enum class EntryFamily { ToDo, Popup, Uptime, Birthday };
enum class EntryKind { Dated, Yearly, Monthly, Weekday, Daily, Uptime, Birthday };

// "todo", "popup", "uptime", "birthday".
std::string_view familyWord(EntryFamily family);
// "dated", "yearly", "monthly", "weekday", "daily", "uptime", "birthday".
std::string_view kindWord(EntryKind kind);

// What a name says, read the way the management window reads it. Any name
// decodes to something: fields that its characters do not give are left at
// their "unknown" values.
struct DecodedEntry {
    EntryFamily family = EntryFamily::Popup;
    EntryKind kind = EntryKind::Yearly;
    ShiftKind shift = ShiftKind::None;  // yearly and monthly entries
    int weekday = 0;                    // weekday entries: 1 (Sunday) .. 7, 0 unknown code
    bool everyWeek = false;             // weekday entries
    WeekMask weeks = 0;                 // weekday entries: the chosen weeks as a popup mask
    int year = 0;   // dated: 1930..2029 from "yy"; birthday: the four-digit year; 0 unknown
    int month = 0;  // 0 when the characters are no number
    int day = 0;
    int hour = -1;  // popups
    int minute = -1;
    int seconds = -1;  // uptime entries; -1 when positions 2-8 are no number
};

// In the order of the code: "BORN" birthday, "W" uptime, "_"/"~" with a
// three-character extension weekday to-do, a to-do shift prefix to-do,
// everything else popup.
DecodedEntry decodeEntryName(std::string_view name);

// The management window's one-line description of an entry, built from the
// characters of the name ("Popup : 毎日 07時30分"). Birthday entries, which
// that window never lists, give "Birth : " + the birth date.
std::string describeEntry(std::string_view name);

}  // namespace hinagiku::schedule
