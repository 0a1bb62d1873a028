#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "calendar/date_time.h"
#include "platform/settings.h"

namespace hinagiku {

// Where the holiday table and its switch live in the settings file.
inline constexpr const char* kHolidaySection = "Horiday";
inline constexpr const char* kHappyMondaySection = "CalendarEx";
inline constexpr const char* kHappyMondayKey = "Happy_Monday";
// Off or absent: the table and its rules alone, as a settings file from the
// old program expects. On: the holiday law as it stands, plus the user's own
// table entries.
inline constexpr const char* kHolidayLawSection = "CalendarEx";
inline constexpr const char* kHolidayLawKey = "Law";

// Names of the public holidays on `date` (its day number counts), in the
// order the day view prints them; empty when the day is no holiday. Reads
// [CalendarEx] Law, the holiday table and [CalendarEx] Happy_Monday from
// `settings` on every call. Under the law the table adds the user's own days
// after the law's names; the eleven default entries are the law's own days
// by older names and add nothing.
std::vector<std::string> HolidayNames(DateTime date, const platform::Settings& settings);
bool IsHoliday(DateTime date, const platform::Settings& settings);

// (day of March, day of September) of the two equinox holidays: the days
// (Japan time) during which the sun's longitude passes 0 and 180 degrees.
std::pair<int, int> EquinoxDays(int year);

// Apparent solar longitude in degrees (0 <= result < 360) at 0:00 Japan time
// of a civil date, from the 1975-based series the equinox rule uses.
double equinoxSolarLongitude(int year, int month, int day);

// The table key of a month and day: "mm/dd".
std::string holidayKey(int month, int day);

// Whether the table entry is one of the eleven the first start writes
// (same key, same name).
bool isDefaultHoliday(std::string_view key, std::string_view name);

// Writes the eleven fixed-date holidays of a new installation into the
// table (the first-start flag is the caller's business).
void writeDefaultHolidays(platform::Settings& settings);

// The holiday table editor of the settings dialog, without its widgets.
struct HolidayEditorState {
    int month = 1;
    int day = 1;
    std::string name;  // what the name field shows
    bool canDelete = false;
    friend bool operator==(const HolidayEditorState&, const HolidayEditorState&) = default;
};

// The month and day the editor's fields settle on: the month kept within 1
// to 12, the day within 1 to 31 and then lowered until it is a date of the
// non-leap year 1971 (so 2/30 becomes 2/28).
std::pair<int, int> clampHolidayEditorDate(int month, int day);
// The fields after the month or day changed.
HolidayEditorState holidayEditorSelect(int month, int day, const platform::Settings& settings);
// "保存": stores the name for the state's date.
HolidayEditorState holidayEditorSave(const HolidayEditorState& state, platform::Settings& settings);
// "削除": clears the table value (the key stays, empty).
HolidayEditorState holidayEditorDelete(const HolidayEditorState& state,
                                       platform::Settings& settings);

}  // namespace hinagiku
