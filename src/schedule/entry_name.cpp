#include "schedule/entry_name.h"

#include <array>
#include <cstdio>
#include <stdexcept>

#include "calendar/format_date.h"

namespace hinagiku::schedule {
namespace {

struct ShiftCodes {
    ShiftKind kind;
    std::string_view toDoPrefix;
    std::string_view popupMark;
    std::string_view description;
};

constexpr std::array<ShiftCodes, 5> kShiftCodes{{
    {ShiftKind::None, "____", "__", ""},
    {ShiftKind::PreviousDay, "~___", "-_", "(休日:前日)"},
    {ShiftKind::PreviousDaySaturdayOff, "~_~~", "-~", "(土曜/休日:前日)"},
    {ShiftKind::NextDay, "_~__", "~_", "(休日:翌日)"},
    {ShiftKind::NextDaySaturdayOff, "_~~~", "~~", "(土曜/休日:翌日)"},
}};

const ShiftCodes& codesOf(ShiftKind kind) {
    for (const auto& codes : kShiftCodes) {
        if (codes.kind == kind)
            return codes;
    }
    return kShiftCodes[0];
}

constexpr std::array<std::string_view, 7> kWeekdayCodes{"SUN", "MON", "TUE", "WED",
                                                        "THU", "FRI", "SAT"};

char upperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

void requireDate(DateTime date) {
    const CivilDate civil = decodeDate(date);
    if (!encodeDate(civil))
        throw std::invalid_argument("date outside the years 1 to 9999");
}

}  // namespace

bool shiftsToPreviousDay(ShiftKind kind) {
    return kind == ShiftKind::PreviousDay || kind == ShiftKind::PreviousDaySaturdayOff;
}

bool shiftsToNextDay(ShiftKind kind) {
    return kind == ShiftKind::NextDay || kind == ShiftKind::NextDaySaturdayOff;
}

bool saturdayIsDayOff(ShiftKind kind) {
    return kind == ShiftKind::PreviousDaySaturdayOff || kind == ShiftKind::NextDaySaturdayOff;
}

std::string_view toDoShiftPrefix(ShiftKind kind) {
    return codesOf(kind).toDoPrefix;
}
std::string_view popupShiftMark(ShiftKind kind) {
    return codesOf(kind).popupMark;
}
std::string_view shiftDescription(ShiftKind kind) {
    return codesOf(kind).description;
}

std::optional<ShiftKind> shiftFromToDoPrefix(std::string_view prefix) {
    for (const auto& codes : kShiftCodes) {
        if (codes.toDoPrefix == prefix)
            return codes.kind;
    }
    return std::nullopt;
}

std::optional<ShiftKind> shiftFromPopupMark(std::string_view mark) {
    for (const auto& codes : kShiftCodes) {
        if (codes.popupMark == mark)
            return codes.kind;
    }
    return std::nullopt;
}

bool isValidWeekMask(WeekMask mask) {
    return (mask >= 1 && mask <= kEveryWeek) || mask == kLastWeek;
}

std::string_view weekdayCode(int dayOfWeek) {
    if (dayOfWeek < 1 || dayOfWeek > 7)
        return {};
    return kWeekdayCodes[static_cast<std::size_t>(dayOfWeek - 1)];
}

int weekdayFromCode(std::string_view code) {
    if (code.size() != 3)
        return 0;
    for (std::size_t i = 0; i < kWeekdayCodes.size(); ++i) {
        const auto& known = kWeekdayCodes[i];
        if (upperAscii(code[0]) == known[0] && upperAscii(code[1]) == known[1] &&
            upperAscii(code[2]) == known[2]) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

std::string ToDoEntryName(ToDoKind kind, DateTime date, ShiftKind shift, WeekMask weeks) {
    requireDate(date);
    switch (kind) {
        case ToDoKind::Dated:
            return "____" + FormatDate("mmdd", date) + "." + FormatDate("yy", date);
        case ToDoKind::Yearly:
            return std::string(toDoShiftPrefix(shift)) + FormatDate("mmdd", date) + ".__";
        case ToDoKind::Monthly:
            return std::string(toDoShiftPrefix(shift)) + "__" + FormatDate("dd", date) + ".__";
        case ToDoKind::Weekday: {
            if (!isValidWeekMask(weeks))
                throw std::invalid_argument("not a valid choice of weeks");
            // Position k is "_" for a chosen week; "~~~~~" stands for the last week.
            std::string flags(5, '~');
            if (weeks != kLastWeek) {
                for (int k = 0; k < 5; ++k) {
                    if (weeks & (1 << k))
                        flags[static_cast<std::size_t>(k)] = '_';
                }
            }
            return flags + "___." + std::string(weekdayCode(DayOfWeek(date)));
        }
    }
    throw std::invalid_argument("unknown to-do kind");
}

std::string PopupEntryName(DateTime time, PopupKind kind, DateTime date, ShiftKind shift,
                           WeekMask weeks) {
    requireDate(date);
    const std::string hhnn = FormatDate("hhnn", time);
    switch (kind) {
        case PopupKind::Daily:
            return hhnn + "____.__";
        case PopupKind::Dated:
            return hhnn + FormatDate("mmdd", date) + "." + FormatDate("yy", date);
        case PopupKind::Yearly:
            return hhnn + FormatDate("mmdd", date) + "." + std::string(popupShiftMark(shift));
        case PopupKind::Monthly:
            return hhnn + "__" + FormatDate("dd", date) + "." + std::string(popupShiftMark(shift));
        case PopupKind::Weekday: {
            if (!isValidWeekMask(weeks))
                throw std::invalid_argument("not a valid choice of weeks");
            std::string code(weekdayCode(DayOfWeek(date)));
            // All five weeks are written as the every-week form, never as 31.
            if (weeks == kEveryWeek)
                return hhnn + "____." + code;
            char mask[8];
            std::snprintf(mask, sizeof mask, "%.2d", weeks);
            return hhnn + "__" + mask + "." + code;
        }
    }
    throw std::invalid_argument("unknown popup kind");
}

std::string UptimeEntryName(int seconds) {
    if (seconds < 0 || seconds > 9999999)
        throw std::invalid_argument("uptime seconds out of range");
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "W%.7d.__", seconds);
    return buffer;
}

std::string BirthdayEntryName(DateTime birthDate) {
    requireDate(birthDate);
    return "BORN" + FormatDate("mmdd", birthDate) + "." + FormatDate("yyyy", birthDate);
}

int roundUptimeSeconds(long long typedSeconds) {
    // Cut down (towards minus infinity) to a multiple of 10, then clamp.
    long long cut = typedSeconds - (((typedSeconds % 10) + 10) % 10);
    if (cut < kMinUptimeSeconds)
        cut = kMinUptimeSeconds;
    if (cut > kMaxUptimeSeconds)
        cut = kMaxUptimeSeconds;
    return static_cast<int>(cut);
}

int fullYearFromTwoDigits(int twoDigitYear) {
    const int yy = ((twoDigitYear % 100) + 100) % 100;
    return yy >= 30 ? 1900 + yy : 2000 + yy;
}

std::string birthdayPattern(DateTime date) {
    return "BORN" + FormatDate("mmdd", date) + ".*";
}

}  // namespace hinagiku::schedule
