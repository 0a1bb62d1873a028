#include "tools/day_calculation.h"

#include <array>
#include <utility>

#include "calendar/date_time.h"

namespace hinagiku::tools {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

// Day numbers (days since 1899-12-30) of the first and last days the
// calculator accepts.
int firstDayNumber() {
    return dayNumberOf({1, 1, 1});
}

std::string twoDigits(int value) {
    std::string text = std::to_string(value);
    return text.size() < 2 ? "0" + text : text;
}

std::string fourDigits(int value) {
    std::string text = std::to_string(value);
    while (text.size() < 4)
        text.insert(text.begin(), '0');
    return text;
}

}  // namespace

std::optional<std::int64_t> secondsOf(const DateTimeFields& f) {
    const std::optional<int> day = encodeDate(f.year, f.month, f.day);
    if (!day || f.hour < 0 || f.hour > 23 || f.minute < 0 || f.minute > 59 || f.second < 0 ||
        f.second > 59) {
        return std::nullopt;
    }
    const std::int64_t days = static_cast<std::int64_t>(*day) - firstDayNumber();
    return days * kSecondsPerDay + f.hour * 3600 + f.minute * 60 + f.second;
}

std::optional<DateTimeFields> fieldsOf(std::int64_t seconds) {
    static const std::int64_t last = *secondsOf({9999, 12, 31, 23, 59, 59});
    if (seconds < 0 || seconds > last)
        return std::nullopt;
    const auto dayNumber = static_cast<int>(seconds / kSecondsPerDay) + firstDayNumber();
    const auto timeOfDay = static_cast<int>(seconds % kSecondsPerDay);
    const CivilDate date = decodeDate(static_cast<DateTime>(dayNumber));
    return DateTimeFields{date.year,        date.month,          date.day,
                          timeOfDay / 3600, timeOfDay / 60 % 60, timeOfDay % 60};
}

int validDay(int year, int month, int day) {
    while (day > 1 && !encodeDate(year, month, day))
        --day;
    return day < 1 ? 1 : day;
}

std::string formatDayCalcDateTime(const DateTimeFields& f) {
    static constexpr std::array<std::string_view, 7> kWeekdays{"日", "月", "火", "水",
                                                               "木", "金", "土"};
    const int weekday = DayOfWeek(static_cast<DateTime>(dayNumberOf({f.year, f.month, f.day})));
    std::string text = fourDigits(f.year) + "/" + twoDigits(f.month) + "/" + twoDigits(f.day) +
                       " (" + std::string(kWeekdays[weekday - 1]) + ") ";
    text += twoDigits(f.hour) + ":" + twoDigits(f.minute) + ":" + twoDigits(f.second);
    return text;
}

std::string groupDigits(std::int64_t value) {
    const bool negative = value < 0;
    std::string digits = std::to_string(negative ? -value : value);
    std::string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i != 0 && (digits.size() - i) % 3 == 0)
            text.push_back(',');
        text.push_back(digits[i]);
    }
    return negative ? "-" + text : text;
}

DayCalcResult calculatePeriod(const DateTimeFields& from, const DateTimeFields& to) {
    DayCalcResult result;
    std::optional<std::int64_t> a = secondsOf(from);
    std::optional<std::int64_t> b = secondsOf(to);
    if (!a || !b) {
        result.failed = true;
        return result;
    }
    DateTimeFields earlier = from;
    DateTimeFields later = to;
    if (*b < *a) {
        std::swap(a, b);
        std::swap(earlier, later);
    }
    result.lines.push_back(formatDayCalcDateTime(earlier) + " から");
    result.lines.push_back(formatDayCalcDateTime(later) + " 迄の時間");
    result.lines.emplace_back(34, '=');

    const std::int64_t n = *b - *a;
    const std::int64_t secondsPart = n % 60;
    const std::int64_t totalMinutes = n / 60;
    const std::int64_t minutesPart = totalMinutes % 60;
    const std::int64_t totalHours = n / 3600;
    const std::int64_t hoursPart = totalHours % 24;
    const std::int64_t days = totalHours / 24;
    const std::string secondsText = secondsPart != 0 ? groupDigits(secondsPart) + "秒" : "";
    const std::string minutesText = minutesPart != 0 ? groupDigits(minutesPart) + "分 " : "";
    const std::string hoursText = hoursPart != 0 ? groupDigits(hoursPart) + "時間 " : "";
    if (days != 0)
        result.lines.push_back(groupDigits(days) + "日 " + hoursText + minutesText + secondsText);
    if (totalHours != 0)
        result.lines.push_back(groupDigits(totalHours) + "時間 " + minutesText + secondsText);
    if (totalMinutes != 0)
        result.lines.push_back(groupDigits(totalMinutes) + "分 " + secondsText);
    result.lines.push_back(groupDigits(n) + "秒");
    return result;
}

DayCalcResult calculateCount(const DateTimeFields& from, bool after, const DayOffset& offset) {
    DayCalcResult result;
    const std::optional<std::int64_t> a = secondsOf(from);
    if (!a) {
        result.failed = true;
        return result;
    }
    result.lines.push_back(formatDayCalcDateTime(from) + " から");
    result.lines.push_back(groupDigits(offset.days) + "日 " + groupDigits(offset.hours) + "時間 " +
                           groupDigits(offset.minutes) + "分 " + groupDigits(offset.seconds) +
                           "秒" + (after ? "後の日時" : "前の日時"));
    result.lines.emplace_back(34, '=');
    if (offset.days < 0 || offset.days > kMaxOffsetDays || offset.hours < 0 ||
        offset.hours > kMaxOffsetPart || offset.minutes < 0 || offset.minutes > kMaxOffsetPart ||
        offset.seconds < 0 || offset.seconds > kMaxOffsetPart) {
        result.failed = true;
        return result;
    }
    // The fields' bounds keep every part far below what 64 bits hold.
    const std::int64_t span =
        offset.days * kSecondsPerDay + offset.hours * 3600 + offset.minutes * 60 + offset.seconds;
    const std::optional<DateTimeFields> target = fieldsOf(after ? *a + span : *a - span);
    if (!target) {
        result.failed = true;
        return result;
    }
    result.lines.push_back(formatDayCalcDateTime(*target));
    return result;
}

}  // namespace hinagiku::tools
