// Hinagiku: the resident desktop calendar and organiser.
//
// Program entry: one copy per home folder (a second start ends at once,
// silently, with status 0), the application titled "Hinagiku", the main
// window whose creation runs the start-up sequence, the event loop, and the
// lock released when the program ends.
#include <QByteArray>
#include <QIcon>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "birthday/ui/birthday_greeting.h"
#include "birthday/ui/birthday_register.h"
#include "core/home_folder.h"
#include "core/ui/application.h"
#include "core/ui/password_gate.h"
#include "core/ui/session_end.h"
#include "core/ui/settings/settings_dialog.h"
#include "cycle/ui/cycle_open.h"
#include "diary/ui/diary_tool.h"
#include "mail/ui/mail_tool.h"
#include "mail/ui/panel_colors.h"
#include "mainwindow/ui/calendar_ex.h"
#include "mainwindow/ui/main_window.h"
#include "mainwindow/ui/main_window_settings_host.h"
#include "memo/ui/memo_list_window.h"
#include "memo/ui/memo_windows.h"
#include "phonebook/ui/phone_book_tool.h"
#include "platform/clock.h"
#include "platform/profile_file.h"
#include "platform/single_instance.h"
#include "schedule/agenda/ui/agenda_tools.h"
#include "schedule/ui/popup_editor.h"
#include "schedule/ui/popup_hooks.h"
#include "schedule/ui/popup_presenter.h"
#include "todo/ui/todo_tool.h"
#include "tools/ui/tools_wiring.h"

namespace {

// X11 is the platform the window placement, stay-on-top, outline and hot
// key are made for: in a Wayland session the program runs through XWayland.
void preferX11() {
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        return;
    if (qEnvironmentVariableIsSet("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

// One copy per home folder: copies with different settings files share
// nothing, and tests can run side by side.
std::string lockName(const std::filesystem::path& home) {
    std::error_code ec;
    const std::string path = std::filesystem::weakly_canonical(home, ec).string();
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a: stable across builds
    for (const unsigned char c : path)
        hash = (hash ^ c) * 1099511628211ull;
    char text[32];
    std::snprintf(text, sizeof text, "hinagiku-%016llx", static_cast<unsigned long long>(hash));
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace hinagiku;
    auto instance = platform::SingleInstance::tryAcquire(lockName(core::homeFolder()));
    if (!instance)
        return EXIT_SUCCESS;

    preferX11();
    core::Application app(argc, argv);
    // The daisy of the application menu, also on the windows and the tray.
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/hinagiku_%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
    QGuiApplication::setDesktopFileName(QStringLiteral("org.hinagiku.Hinagiku"));
    core::installFolderDialogs();

    core::ensureHomeFolder();
    platform::ProfileFile settings(core::settingsFilePath());
    platform::SystemClock clock;
    schedule::PopupPresenter popups(settings);

    mainwindow::MainWindow window(settings, clock, core::homeFolder());
    mainwindow::MainWindowHooks hooks;
    hooks.loadPopupEntry = [&](const schedule::PopupLoad& entry) { popups.loadPopupEntry(entry); };
    hooks.presentPopup = [&](std::uint64_t batch, const std::string& path, DateTime labelTime) {
        popups.presentPopup(batch, path, labelTime);
    };

    // Birthdays: the register (save and delete refresh the day view, the
    // calendar marks and the memo menu) and the tick's daily greeting.
    const auto openBirthdays = [&] {
        birthday::openBirthdayRegister(settings, clock, {[&] {
                                           window.CalendarEx1Change();
                                           window.refreshCalendarMarks();
                                           window.rebuildMemoMenu();
                                       }});
    };
    window.setTool(mainwindow::Tool::Birthdays,
                   {openBirthdays, [] { return birthday::openRegister() != nullptr; }});
    hooks.showBirthdayGreeting = [&, openBirthdays] {
        birthday::showBirthdayGreeting(settings, clock.now(), openBirthdays);
    };
    // The cycle tracker passes the privacy gate and the folder rules itself.
    window.setTool(mainwindow::Tool::Period,
                   {[&] { cycle::openCycleTracker(settings, clock, window.selectedDate()); },
                    [] { return cycle::openCycleWindow() != nullptr; }});

    // Memos: the memo menu, and the memos left open reopened at start-up
    // (both start-up calls reach it; each memo opens once).
    memo::setMemoHost({[&] { return window.frameGeometry(); },
                       [&] {
                           window.rebuildMemoMenu();
                           memo::refreshMemoList();
                       }});
    hooks.loadMemoSlots = [&] { memo::reopenShownMemos(settings); };
    hooks.reopenShownMemos = [&] { memo::reopenShownMemos(settings); };
    hooks.fillMemoMenu = [&](QMenu* menu) { memo::fillMemoMenu(menu, settings); };
    // The memo list, once, with the reorder window behind it.
    window.setTool(mainwindow::Tool::MemoList, {[&] { memo::openMemoList(settings); },
                                                [] { return memo::memoList() != nullptr; }});

    // Diary: the list behind the privacy gate; the pages open from it and
    // from the jump window.
    diary::ui::DiaryTool diary(settings, clock);
    // To-do windows: the schedule editor, the jump window, the schedule list
    // and the schedule management window.
    schedule::AgendaTools agenda(
        settings, clock,
        {.calendarDate =
             [&] {
                 const auto* c = window.calendar();
                 return CivilDate{c->year(), c->month(), c->day()};
             },
         .setCalendarDate =
             [&](const CivilDate& d) { window.calendar()->setDate(d.year, d.month, d.day); },
         .refreshDayView = [&] { window.CalendarEx1Change(); },
         .refreshCalendarMarks = [&] { window.refreshCalendarMarks(); },
         .mainWindowWidth = [&] { return window.width(); },
         .openDiary =
             [&](const CivilDate& d) {
                 if (const auto day = encodeDate(d))
                     diary.openDay(*day);
             },
         .editorClosed = {}});
    hooks.scheduleListBackToToday = [&] { agenda.scheduleListBackToToday(); };
    window.setTool(mainwindow::Tool::ScheduleRegistration, {[&] { agenda.openToDoEditor(); }, {}});
    window.setTool(mainwindow::Tool::JumpToDate,
                   {[&] { agenda.showJump(); }, [&] { return agenda.jumpOpen(); }});
    window.setTool(mainwindow::Tool::ScheduleList,
                   {[&] { agenda.showScheduleList(); }, [&] { return agenda.scheduleListOpen(); }});
    window.setTool(mainwindow::Tool::ScheduleManagement,
                   {[&] { agenda.showManagement(); }, [&] { return agenda.managementOpen(); }});
    agenda.installPopupHooks();

    tools::addToolHooks(hooks, window, settings);
    // Mail: the check with its result window, the settings window, the
    // reminder mail of presented popups.
    mail::MailTool mailTool(
        settings, clock,
        {[&](mail::PanelColor color) {
             mail::paintPanels({window.dateField(), window.timeField(), window.resourceField()},
                               color);
         },
         [&](int minutes) { window.popupTimer().setMailCountdown(minutes); },
         [&] { window.startMailer(); }});
    hooks.checkMail = [&] { mailTool.checkFromTick(); };
    window.setTool(mainwindow::Tool::MailCheck, {[&] { mailTool.checkFromMenu(); }, {}});
    window.setTool(mainwindow::Tool::MailSettings,
                   {[&] { mailTool.openSettings(); }, [&] { return mailTool.settingsOpen(); }});
    schedule::popupHooks().sendReminderMail = [&](const std::string& text,
                                                  const std::string& dateText) {
        mailTool.sendReminderMail(text, dateText);
    };

    window.setHooks(std::move(hooks));
    tools::installTools(window, settings, clock);

    // The settings dialog and the privacy lock.
    mainwindow::MainWindowSettingsHost settingsHost(window);
    core::installSettingsDialog(settings, settingsHost);
    core::installPasswordGate(settings, clock);

    // Popup editors may be open several at a time, one per request.
    window.setTool(
        mainwindow::Tool::PopupRegistration,
        {[&] { schedule::openPopupEditor(settings, clock, window.selectedDate()); }, {}});

    // The phone book: privacy gate, data folder and its Tel folder, then open or raise.
    window.setTool(mainwindow::Tool::PhoneBook, {[&] { phonebook::openPhoneBook(settings); },
                                                 [] { return phonebook::phoneBookOpen(); }});
    window.setTool(mainwindow::Tool::DiaryList,
                   {[&] { diary.open(); }, [&] { return diary.isOpen(); }});

    // ToDo board: one window; it saves itself at session end.
    todo::ui::TodoTool todoBoard(settings, clock);
    window.setTool(mainwindow::Tool::TodoBoard,
                   {[&] { todoBoard.open(); }, [&] { return todoBoard.isOpen(); }});

    // Windows holding unsaved data save on every way the program ends.
    core::SessionEnd::instance().installSignalHandlers();
    QObject::connect(&window, &mainwindow::MainWindow::closed, &app, [] {
        core::SessionEnd::instance().end();
        QApplication::quit();
    });
    window.FormCreate();
    return app.exec();
}
