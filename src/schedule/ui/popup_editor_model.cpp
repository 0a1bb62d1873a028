#include "schedule/ui/popup_editor_model.h"

#include <cstdio>

#include "calendar/format_date.h"

namespace hinagiku::schedule {
namespace {

DateTime dateValue(const CivilDate& date) {
    const auto day = encodeDate(validDate(date));
    return day ? static_cast<DateTime>(*day) : 0.0;
}

std::string timeSuffix(int hour, int minute) {
    char text[32];
    std::snprintf(text, sizeof text, "%d:%.2d", hour, minute);
    return std::string(text) + "～";
}

constexpr std::array<const char*, 5> kWeekNames{"第１", "第２", "第３", "第４", "第５"};

}  // namespace

ShiftKind shiftOf(const PopupChoice& choice) {
    switch (choice.holiday) {
        case HolidayChoice::Keep:
            return ShiftKind::None;
        case HolidayChoice::PreviousDay:
            return choice.saturdayOff ? ShiftKind::PreviousDaySaturdayOff : ShiftKind::PreviousDay;
        case HolidayChoice::NextDay:
            return choice.saturdayOff ? ShiftKind::NextDaySaturdayOff : ShiftKind::NextDay;
    }
    return ShiftKind::None;
}

WeekMask weekMaskOf(const PopupChoice& choice) {
    if (choice.lastWeek)
        return kLastWeek;
    WeekMask mask = 0;
    for (int i = 0; i < 5; ++i) {
        if (choice.weeks[static_cast<std::size_t>(i)])
            mask |= 1 << i;
    }
    return mask == 0 ? kEveryWeek : mask;
}

void applyWeekRules(PopupChoice& choice) {
    if (choice.lastWeek) {
        choice.weeks.fill(false);
        return;
    }
    bool any = false;
    for (bool week : choice.weeks)
        any = any || week;
    if (!any)
        choice.weeks.fill(true);
}

int tabOfKind(PopupKind kind) {
    for (std::size_t i = 0; i < kPopupTabKinds.size(); ++i) {
        if (kPopupTabKinds[i] == kind)
            return static_cast<int>(i);
    }
    return 0;
}

CivilDate validDate(CivilDate date) {
    while (date.day > 1 && !encodeDate(date))
        --date.day;
    return date;
}

std::string popupEditorEntryName(const PopupChoice& choice) {
    if (choice.uptime)
        return UptimeEntryName(roundUptimeSeconds(choice.uptimeSeconds));
    const DateTime date = dateValue(choice.date);
    const DateTime time = *encodeTime(choice.hour, choice.minute);
    const ShiftKind shift = choice.kind == PopupKind::Yearly || choice.kind == PopupKind::Monthly
                                ? shiftOf(choice)
                                : ShiftKind::None;
    return PopupEntryName(time, choice.kind, date, shift, weekMaskOf(choice));
}

std::string popupEditorHint(const PopupChoice& choice) {
    if (choice.uptime)
        return popupCopyString(choice) + "のﾎﾟｯﾌﾟｱｯﾌﾟ";
    const DateTime date = dateValue(choice.date);
    switch (choice.kind) {
        case PopupKind::Dated:
            return FormatDate("yyyy/m/d\"のﾎﾟｯﾌﾟｱｯﾌﾟ\"", date);
        case PopupKind::Yearly:
            return FormatDate("\"毎年\"m月d\"日のﾎﾟｯﾌﾟｱｯﾌﾟ\"", date);
        case PopupKind::Monthly:
            return FormatDate("\"毎月\"d\"日のﾎﾟｯﾌﾟｱｯﾌﾟ\"", date);
        case PopupKind::Weekday:
            return FormatDate("aaaa\"のﾎﾟｯﾌﾟｱｯﾌﾟ\"", date);
        case PopupKind::Daily:
            return "毎日のﾎﾟｯﾌﾟｱｯﾌﾟ";
    }
    return {};
}

std::string popupCopyString(const PopupChoice& choice) {
    if (choice.uptime) {
        return "【Windows起動後 " + std::to_string(roundUptimeSeconds(choice.uptimeSeconds)) +
               "秒経過】";
    }
    const DateTime date = dateValue(choice.date);
    std::string text;
    switch (choice.kind) {
        case PopupKind::Dated:
            break;
        case PopupKind::Yearly:
            text = FormatDate("\"【毎年\"m\"月\"d\"日】\"", date);
            text += shiftDescription(shiftOf(choice));
            break;
        case PopupKind::Monthly:
            text = FormatDate("\"【毎月\"d\"日】\"", date);
            text += shiftDescription(shiftOf(choice));
            break;
        case PopupKind::Weekday:
            if (weekMaskOf(choice) == kEveryWeek) {
                text = FormatDate("\"【\"aaaa\"】\"", date);
            } else {
                text = "【";
                if (choice.lastWeek) {
                    text += "最終";
                } else {
                    for (std::size_t i = 0; i < 5; ++i) {
                        if (choice.weeks[i])
                            text += kWeekNames[i];
                    }
                }
                text += FormatDate("aaaa", date) + "】";
            }
            break;
        case PopupKind::Daily:
            text = "【毎日】";
            break;
    }
    return text + timeSuffix(choice.hour, choice.minute);
}

std::array<std::string, 5> popupTabCaptions(const CivilDate& date) {
    const DateTime value = dateValue(date);
    return {FormatDate("yyyy/mm/dd", value), FormatDate("mm/dd", value), FormatDate("dd", value),
            FormatDate("aaa\"曜\"", value), "毎日"};
}

std::string popupTimePanelText(int hour, int minute, int leadMinutes) {
    int total = ((hour * 60 + minute - leadMinutes) % 1440 + 1440) % 1440;
    const DateTime time = *encodeTime(total / 60, total % 60);
    return FormatDate("Popup hh:mm", time);
}

std::string popupLeadTimeNote(int leadMinutes) {
    if (leadMinutes == 0)
        return "指定した時間通りにﾎﾟｯﾌﾟｱｯﾌﾟします。";
    return "指定した時間の " + std::to_string(leadMinutes) + "分前にﾎﾟｯﾌﾟｱｯﾌﾟします。";
}

std::string uptimeApproximation(int seconds) {
    return "約" + std::to_string(seconds / 60) + "分\n約" + std::to_string(seconds / 3600) +
           "時間\n約" + std::to_string(seconds / 86400) + "日";
}

}  // namespace hinagiku::schedule
