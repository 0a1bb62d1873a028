#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hinagiku::tools {

// A date-time to the second as the calculator's fields hold it.
struct DateTimeFields {
    int year = 1;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    friend bool operator==(const DateTimeFields&, const DateTimeFields&) = default;
};

// The offset of the count mode.
struct DayOffset {
    std::int64_t days = 0;
    std::int64_t hours = 0;
    std::int64_t minutes = 0;
    std::int64_t seconds = 0;
};

// The offset fields' bounds.
inline constexpr std::int64_t kMaxOffsetDays = 9999999;
inline constexpr std::int64_t kMaxOffsetPart = 99999;

inline constexpr std::string_view kDayCalcFailure =
    "計算できませんでした。\r他の値で計算してください。";

// Seconds since 0001-01-01 00:00:00 in the proleptic Gregorian calendar, or
// nothing when the fields do not form a date-time of years 1 to 9999.
std::optional<std::int64_t> secondsOf(const DateTimeFields& fields);
// The inverse; nothing outside years 1 to 9999.
std::optional<DateTimeFields> fieldsOf(std::int64_t seconds);

// The day the fields step down to while the date does not exist (31
// February becomes 28 or 29 February); the day is at least 1.
int validDay(int year, int month, int day);

// "yyyy/mm/dd (aaa) HH:MM:SS" with the one-character Japanese weekday.
std::string formatDayCalcDateTime(const DateTimeFields& fields);
// "###,###,##0": groups of three digits with commas, at least one digit.
std::string groupDigits(std::int64_t value);

// The result lines of one calculation; `failed` when it ended with the
// failure message (the lines before it stay).
struct DayCalcResult {
    std::vector<std::string> lines;
    bool failed = false;
};

// The span between two date-times (exchanged when `to` is earlier).
DayCalcResult calculatePeriod(const DateTimeFields& from, const DateTimeFields& to);
// The date-time `offset` after (or before) `from`.
DayCalcResult calculateCount(const DateTimeFields& from, bool after, const DayOffset& offset);

}  // namespace hinagiku::tools
