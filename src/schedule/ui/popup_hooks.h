#pragma once

#include <functional>
#include <string>

#include "calendar/date_time.h"

namespace hinagiku::schedule {

// What the popup windows and the popup editor ask of windows that belong to
// other parts of the program. The main window fills these in when it starts;
// an empty hook means that part is not there, and the request does nothing.
struct PopupHooks {
    // List1Click: bring the schedule list window to the front, or open it
    // (the settings dialog instead when no data folder is set). Run whenever
    // a popup window is shown and [Form] Exec_List is on.
    std::function<void()> showScheduleList;
    // Close the schedule list window when it is open. Run whenever a popup
    // window closes and [Form] Kill_List is on.
    std::function<void()> closeScheduleList;

    // Start the reminder mail for a presented popup: the text of its text
    // box (UTF-8, LF between lines) and its date panel text. Must not wait
    // for the conversation.
    std::function<void(const std::string& text, const std::string& dateText)> sendReminderMail;
    // The main window's date, time and resource panels olive while a
    // reminder mail is being started (true), back to black (false).
    std::function<void(bool olive)> setMainPanelsOlive;

    // The popup editor's close: the schedule list rebuilds its list when it
    // is open and `date` lies in the period it shows (an entry was added to
    // that day's schedule).
    std::function<void(DateTime date)> scheduleListEntryAdded;
    // The popup editor's close: when the schedule management window is open,
    // bring it to the front and rerun its current listing.
    std::function<void()> refreshScheduleManagement;
    // The popup editor's close: rebuild the main calendar's day marks.
    std::function<void()> refreshCalendarMarks;
};

// The hooks in force; the main window sets them once, tests set their own.
PopupHooks& popupHooks();
void setPopupHooks(PopupHooks hooks);

}  // namespace hinagiku::schedule
