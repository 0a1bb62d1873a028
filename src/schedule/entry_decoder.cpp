#include "schedule/entry_decoder.h"

#include <array>
#include <cstdio>

#include "richtext/utf8.h"

namespace hinagiku::schedule {
namespace {

constexpr std::array<std::string_view, 7> kLongWeekday{"日曜日", "月曜日", "火曜日", "水曜日",
                                                       "木曜日", "金曜日", "土曜日"};
constexpr std::array<std::string_view, 5> kWeekField{"第１", "第２", "第３", "第４", "第５"};
constexpr std::string_view kNoWeekField = "　　";

char upperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

// Characters at 0-based `from`, at most `length` of them; a short name gives
// what it has, so a name that breaks the code can never read past its end.
std::string_view at(std::string_view name, std::size_t from, std::size_t length) {
    if (from >= name.size())
        return {};
    return name.substr(from, length);
}

bool allDigits(std::string_view s) {
    if (s.empty())
        return false;
    for (char c : s) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

int numberOr(std::string_view s, int fallback) {
    if (!allDigits(s))
        return fallback;
    int value = 0;
    for (char c : s)
        value = value * 10 + (c - '0');
    return value;
}

// The leading digits as a number, 0 without any: what "%d" of the
// characters gives in a description.
int leadingNumber(std::string_view s) {
    int value = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            break;
        if (value < 100000000)
            value = value * 10 + (c - '0');
    }
    return value;
}

std::string_view extensionOf(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view{} : name.substr(dot + 1);
}

bool startsWithFolded(std::string_view name, std::string_view upperPrefix) {
    if (name.size() < upperPrefix.size())
        return false;
    for (std::size_t i = 0; i < upperPrefix.size(); ++i) {
        if (upperAscii(name[i]) != upperPrefix[i])
            return false;
    }
    return true;
}

std::string weekdayName(const DecodedEntry& entry, std::string_view extension) {
    if (entry.weekday >= 1 && entry.weekday <= 7) {
        return std::string(kLongWeekday[static_cast<std::size_t>(entry.weekday - 1)]);
    }
    return std::string(extension);
}

std::string weekFields(WeekMask mask, bool lastWeekInFifth) {
    std::string out;
    for (std::size_t k = 0; k < 5; ++k) {
        if (k == 4 && lastWeekInFifth) {
            out += "最終";
        } else {
            out += (mask & (1 << k)) ? kWeekField[k] : kNoWeekField;
        }
    }
    return out;
}

std::string popupShiftText(ShiftKind shift) {
    const std::string_view text = shiftDescription(shift);
    return text.empty() ? std::string() : " " + std::string(text);
}

}  // namespace

std::string_view familyWord(EntryFamily family) {
    switch (family) {
        case EntryFamily::ToDo:
            return "todo";
        case EntryFamily::Popup:
            return "popup";
        case EntryFamily::Uptime:
            return "uptime";
        case EntryFamily::Birthday:
            return "birthday";
    }
    return "popup";
}

std::string_view kindWord(EntryKind kind) {
    switch (kind) {
        case EntryKind::Dated:
            return "dated";
        case EntryKind::Yearly:
            return "yearly";
        case EntryKind::Monthly:
            return "monthly";
        case EntryKind::Weekday:
            return "weekday";
        case EntryKind::Daily:
            return "daily";
        case EntryKind::Uptime:
            return "uptime";
        case EntryKind::Birthday:
            return "birthday";
    }
    return "yearly";
}

DecodedEntry decodeEntryName(std::string_view name) {
    DecodedEntry entry;
    const std::string_view extension = extensionOf(name);

    if (startsWithFolded(name, "BORN")) {
        entry.family = EntryFamily::Birthday;
        entry.kind = EntryKind::Birthday;
        entry.month = numberOr(at(name, 4, 2), 0);
        entry.day = numberOr(at(name, 6, 2), 0);
        entry.year = extension.size() == 4 ? numberOr(extension, 0) : 0;
        return entry;
    }
    if (startsWithFolded(name, "W")) {
        entry.family = EntryFamily::Uptime;
        entry.kind = EntryKind::Uptime;
        entry.seconds = numberOr(at(name, 1, 7), -1);
        return entry;
    }
    const char first = name.empty() ? '\0' : name[0];
    if ((first == '_' || first == '~') && extension.size() == 3) {
        entry.family = EntryFamily::ToDo;
        entry.kind = EntryKind::Weekday;
        entry.weekday = weekdayFromCode(extension);
        const std::string_view flags = at(name, 0, 5);
        entry.everyWeek = flags == "_____";
        if (flags == "~~~~~") {
            entry.weeks = kLastWeek;
        } else {
            for (std::size_t k = 0; k < flags.size(); ++k) {
                if (flags[k] == '_')
                    entry.weeks |= 1 << k;
            }
        }
        return entry;
    }
    if (const auto shift = shiftFromToDoPrefix(at(name, 0, 4))) {
        entry.family = EntryFamily::ToDo;
        entry.month = numberOr(at(name, 4, 2), 0);
        entry.day = numberOr(at(name, 6, 2), 0);
        if (extension.size() == 2 && allDigits(extension)) {
            entry.kind = EntryKind::Dated;
            entry.year = fullYearFromTwoDigits(numberOr(extension, 0));
        } else if (at(name, 4, 2) == "__") {
            entry.kind = EntryKind::Monthly;
            entry.shift = *shift;
        } else {
            entry.kind = EntryKind::Yearly;
            entry.shift = *shift;
        }
        return entry;
    }

    entry.family = EntryFamily::Popup;
    entry.hour = numberOr(at(name, 0, 2), -1);
    entry.minute = numberOr(at(name, 2, 2), -1);
    entry.month = numberOr(at(name, 4, 2), 0);
    entry.day = numberOr(at(name, 6, 2), 0);
    if (at(name, 4, 4) == "____" && extension == "__") {
        entry.kind = EntryKind::Daily;
        entry.month = entry.day = 0;
    } else if (extension.size() == 3) {
        entry.kind = EntryKind::Weekday;
        entry.weekday = weekdayFromCode(extension);
        entry.month = entry.day = 0;
        entry.everyWeek = at(name, 4, 4) == "____";
        entry.weeks = entry.everyWeek ? kEveryWeek : numberOr(at(name, 6, 2), 0);
    } else if (at(name, 4, 2) == "__") {
        entry.kind = EntryKind::Monthly;
        entry.month = 0;
        entry.shift = shiftFromPopupMark(extension).value_or(ShiftKind::None);
    } else if (extension.size() == 2 && allDigits(extension)) {
        entry.kind = EntryKind::Dated;
        entry.year = fullYearFromTwoDigits(numberOr(extension, 0));
    } else {
        entry.kind = EntryKind::Yearly;
        entry.shift = shiftFromPopupMark(extension).value_or(ShiftKind::None);
    }
    return entry;
}

namespace {

std::string describeName(std::string_view name);

}  // namespace

// The description is shown in windows and printed by hinagikuctl: parts of
// names that are no UTF-8 (CP932 names from Windows, damaged media) or
// control characters show as U+FFFD.
std::string describeEntry(std::string_view name) {
    std::string text = richtext::validUtf8(describeName(name));
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            out += "\uFFFD";
        else
            out += c;
    }
    return out;
}

namespace {

std::string describeName(std::string_view name) {
    const DecodedEntry entry = decodeEntryName(name);
    const std::string_view extension = extensionOf(name);
    const std::string hh(at(name, 0, 2)), nn(at(name, 2, 2));
    const std::string mm(at(name, 4, 2)), dd(at(name, 6, 2));
    const std::string yy(extension);
    const std::string clock = hh + "時" + nn + "分";

    switch (entry.family) {
        case EntryFamily::Birthday:
            return "Birth : " + mm + "月" + dd + "日【" + std::string(extension) + "年】";
        case EntryFamily::Uptime: {
            char seconds[32];
            std::snprintf(seconds, sizeof seconds, "%7d", leadingNumber(at(name, 1, 7)));
            return std::string("Win98 : ") + seconds + "秒経過（Windows起動後）";
        }
        case EntryFamily::ToDo:
            switch (entry.kind) {
                case EntryKind::Weekday: {
                    std::string text = "Week" + std::to_string(entry.weekday) + " : " +
                                       weekdayName(entry, extension);
                    if (!entry.everyWeek) {
                        text += "(" + weekFields(entry.weeks, entry.weeks == kLastWeek) + ")";
                    }
                    return text;
                }
                case EntryKind::Dated:
                    return "To_do : " + yy + "年" + mm + "月" + dd + "日 ";
                case EntryKind::Monthly:
                    return "To_do : 毎月" + dd + "日 " + std::string(shiftDescription(entry.shift));
                default:
                    return "To_do : 毎年" + mm + "月" + dd + "日 " +
                           std::string(shiftDescription(entry.shift));
            }
        case EntryFamily::Popup:
            break;
    }
    switch (entry.kind) {
        case EntryKind::Daily:
            return "Popup : 毎日 " + clock;
        case EntryKind::Weekday: {
            std::string weeks;
            if (entry.everyWeek) {
                weeks = "(毎週) ";
            } else if (entry.weeks == kLastWeek) {
                weeks = "(最終) ";
            } else {
                weeks = "(" + weekFields(entry.weeks, false) + ") ";
            }
            return "Popw" + std::to_string(entry.weekday) + " : " + weekdayName(entry, extension) +
                   weeks + clock;
        }
        case EntryKind::Monthly:
            return "Popup : 毎月" + dd + "日 " + clock + popupShiftText(entry.shift);
        case EntryKind::Dated:
            return "Popup : " + yy + "年" + mm + "月" + dd + "日 " + clock;
        default:
            return "Popup : 毎年" + mm + "月" + dd + "日 " + clock + popupShiftText(entry.shift);
    }
}

}  // namespace

}  // namespace hinagiku::schedule
