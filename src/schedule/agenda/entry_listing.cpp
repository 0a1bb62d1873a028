#include "schedule/agenda/entry_listing.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <tuple>

#include "calendar/format_date.h"
#include "core/data_folders.h"
#include "platform/atomic_file.h"
#include "platform/cp932.h"
#include "platform/file_search.h"
#include "richtext/utf8.h"

namespace hinagiku::schedule {
namespace {

constexpr int kGreen = 0x008000;
constexpr int kRed = 0x0000FF;
constexpr int kBlue = 0xFF0000;
constexpr int kFuchsia = 0xFF00FF;

bool isBirthdayName(std::string_view name) {
    return name.size() >= 4 && platform::foldAsciiCase(name.substr(0, 4)) == "born";
}

bool realTime(const DecodedEntry& d) {
    return d.hour >= 0 && d.hour <= 23 && d.minute >= 0 && d.minute <= 59;
}

bool sameNameFolded(std::string_view a, std::string_view b) {
    return platform::foldAsciiCase(a) == platform::foldAsciiCase(b);
}

// The first date of the years from `year` on that has the month and day.
std::optional<CivilDate> nextYearWith(int year, int month, int day) {
    for (int y = year; y <= 9999 && y < year + 8; ++y) {
        if (encodeDate(y, month, day))
            return CivilDate{y, month, day};
    }
    return std::nullopt;
}

// The first month from the current one on that has the day.
std::optional<CivilDate> nextMonthWith(CivilDate from, int day) {
    for (int i = 0; i < 12; ++i) {
        if (encodeDate(from.year, from.month, day))
            return CivilDate{from.year, from.month, day};
        if (++from.month > 12) {
            from.month = 1;
            if (++from.year > 9999)
                break;
        }
    }
    return std::nullopt;
}

CivilDate firstWeekdayOfMonth(CivilDate today, int weekday) {
    CivilDate date{today.year, today.month, 1};
    while (DayOfWeek(dayNumberOf(date)) != weekday)
        ++date.day;
    return date;
}

EditTarget refuse(const ListedEntry& entry) {
    EditTarget target;
    target.error = "「" + cleanDisplayText(entry.name) +
                   "」はスケジュールの名前の形式ではないので編集できません。";
    return target;
}

}  // namespace

std::string cleanDisplayText(std::string_view raw) {
    std::string out;
    out.reserve(raw.size());
    std::size_t pos = 0;
    while (pos < raw.size()) {
        char32_t c = richtext::nextCodePoint(raw, pos);
        if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0))
            c = 0xFFFD;
        richtext::appendUtf8(out, c);
    }
    return out;
}

std::string describeListedName(std::string_view rawName) {
    return cleanDisplayText(describeEntry(rawName));
}

std::string listingSortKey(std::string_view description) {
    std::string key = platform::toCp932(description);
    for (std::size_t i = 0; i < key.size(); ++i) {
        const auto byte = static_cast<unsigned char>(key[i]);
        if (platform::isCp932LeadByte(byte)) {
            ++i;  // the trail byte stays as it is
        } else if (byte >= 'a' && byte <= 'z') {
            key[i] = static_cast<char>(byte - 32);
        }
    }
    return key;
}

ListedEntry listedEntry(const std::string& folder, std::string_view rawName) {
    ListedEntry entry;
    entry.name = std::string(rawName);
    entry.path = core::joinPath(folder, rawName);
    entry.description = describeListedName(rawName);
    entry.decoded = decodeEntryName(rawName);
    const DecodedEntry& d = entry.decoded;
    const bool dated = d.kind == EntryKind::Dated &&
                       (d.family == EntryFamily::ToDo || d.family == EntryFamily::Popup);
    if (dated && encodeDate(d.year, d.month, d.day)) {
        if (d.family == EntryFamily::ToDo) {
            entry.date = CivilDate{d.year, d.month, d.day};
        } else if (realTime(d)) {
            entry.date = CivilDate{d.year, d.month, d.day};
            entry.time = ClockTime{d.hour, d.minute, 0, 0};
        }
    }
    return entry;
}

bool listingAccepts(ListingMode mode, const ListedEntry& entry, DateTime now, DateTime chosenDay) {
    if (entry.decoded.family == EntryFamily::Birthday || isBirthdayName(entry.name))
        return false;
    if (mode == ListingMode::All)
        return true;
    if (!entry.date)
        return false;
    const int day = dayNumberOf(*entry.date);
    if (mode == ListingMode::Day)
        return day == dayNumber(chosenDay);
    const int today = dayNumber(now);
    if (!entry.time)
        return day < today;
    if (day != today)
        return day < today;
    const ClockTime t = decodeTime(now);
    return std::tie(entry.time->hour, entry.time->minute) < std::tie(t.hour, t.minute) ||
           (entry.time->hour == t.hour && entry.time->minute == t.minute &&
            (t.second > 0 || t.millisecond > 0));
}

std::vector<ListedEntry> listEntries(const std::string& folder, ListingMode mode, DateTime now,
                                     DateTime chosenDay) {
    std::vector<ListedEntry> entries;
    if (folder.empty())
        return entries;
    const platform::DirectorySnapshot snapshot(folder);
    std::vector<std::pair<std::string, ListedEntry>> keyed;
    for (const std::string& name : snapshot.names()) {
        if (isBirthdayName(name))
            continue;
        ListedEntry entry = listedEntry(folder, name);
        if (!listingAccepts(mode, entry, now, chosenDay))
            continue;
        std::string key = listingSortKey(entry.description);
        keyed.emplace_back(std::move(key), std::move(entry));
    }
    std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
        return std::tie(a.first, a.second.name) < std::tie(b.first, b.second.name);
    });
    entries.reserve(keyed.size());
    for (auto& [key, entry] : keyed)
        entries.push_back(std::move(entry));
    return entries;
}

std::string_view emptyHeading(ListingMode mode) {
    switch (mode) {
        case ListingMode::All:
            return "ｽｹｼﾞｭｰﾙはありません｡";
        case ListingMode::Past:
            return "過去のｽｹｼﾞｭｰﾙはありません｡";
        case ListingMode::Day:
            return "この日のｽｹｼﾞｭｰﾙはありません｡";
    }
    return {};
}

int listTextColor(ListingMode mode) {
    switch (mode) {
        case ListingMode::All:
            return kGreen;
        case ListingMode::Past:
            return kRed;
        case ListingMode::Day:
            return kBlue;
    }
    return kGreen;
}

int headingColor(ListingMode mode) {
    return mode == ListingMode::All ? kGreen : kBlue;
}

std::string itemHeading(const ListedEntry& entry) {
    if (entry.date) {
        const DateTime value =
            makeDateTime(dayNumberOf(*entry.date),
                         entry.time ? *encodeTime(entry.time->hour, entry.time->minute) : 0.0);
        std::string text = FormatDate("yy\"年\"m\"月\"d\"日\"(aaa)", value);
        if (entry.time)
            text += FormatDate(" h\"時\"n\"分\"", value);
        return text;
    }
    // The labels are eight ASCII characters; a description without one
    // (a name no code gives) is shown whole.
    const std::string& d = entry.description;
    if (d.size() >= 8 && std::all_of(d.begin(), d.begin() + 8,
                                     [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        return d.substr(8);
    }
    return d;
}

int itemHeadingColor(ListingMode mode, const ListedEntry& entry) {
    if (entry.date)
        return headingColor(mode);
    if (entry.decoded.family == EntryFamily::Uptime)
        return kRed;
    if (entry.decoded.kind == EntryKind::Weekday)
        return kFuchsia;
    return kBlue;
}

DeleteOutcome deleteListedEntry(const ListedEntry& entry, platform::Settings& settings) {
    DeleteOutcome outcome = DeleteOutcome::Deleted;
    if (::unlink(entry.path.c_str()) != 0) {
        if (errno != ENOENT) {
            throw platform::IoError("\"" + cleanDisplayText(entry.path) +
                                    "\": cannot delete the entry: " + std::strerror(errno));
        }
        outcome = DeleteOutcome::AlreadyGone;
    }
    settings.eraseSection(entry.path);
    return outcome;
}

EditTarget editTargetOf(const ListedEntry& entry, DateTime today) {
    const DecodedEntry& d = entry.decoded;
    const CivilDate now = decodeDate(today);
    EditTarget target;
    std::string built;
    try {
        if (d.family == EntryFamily::ToDo) {
            target.editor = EditTarget::Editor::ToDo;
            ToDoChoice& c = target.todo;
            c.kind = d.kind == EntryKind::Dated     ? ToDoKind::Dated
                     : d.kind == EntryKind::Yearly  ? ToDoKind::Yearly
                     : d.kind == EntryKind::Monthly ? ToDoKind::Monthly
                                                    : ToDoKind::Weekday;
            std::optional<CivilDate> date;
            switch (c.kind) {
                case ToDoKind::Dated:
                    date = entry.date;
                    break;
                case ToDoKind::Yearly:
                    date = nextYearWith(now.year, d.month, d.day);
                    break;
                case ToDoKind::Monthly:
                    date = nextMonthWith(now, d.day);
                    break;
                case ToDoKind::Weekday:
                    if (d.weekday >= 1 && d.weekday <= 7 && isValidWeekMask(d.weeks))
                        date = firstWeekdayOfMonth(now, d.weekday);
                    setToDoWeeks(c, d.weeks);
                    break;
            }
            if (!date)
                return refuse(entry);
            c.date = *date;
            setToDoShift(c, d.shift);
            built = toDoEditorEntryName(c);
        } else if (d.family == EntryFamily::Uptime) {
            if (d.seconds < 0)
                return refuse(entry);
            target.editor = EditTarget::Editor::Popup;
            target.popup.uptimeSeconds = roundUptimeSeconds(d.seconds);
            built = UptimeEntryName(*target.popup.uptimeSeconds);
        } else if (d.family == EntryFamily::Popup) {
            if (!realTime(d))
                return refuse(entry);
            target.editor = EditTarget::Editor::Popup;
            PopupPresetFields& p = target.popup;
            p.kind = d.kind == EntryKind::Daily     ? PopupKind::Daily
                     : d.kind == EntryKind::Dated   ? PopupKind::Dated
                     : d.kind == EntryKind::Yearly  ? PopupKind::Yearly
                     : d.kind == EntryKind::Monthly ? PopupKind::Monthly
                                                    : PopupKind::Weekday;
            p.hour = d.hour;
            p.minute = d.minute;
            p.shift = d.shift;
            std::optional<CivilDate> date;
            switch (p.kind) {
                case PopupKind::Daily:
                    date = now;
                    break;
                case PopupKind::Dated:
                    date = entry.date;
                    break;
                case PopupKind::Yearly:
                    date = nextYearWith(now.year, d.month, d.day);
                    break;
                case PopupKind::Monthly:
                    date = nextMonthWith(now, d.day);
                    break;
                case PopupKind::Weekday:
                    if (d.weekday >= 1 && d.weekday <= 7 && isValidWeekMask(d.weeks))
                        date = firstWeekdayOfMonth(now, d.weekday);
                    p.weeks = d.weeks;
                    break;
            }
            if (!date)
                return refuse(entry);
            p.date = *date;
            built = PopupEntryName(*encodeTime(p.hour, p.minute), p.kind,
                                   static_cast<DateTime>(dayNumberOf(p.date)), p.shift, p.weeks);
        } else {
            return refuse(entry);
        }
    } catch (const std::exception&) {
        return refuse(entry);
    }
    if (!sameNameFolded(built, entry.name))
        return refuse(entry);
    return target;
}

}  // namespace hinagiku::schedule
