#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/date_time.h"

namespace hinagiku::cycle {

// The day number of a list entry "yyyy/mm/dd" (a real date of the years 1 to
// 9999), or nothing for any other text: such entries stay in the list but
// take no part in the computations.
std::optional<int> entryDay(std::string_view entry);
// "yyyy/mm/dd".
std::string entryText(int day);
// "yyyy/mm/dd (aaa)", as the forecast lists show a date.
std::string forecastText(int day);

// A cycle field's whole number: an optional "-" and digits (no blanks, no
// "+"), within the range of int.
std::optional<int> wholeNumber(std::string_view text);

// The date boxes' rules: year 1900..2500, month 1..12, day 1..31, each
// pulled to its nearest bound, then the day lowered until the date exists.
CivilDate dateBoxes(long long year, long long month, long long day);

struct Averages {
    int common = 28;
    int r = 28;
    int l = 28;
    friend bool operator==(const Averages&, const Averages&) = default;
};

// The averages of the intervals between the recorded days (ascending):
// common over all, R over the intervals of the parity of n (the interval
// the next date would close), L over the others; 28 where there are none.
Averages averagesOf(const std::vector<int>& days);

// The forecasts from the latest day T: T + i*C, and T + ceil(i/2)*R +
// floor(i/2)*L, for i = 1..100. A forecast outside the years 1 to 9999 ends
// its list (fewer than 100 entries).
inline constexpr int kForecastCount = 100;
std::vector<int> commonForecasts(int latest, int cycle);
std::vector<int> alternatingForecasts(int latest, int r, int l);

// The label of day `day` of a forecast cycle from f to g with period length p.
std::string_view dayLabel(int day, int f, int g, int p);
// The detail lines of the cycle from f to g: one per day, date, blank,
// label; none when g < f.
std::vector<std::string> detailLines(int f, int g, int p);

// "N日周期 (previous～date)".
std::string intervalStatus(int previousDay, int day);
inline constexpr std::string_view kNoIntervalStatus = "良い子が授かりますように..";

}  // namespace hinagiku::cycle
