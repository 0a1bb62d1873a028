#include "cycle/cycle_math.h"

#include <algorithm>
#include <climits>
#include <cstdio>

#include "calendar/format_date.h"

namespace hinagiku::cycle {
namespace {

std::optional<int> digitsValue(std::string_view text) {
    if (text.empty())
        return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

bool inCalendar(long long day) {
    static const int first = *encodeDate(1, 1, 1);
    static const int last = *encodeDate(9999, 12, 31);
    return day >= first && day <= last;
}

}  // namespace

std::optional<int> entryDay(std::string_view entry) {
    if (entry.size() != 10 || entry[4] != '/' || entry[7] != '/')
        return std::nullopt;
    const auto y = digitsValue(entry.substr(0, 4)), m = digitsValue(entry.substr(5, 2)),
               d = digitsValue(entry.substr(8, 2));
    if (!y || !m || !d)
        return std::nullopt;
    return encodeDate(*y, *m, *d);
}

std::string entryText(int day) {
    return FormatDate("yyyy/mm/dd", day);
}

std::string forecastText(int day) {
    return FormatDate("yyyy/mm/dd (aaa)", day);
}

std::optional<int> wholeNumber(std::string_view text) {
    bool negative = false;
    if (!text.empty() && text[0] == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            return std::nullopt;
    }
    value = negative ? -value : value;
    if (value > INT_MAX || value < INT_MIN)
        return std::nullopt;
    return static_cast<int>(value);
}

CivilDate dateBoxes(long long year, long long month, long long day) {
    CivilDate d{static_cast<int>(std::clamp(year, 1900LL, 2500LL)),
                static_cast<int>(std::clamp(month, 1LL, 12LL)),
                static_cast<int>(std::clamp(day, 1LL, 31LL))};
    while (!encodeDate(d))
        --d.day;
    return d;
}

Averages averagesOf(const std::vector<int>& days) {
    Averages a;
    const std::size_t n = days.size();
    if (n < 2)
        return a;
    long long all = 0, same = 0, other = 0;
    long long sameCount = 0, otherCount = 0;
    for (std::size_t k = 1; k < n; ++k) {
        const long long interval = static_cast<long long>(days[k]) - days[k - 1];
        all += interval;
        if (k % 2 == n % 2) {
            same += interval;
            ++sameCount;
        } else {
            other += interval;
            ++otherCount;
        }
    }
    a.common = static_cast<int>(all / static_cast<long long>(n - 1));
    if (sameCount > 0)
        a.r = static_cast<int>(same / sameCount);
    if (otherCount > 0)
        a.l = static_cast<int>(other / otherCount);
    return a;
}

std::vector<int> commonForecasts(int latest, int cycle) {
    std::vector<int> days;
    for (long long i = 1; i <= kForecastCount; ++i) {
        const long long day = latest + i * cycle;
        if (!inCalendar(day))
            break;
        days.push_back(static_cast<int>(day));
    }
    return days;
}

std::vector<int> alternatingForecasts(int latest, int r, int l) {
    std::vector<int> days;
    for (long long i = 1; i <= kForecastCount; ++i) {
        const long long day = latest + (i + 1) / 2 * r + i / 2 * l;
        if (!inCalendar(day))
            break;
        days.push_back(static_cast<int>(day));
    }
    return days;
}

std::string_view dayLabel(int day, int f, int g, int p) {
    const long long i = day;
    if (f <= i && i < static_cast<long long>(f) + p)
        return "×　生理中";
    if (g - 23LL <= i && i < g - 19LL)
        return "？　　　安全日";
    if (g - 19LL <= i && i < g - 16LL)
        return "？　　危険日";
    if (g - 16LL <= i && i < g - 11LL)
        return "×【危険日】";
    if (g - 11LL <= i && i < g - 10LL)
        return "？　　危険日";
    if (i < g)
        return "△　　　　安全日";
    return "×　生理中";
}

std::vector<std::string> detailLines(int f, int g, int p) {
    std::vector<std::string> lines;
    if (g < f)
        return lines;
    lines.reserve(static_cast<std::size_t>(g - f) + 1);
    for (int day = f; day <= g; ++day) {
        std::string line = forecastText(day);
        line += ' ';
        line += dayLabel(day, f, g, p);
        lines.push_back(std::move(line));
    }
    return lines;
}

std::string intervalStatus(int previousDay, int day) {
    return std::to_string(day - previousDay) + "日周期 (" + entryText(previousDay) + "～" +
           entryText(day) + ")";
}

}  // namespace hinagiku::cycle
