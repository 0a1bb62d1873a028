#pragma once

#include <QObject>
#include <QPointer>

#include "platform/clock.h"
#include "platform/settings.h"
#include "schedule/agenda/ui/agenda_host.h"

namespace hinagiku::schedule {

class JumpWindow;
class ScheduleListWindow;
class ScheduleManagementWindow;
class ToDoEditor;

// The to-do windows as the main window opens them: editors one per request,
// the jump window, the schedule list and the management window one at a
// time. Also what the popups and the main timer ask of them.
class AgendaTools : public QObject {
    Q_OBJECT
  public:
    AgendaTools(platform::Settings& settings, const platform::Clock& clock, AgendaHost host,
                QObject* parent = nullptr);
    ~AgendaTools() override;

    // Todo1Click for a date of the main calendar.
    ToDoEditor* openToDoEditor();
    // Jump1Click, List1Click, Data2Click: open or bring to the front.
    void showJump();
    void showScheduleList();
    void showManagement();
    bool jumpOpen() const;
    bool scheduleListOpen() const;
    bool managementOpen() const;
    JumpWindow* jump() const;
    ScheduleListWindow* scheduleList() const;
    ScheduleManagementWindow* management() const;

    // [Form] Kill_List: the popup window closed.
    void closeScheduleList();
    // The tick's change of date: the list back to today and rebuilt.
    void scheduleListBackToToday();
    // The popup editor added text to the dated entry of `date`.
    void scheduleListEntryAdded(DateTime date);
    // The popup editor closed: the management window's listing again.
    void refreshManagement();
    // Installs the functions above as the popup windows' hooks.
    void installPopupHooks();

    // The host the windows get: the main window's, with the editors' close
    // handling of this object.
    const AgendaHost& host() const { return windowHost_; }

  private:
    void editorClosed(const ToDoChoice& choice);

    platform::Settings& settings_;
    const platform::Clock& clock_;
    AgendaHost host_;
    AgendaHost windowHost_;  // host_ with the editors' close handling
    QPointer<JumpWindow> jump_;
    QPointer<ScheduleListWindow> list_;
    QPointer<ScheduleManagementWindow> management_;
};

}  // namespace hinagiku::schedule
