// The main window's calendar side: the moon panel, moving between months and
// days, clicks on the calendar, its marks and the pop viewer of a day.
#include <QDate>
#include <QLabel>
#include <QMouseEvent>

#include "calendar/format_date.h"
#include "calendar/moon.h"
#include "core/data_folders.h"
#include "core/sound_cues.h"
#include "core/ui/action_guard.h"
#include "core/ui/application.h"
#include "mainwindow/month_navigation.h"
#include "mainwindow/ui/calendar_ex.h"
#include "mainwindow/ui/color_value.h"
#include "mainwindow/ui/main_window.h"
#include "mainwindow/ui/main_window_layout.h"
#include "mainwindow/ui/moon_view.h"
#include "mainwindow/ui/pop_viewer.h"
#include "schedule/day_marks.h"

namespace hinagiku::mainwindow {

using namespace layout;

// ---------------------------------------------------------------- moon panel

bool MainWindow::moonPanelShown() const {
    return !moonPanel_->isHidden();
}

void MainWindow::setMoonPanel(bool shown, bool store) {
    moonPanel_->setVisible(shown);
    if (shown)
        moonPanel_->raise();
    if (store) {
        core::PlaySoundCue(settings_, "c1");
        settings_.writeBool("Form", "MoonPhase", shown);
    }
}

void MainWindow::K7Click() {
    if (state_.height > kBaseHeight)
        setMoonPanel(true, true);
}

void MainWindow::K8Click() {
    if (state_.height > kBaseHeight)
        setMoonPanel(false, true);
}

void MainWindow::Panel8DblClick() {
    setMoonPanel(true, true);
}
void MainWindow::Panel9DblClick() {
    setMoonPanel(false, true);
}

// ---------------------------------------------------------------- calendar

DateTime MainWindow::selectedDate() const {
    const auto date = encodeDate(calendar_->year(), calendar_->month(), calendar_->day());
    return date ? *date : dayNumber(clockSource_.now());
}

void MainWindow::goToDate(int year, int month, int day) {
    calendar_->setDate(year, month, day);
}

void MainWindow::BitBtn1Click() {
    const GridDate next = nextMonthDate({calendar_->year(), calendar_->month(), calendar_->day()});
    goToDate(next.year, next.month, next.day);
}

void MainWindow::BitBtn2Click() {
    const GridDate previous =
        previousMonthDate({calendar_->year(), calendar_->month(), calendar_->day()});
    goToDate(previous.year, previous.month, previous.day);
}

void MainWindow::BitBtn7Click() {
    const CivilDate today = decodeDate(clockSource_.now());
    goToDate(today.year, today.month, today.day);
}

void MainWindow::backToToday() {
    const CivilDate today = decodeDate(clockSource_.now());
    // The day view is rebuilt even when the calendar already shows today.
    if (!calendar_->setDate(today.year, today.month, today.day))
        CalendarEx1Change();
}

void MainWindow::CalendarEx1Click() {
    if (settings_.readBool("CalendarEx", "PopView", false)) {
        popViewRequest_ = PopViewRequest::Requested;
    }
}

void MainWindow::CalendarEx1DblClick() {
    switch (calendarDoubleClickAction(settings_)) {
        case CalendarAction::PopupRegistration:
            openTool(Tool::PopupRegistration);
            break;
        case CalendarAction::ScheduleRegistration:
            openTool(Tool::ScheduleRegistration);
            break;
        case CalendarAction::ScheduleManagement:
            openTool(Tool::ScheduleManagement);
            break;
        case CalendarAction::JumpToDate:
            openTool(Tool::JumpToDate);
            break;
        case CalendarAction::DiaryList:
            openTool(Tool::DiaryList);
            break;
    }
}

void MainWindow::refreshCalendarMarks() {
    const schedule::DayMarks marks =
        schedule::FormActivate(calendar_->year(), calendar_->month(), settings_);
    calendar_->setTypeOfDayList(marks.holidays);
    calendar_->setSpecialDayList(marks.specialDays);
}

void MainWindow::CalendarEx1Change() {
    const int monthKey = calendar_->year() * 100 + calendar_->month();
    if (monthKey != lastMonthKey_) {
        lastMonthKey_ = monthKey;
        refreshCalendarMarks();
    }
    const DateTime date = selectedDate();
    const DateTime now = clockSource_.now();
    todayButton_->setEnabled(dayNumber(date) != dayNumber(now));
    yearLabel_->setText(QString::number(calendar_->year()));
    monthLabel_->setText(QString::number(calendar_->month()));

    bool special = false;
    for (const auto& line : calendar_->specialDayList()) {
        const DayListEntry entry = parseDayListEntry(line);
        if (entry.month == calendar_->month() && entry.day == calendar_->day())
            special = true;
    }
    dayView_ = buildDayView(date, now, settings_, special);
    setFieldColors(monthLabel_, colorFromValue(kSysWindow, QApplication::palette()),
                   calendar_->color(dayView_.monthPanel));

    if (popViewRequest_ == PopViewRequest::Requested) {
        popViewRequest_ = PopViewRequest::Open;
        showPopViewer();
    }
    if (!dayView_.errors.empty()) {
        QStringList lines;
        for (const auto& e : dayView_.errors)
            lines << qs(e);
        core::reportError(lines.join(QLatin1Char('\n')));
    }
}

void MainWindow::showPopViewer() {
    if (popViewer_) {
        // The earlier viewer gives way; this one keeps the request.
        PopViewer* old = popViewer_;
        popViewer_ = nullptr;
        old->disconnect(this);
        old->close();
    }
    auto* viewer = new PopViewer(settings_);
    popViewer_ = viewer;
    const DateTime now = clockSource_.now();
    viewer->setContent(qs(popViewCaption(selectedDate(), now)), dayView_.lines,
                       colorFromValue(dayView_.textColor, QApplication::palette()),
                       colorFromValue(dayView_.backColor, QApplication::palette()));
    const std::pair<PopViewer::Button, Tool> buttons[] = {
        {PopViewer::Button::PopupRegistration, Tool::PopupRegistration},
        {PopViewer::Button::ScheduleRegistration, Tool::ScheduleRegistration},
        {PopViewer::Button::Birthdays, Tool::Birthdays},
        {PopViewer::Button::DiaryList, Tool::DiaryList},
        {PopViewer::Button::ScheduleManagement, Tool::ScheduleManagement},
        {PopViewer::Button::ScheduleList, Tool::ScheduleList},
        {PopViewer::Button::TodoBoard, Tool::TodoBoard},
        {PopViewer::Button::PhoneBook, Tool::PhoneBook},
    };
    for (const auto& [button, tool] : buttons) {
        std::function<void()> action;
        if (toolAvailable(tool))
            action = [this, tool = tool] { openTool(tool); };
        viewer->setButtonAction(button, std::move(action));
    }
    connect(viewer, &PopViewer::closed, this, core::guard([this, viewer] {
                if (popViewer_ == viewer) {
                    popViewer_ = nullptr;
                    popViewRequest_ = PopViewRequest::None;
                }
            }));
    const QPoint cursor = QCursor::pos();
    viewer->placeNear(cursor);
    viewer->show();
    // Once shown, the frame is known: the whole window is kept on screen.
    viewer->placeNear(cursor);
    viewer->raise();
    viewer->activateWindow();
}

}  // namespace hinagiku::mainwindow
