#pragma once

#include <functional>

#include "calendar/date_time.h"
#include "schedule/agenda/todo_choice.h"

namespace hinagiku::schedule {

// What the to-do windows ask of the main window. Empty functions do
// nothing (tests leave out what they do not watch).
struct AgendaHost {
    // The date selected in the main calendar, as the calendar shows it.
    std::function<CivilDate()> calendarDate;
    // Sets the main calendar to a date (which refreshes the day view).
    std::function<void(const CivilDate&)> setCalendarDate;
    // CalendarEx1Change and FormActivate after an entry is saved or deleted.
    std::function<void()> refreshDayView;
    std::function<void()> refreshCalendarMarks;
    // The main window's width: the editor's and the list's width.
    std::function<int()> mainWindowWidth;
    // "日記を綴る" of the jump window: the diary page of a date; empty while
    // there is no diary.
    std::function<void(const CivilDate&)> openDiary;
    // After a schedule editor closed: the schedule list and the management
    // window refresh, then the calendar marks (refreshCalendarMarks is not
    // called separately when this is set).
    std::function<void(const ToDoChoice&)> editorClosed;
};

}  // namespace hinagiku::schedule
