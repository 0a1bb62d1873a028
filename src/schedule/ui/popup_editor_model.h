#pragma once

#include <array>
#include <string>
#include <vector>

#include "calendar/date_time.h"
#include "schedule/entry_name.h"

namespace hinagiku::schedule {

// "休日なら": what a yearly or monthly popup does when its day is a day off.
enum class HolidayChoice { Keep, PreviousDay, NextDay };

// What the popup editor's controls point at: the entry they name and the
// texts that describe it.
struct PopupChoice {
    PopupKind kind = PopupKind::Dated;
    CivilDate date{2000, 1, 1};
    int hour = 0;
    int minute = 0;
    HolidayChoice holiday = HolidayChoice::Keep;
    bool saturdayOff = false;                                 // "土曜日は": "休日扱い"
    std::array<bool, 5> weeks{true, true, true, true, true};  // "第１週" .. "第５週"
    bool lastWeek = false;                                    // "最終週"
    bool uptime = false;  // "Ｗ": seconds after the computer started
    int uptimeSeconds = kMinUptimeSeconds;
};

// The shift the holiday choices give ("そのまま" is none).
ShiftKind shiftOf(const PopupChoice& choice);
// The week mask of the week boxes: 32 for the last week, 31 for all five.
WeekMask weekMaskOf(const PopupChoice& choice);
// The week boxes after a change: "最終週" clears the others; with no box
// checked the first five are checked again.
void applyWeekRules(PopupChoice& choice);

// The name of the entry file (without the data folder).
std::string popupEditorEntryName(const PopupChoice& choice);
// The text editor's hint naming the entry.
std::string popupEditorHint(const PopupChoice& choice);
// The one-line description for copying ("【毎年3月5日】(土曜/休日:翌日)9:30～").
std::string popupCopyString(const PopupChoice& choice);
// Captions of the five kind tabs for the chosen date: dated, yearly,
// monthly, weekly, daily.
std::array<std::string, 5> popupTabCaptions(const CivilDate& date);
// "Popup hh:mm" of the chosen time minus the lead time.
std::string popupTimePanelText(int hour, int minute, int leadMinutes);
// The note under the time: when the popup appears relative to the time chosen.
std::string popupLeadTimeNote(int leadMinutes);
// "約" minutes "分", hours "時間", days "日" on three lines (LF).
std::string uptimeApproximation(int seconds);

// The day lowered until the date exists (February 30 becomes 29 or 28).
CivilDate validDate(CivilDate date);

// The kind of each tab, in tab order.
inline constexpr std::array<PopupKind, 5> kPopupTabKinds{
    PopupKind::Dated, PopupKind::Yearly, PopupKind::Monthly, PopupKind::Weekday, PopupKind::Daily};
int tabOfKind(PopupKind kind);

}  // namespace hinagiku::schedule
