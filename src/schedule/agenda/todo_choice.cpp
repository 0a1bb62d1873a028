#include "schedule/agenda/todo_choice.h"

#include <algorithm>
#include <array>

#include "calendar/format_date.h"
#include "mainwindow/calex_date.h"

namespace hinagiku::schedule {
namespace {

constexpr std::array<const char*, 5> kWeekNames{"第１", "第２", "第３", "第４", "第５"};
constexpr std::array<const char*, 7> kShortWeekday{"(日)", "(月)", "(火)", "(水)",
                                                   "(木)", "(金)", "(土)"};

DateTime dateValue(const CivilDate& date) {
    return static_cast<DateTime>(dayNumberOf(date));
}

struct Clamped {
    int year, month, day;
};

Clamped clampFields(long long year, long long month, long long day) {
    return {static_cast<int>(std::clamp(year, 1LL, 9999LL)),
            static_cast<int>(std::clamp(month, 1LL, 12LL)),
            static_cast<int>(std::clamp(day, 1LL, 31LL))};
}

bool allWeeks(const ToDoChoice& choice) {
    return std::all_of(choice.weeks.begin(), choice.weeks.end(), [](bool b) { return b; });
}

}  // namespace

void applyToDoRules(ToDoChoice& choice) {
    const bool any =
        std::any_of(choice.weeks.begin(), choice.weeks.end(), [](bool b) { return b; });
    if (!any && !choice.lastWeek)
        choice.weeks.fill(true);
    if (choice.lastWeek)
        choice.weeks.fill(false);
    if (choice.holiday == ToDoHoliday::Keep)
        choice.saturdayOff = false;
}

ShiftKind toDoShiftOf(const ToDoChoice& choice) {
    if (choice.kind != ToDoKind::Yearly && choice.kind != ToDoKind::Monthly)
        return ShiftKind::None;
    switch (choice.holiday) {
        case ToDoHoliday::Keep:
            return ShiftKind::None;
        case ToDoHoliday::PreviousDay:
            return choice.saturdayOff ? ShiftKind::PreviousDaySaturdayOff : ShiftKind::PreviousDay;
        case ToDoHoliday::NextDay:
            return choice.saturdayOff ? ShiftKind::NextDaySaturdayOff : ShiftKind::NextDay;
    }
    return ShiftKind::None;
}

WeekMask toDoWeekMaskOf(const ToDoChoice& choice) {
    if (choice.lastWeek)
        return kLastWeek;
    WeekMask mask = 0;
    for (std::size_t k = 0; k < choice.weeks.size(); ++k) {
        if (choice.weeks[k])
            mask |= 1 << k;
    }
    return mask == 0 ? kEveryWeek : mask;
}

void setToDoShift(ToDoChoice& choice, ShiftKind shift) {
    choice.holiday = shiftsToPreviousDay(shift) ? ToDoHoliday::PreviousDay
                     : shiftsToNextDay(shift)   ? ToDoHoliday::NextDay
                                                : ToDoHoliday::Keep;
    choice.saturdayOff = saturdayIsDayOff(shift);
}

void setToDoWeeks(ToDoChoice& choice, WeekMask mask) {
    choice.lastWeek = mask == kLastWeek;
    for (std::size_t k = 0; k < choice.weeks.size(); ++k)
        choice.weeks[k] = !choice.lastWeek && (mask & (1 << k)) != 0;
}

std::string toDoEditorEntryName(const ToDoChoice& choice) {
    return ToDoEntryName(choice.kind, dateValue(choice.date), toDoShiftOf(choice),
                         toDoWeekMaskOf(choice));
}

std::string toDoEditorHint(const ToDoChoice& choice) {
    const DateTime date = dateValue(choice.date);
    switch (choice.kind) {
        case ToDoKind::Dated:
            return FormatDate("yyyy/m/d\"のｽｹｼﾞｭｰﾙ\"", date);
        case ToDoKind::Yearly:
            return FormatDate("\"毎年\"m/d\"のｽｹｼﾞｭｰﾙ\"", date);
        case ToDoKind::Monthly:
            return FormatDate("\"毎月\"d\"日のｽｹｼﾞｭｰﾙ\"", date);
        case ToDoKind::Weekday:
            return FormatDate("aaaa\"のｽｹｼﾞｭｰﾙ\"", date);
    }
    return {};
}

std::string toDoCopyString(const ToDoChoice& choice) {
    const DateTime date = dateValue(choice.date);
    const std::string shift(shiftDescription(toDoShiftOf(choice)));
    switch (choice.kind) {
        case ToDoKind::Dated:
            return FormatDate("\"【\"yy\"年\"m\"月\"d\"日】\"", date);
        case ToDoKind::Yearly:
            return FormatDate("\"【毎年\"m\"月\"d\"日】\"", date) + shift;
        case ToDoKind::Monthly:
            return FormatDate("\"【毎月\"d\"日】\"", date) + shift;
        case ToDoKind::Weekday:
            break;
    }
    std::string weeks;
    if (choice.lastWeek) {
        weeks = "最終";
    } else if (!allWeeks(choice)) {
        for (std::size_t k = 0; k < choice.weeks.size(); ++k) {
            if (choice.weeks[k])
                weeks += kWeekNames[k];
        }
    }
    return "【" + weeks + FormatDate("dddd", date) + "】";
}

std::array<std::string, 4> toDoTabCaptions(const CivilDate& date) {
    const DateTime value = dateValue(date);
    return {FormatDate("yyyy/mm/dd", value), FormatDate("mm/dd", value), FormatDate("dd", value),
            FormatDate("dddd", value)};
}

CivilDate correctedDate(long long year, long long month, long long day) {
    const Clamped c = clampFields(year, month, day);
    CivilDate date{c.year, c.month, c.day};
    while (date.day > 1 && !encodeDate(date))
        --date.day;
    return date;
}

CivilDate correctedGridDate(long long year, long long month, long long day) {
    const Clamped c = clampFields(year, month, day);
    CivilDate date{c.year, c.month, c.day};
    while (date.day > 1 && (date.day > mainwindow::calex::daysInMonth(date.year, date.month) ||
                            mainwindow::calex::inReformGap(date.year, date.month, date.day))) {
        --date.day;
    }
    return date;
}

std::string jumpCaption(const CivilDate& date, const CivilDate& today) {
    namespace calex = mainwindow::calex;
    const int offset = calex::dayNumber(date.year, date.month, date.day) -
                       calex::dayNumber(today.year, today.month, today.day);
    if (offset == 0)
        return "本日";
    if (offset < 0)
        return std::to_string(-offset) + "日前";
    return std::to_string(offset) + "日後";
}

std::string jumpWeekdayLabel(const CivilDate& date) {
    const int weekday = mainwindow::calex::weekday(date.year, date.month, date.day);
    return kShortWeekday[static_cast<std::size_t>(std::clamp(weekday, 1, 7) - 1)];
}

}  // namespace hinagiku::schedule
