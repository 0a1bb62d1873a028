#pragma once

#include <string>
#include <vector>

#include "calendar/date_time.h"
#include "mainwindow/day_kinds.h"
#include "platform/settings.h"

namespace hinagiku::mainwindow {

// The pop viewer's state: a click on a day requests it, the refresh opens
// it, closing it goes back to none.
enum class PopViewRequest { None, Requested, Open };

// What the refresh of the selected day gives: the day view's lines and
// colours (only with [CalendarEx] PopView), the holiday flag and the month
// panel's colour.
struct DayView {
    bool popView = false;
    std::vector<std::string> lines;
    int textColor = 0;  // colour values as stored
    int backColor = 0;
    bool holiday = false;
    DayColor monthPanel = DayColor::Weekday;
    // Entries whose files could not be read: one message each; the other
    // lines are complete.
    std::vector<std::string> errors;
};

// Builds the view for `date` seen on `today`. `specialDay`: the date is in
// the calendar's special-day list.
DayView buildDayView(DateTime date, DateTime today, const platform::Settings& settings,
                     bool specialDay);

// "yyyy/mm/dd(aaa)", followed for another day by "　" and "N日前" / "N日後".
std::string popViewCaption(DateTime date, DateTime today);

// "【<age>歳の誕生日】" + the birth date ("yyyy/mm/dd (ddd)") of a birthday on `date`.
std::string birthdayLine(DateTime date, int birthYear);

// The lines of an entry's plain text (LF between lines; a final line end
// adds no empty line).
std::vector<std::string> textLines(const std::string& text);

}  // namespace hinagiku::mainwindow
