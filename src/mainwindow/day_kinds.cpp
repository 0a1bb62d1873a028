#include "mainwindow/day_kinds.h"

#include <charconv>

#include "mainwindow/calex_date.h"

namespace hinagiku::mainwindow {
namespace {

bool parseNumber(const std::string& text, std::size_t begin, std::size_t end, int& out) {
    while (begin < end && text[begin] == ' ')
        ++begin;
    while (end > begin && text[end - 1] == ' ')
        --end;
    if (begin == end)
        return false;
    const auto [ptr, ec] = std::from_chars(text.data() + begin, text.data() + end, out);
    return ec == std::errc() && ptr == text.data() + end;
}

bool listHas(const std::vector<std::string>& list, int month, int day) {
    for (const auto& line : list) {
        const DayListEntry entry = parseDayListEntry(line);
        if (entry.month == month && entry.day == day)
            return true;
    }
    return false;
}

void appendTexts(const std::vector<std::string>& list, int month, int day,
                 std::vector<std::string>& out) {
    for (const auto& line : list) {
        DayListEntry entry = parseDayListEntry(line);
        if (entry.month == month && entry.day == day && !entry.text.empty()) {
            out.push_back(std::move(entry.text));
        }
    }
}

}  // namespace

DayListEntry parseDayListEntry(const std::string& line) {
    DayListEntry entry;
    const std::size_t first = line.find(',');
    if (first == std::string::npos)
        return entry;
    std::size_t second = line.find(',', first + 1);
    const std::size_t dayEnd = second == std::string::npos ? line.size() : second;
    int month = 0;
    int day = 0;
    if (!parseNumber(line, 0, first, month) || !parseNumber(line, first + 1, dayEnd, day)) {
        return entry;
    }
    entry.month = month;
    entry.day = day;
    if (second != std::string::npos)
        entry.text = line.substr(second + 1);
    return entry;
}

DayKinds dayKinds(int year, int month, int day, const DayLists& lists) {
    DayKinds kinds;
    const int weekday = calex::weekday(year, month, day);
    kinds.sunday = weekday == 1;
    kinds.saturday = weekday == 7;
    kinds.special = listHas(lists.specialDay, month, day);
    kinds.equinox = lists.autoEquinox && calex::isEquinox(year, month, day);
    kinds.holiday = listHas(lists.typeOfDay, month, day);
    if (weekday == 2) {
        int prevMonth = month;
        int prevDay = day - 1;
        if (prevDay < 1) {
            prevMonth = month == 1 ? 12 : month - 1;
            prevDay = calex::daysInMonth(month == 1 ? year - 1 : year, prevMonth);
        }
        kinds.substitute = listHas(lists.typeOfDay, prevMonth, prevDay);
        if (kinds.substitute && month == 5 && day == 4)
            kinds.holiday = false;
    }
    return kinds;
}

DayColor dayColor(const DayKinds& kinds) {
    if (kinds.special)
        return DayColor::SpecialDay;
    if (kinds.holiday || kinds.equinox || kinds.substitute)
        return DayColor::Holiday;
    if (kinds.sunday)
        return DayColor::Sunday;
    if (kinds.saturday)
        return DayColor::Saturday;
    return DayColor::Weekday;
}

std::string typeOfDayText(int year, int month, int day, const DayLists& lists) {
    const DayKinds kinds = dayKinds(year, month, day, lists);
    std::vector<std::string> names;
    if (kinds.holiday)
        appendTexts(lists.typeOfDay, month, day, names);
    if (kinds.special)
        appendTexts(lists.specialDay, month, day, names);
    if (kinds.equinox) {
        const bool vernal = calex::dayNumber(year, month, day) == calex::vernalEquinox(year);
        names.emplace_back(vernal ? "春分の日" : "秋分の日");
    }
    if (kinds.substitute)
        names.emplace_back("振替休日");
    std::string text;
    for (const auto& name : names) {
        if (!text.empty())
            text += '\n';
        text += name;
    }
    return text;
}

}  // namespace hinagiku::mainwindow
