#pragma once

#include <string>
#include <vector>

namespace hinagiku::mainwindow {

// One line of the grid's holiday or special-day list: "month,day" without
// leading zeros, optionally followed by ",text". Only month and day count.
struct DayListEntry {
    int month = 0;
    int day = 0;
    std::string text;  // what follows the key, without the comma
};
// Nothing sensible (no two numbers) gives month 0, which matches no day.
DayListEntry parseDayListEntry(const std::string& line);

// Kind flags of one day of the displayed month.
struct DayKinds {
    bool sunday = false;
    bool saturday = false;
    bool special = false;
    bool equinox = false;
    bool holiday = false;
    bool substitute = false;
};

// Index order of the grid's day colours.
enum class DayColor {
    Weekday = 0,
    Sunday = 1,
    Saturday = 2,
    Holiday = 3,
    SpecialDay = 4,
    NeighborDay = 5,
};
inline constexpr int kDayColorCount = 6;

struct DayLists {
    std::vector<std::string> typeOfDay;   // holiday keys of the displayed month
    std::vector<std::string> specialDay;  // special-day keys of the displayed month
    bool autoEquinox = true;
};

DayKinds dayKinds(int year, int month, int day, const DayLists& lists);
// The colour a day of the displayed month is painted in.
DayColor dayColor(const DayKinds& kinds);
// Names of the day's kinds, one per line ("\n" between them).
std::string typeOfDayText(int year, int month, int day, const DayLists& lists);

}  // namespace hinagiku::mainwindow
