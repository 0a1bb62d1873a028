#include "schedule/agenda/ui/agenda_tools.h"

#include "core/data_folders.h"
#include "core/ui/session_end.h"
#include "schedule/agenda/ui/jump_window.h"
#include "schedule/agenda/ui/schedule_list_window.h"
#include "schedule/agenda/ui/schedule_management_window.h"
#include "schedule/agenda/ui/todo_editor.h"
#include "schedule/ui/popup_hooks.h"

namespace hinagiku::schedule {
namespace {

void toFront(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace

AgendaTools::AgendaTools(platform::Settings& settings, const platform::Clock& clock,
                         AgendaHost host, QObject* parent)
    : QObject(parent), settings_(settings), clock_(clock), host_(std::move(host)) {
    windowHost_ = host_;
    windowHost_.editorClosed = [this](const ToDoChoice& choice) { editorClosed(choice); };
    // At the end of the program the windows keep their places and sizes.
    connect(&core::SessionEnd::instance(), &core::SessionEnd::ending, this, [this] {
        for (QWidget* window : std::initializer_list<QWidget*>{jump_, list_, management_}) {
            if (window != nullptr)
                window->close();
        }
    });
}

AgendaTools::~AgendaTools() {
    for (QWidget* window : std::initializer_list<QWidget*>{jump_, list_, management_})
        delete window;
}

bool AgendaTools::jumpOpen() const {
    return !jump_.isNull();
}
bool AgendaTools::scheduleListOpen() const {
    return !list_.isNull();
}
bool AgendaTools::managementOpen() const {
    return !management_.isNull();
}
JumpWindow* AgendaTools::jump() const {
    return jump_;
}
ScheduleListWindow* AgendaTools::scheduleList() const {
    return list_;
}
ScheduleManagementWindow* AgendaTools::management() const {
    return management_;
}

ToDoEditor* AgendaTools::openToDoEditor() {
    const CivilDate date = host_.calendarDate ? host_.calendarDate() : decodeDate(clock_.now());
    return schedule::openToDoEditor(settings_, clock_, windowHost_,
                                    correctedDate(date.year, date.month, date.day));
}

void AgendaTools::showJump() {
    if (!jump_)
        jump_ = new JumpWindow(settings_, clock_, windowHost_);
    toFront(jump_);
}

void AgendaTools::showScheduleList() {
    if (!list_)
        list_ = new ScheduleListWindow(settings_, clock_, windowHost_);
    toFront(list_);
}

void AgendaTools::showManagement() {
    if (!management_) {
        management_ = new ScheduleManagementWindow(settings_, clock_, windowHost_);
        management_->closed = [this](bool changed) {
            if (changed && list_)
                list_->build();
        };
    }
    toFront(management_);
}

void AgendaTools::closeScheduleList() {
    if (list_)
        list_->close();
}

void AgendaTools::scheduleListBackToToday() {
    if (list_)
        list_->backToTodayAndBuild();
}

void AgendaTools::scheduleListEntryAdded(DateTime date) {
    if (!list_)
        return;
    const Agenda& agenda = list_->agenda();
    if (dayNumber(date) >= dayNumber(agenda.first) && dayNumber(date) <= dayNumber(agenda.last))
        list_->build();
}

void AgendaTools::refreshManagement() {
    if (!management_)
        return;
    management_->raise();
    management_->relist();
}

void AgendaTools::editorClosed(const ToDoChoice&) {
    // Every entry an editor touched may show in the list's range (shifted
    // yearly and monthly entries, weekday entries): a rebuild is cheap.
    if (list_)
        list_->build();
    if (management_)
        management_->relist();
    if (host_.refreshCalendarMarks)
        host_.refreshCalendarMarks();
}

void AgendaTools::installPopupHooks() {
    PopupHooks& hooks = popupHooks();
    hooks.showScheduleList = [this] {
        if (core::RequireDataFolder(settings_))
            showScheduleList();
    };
    hooks.closeScheduleList = [this] { closeScheduleList(); };
    hooks.scheduleListEntryAdded = [this](DateTime date) { scheduleListEntryAdded(date); };
    hooks.refreshScheduleManagement = [this] { refreshManagement(); };
}

}  // namespace hinagiku::schedule
