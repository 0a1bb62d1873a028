#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "calendar/date_time.h"
#include "mainwindow/day_view.h"
#include "mainwindow/main_menu_rules.h"
#include "mainwindow/system_power.h"
#include "mainwindow/ui/pop_viewer.h"
#include "mainwindow/window_modes.h"
#include "platform/clock.h"
#include "platform/hot_key.h"
#include "platform/settings.h"
#include "schedule/popup_timer.h"
#include "schedule/tick_host.h"

namespace hinagiku::mainwindow {

class TCalendarEx;
class TDRClock;
class TMoon;
class TPanelButton;
class TTrayIcon;

// The tool windows the main window opens from its buttons, menus, tray
// icons and the pop viewer. They belong to other parts of the program and
// are plugged in with MainWindow::setTool; a tool without a hook is shown
// disabled.
enum class Tool {
    PopupRegistration,
    ScheduleRegistration,
    ScheduleList,
    ScheduleManagement,
    JumpToDate,
    PhoneBook,
    MemoList,
    DiaryList,  // List2Click, with its privacy prompt
    Period,
    MailCheck,  // mailcheckClick; also the tick's periodic check
    MailSettings,
    TodoBoard,
    Birthdays,
    DayCalculator,
    CountdownTimer,
    FileAssociations,
    LauncherEditor,
};
inline constexpr int kToolCount = static_cast<int>(Tool::LauncherEditor) + 1;

struct ToolHook {
    // Opens the window, or brings it to the front when it is open.
    std::function<void()> open;
    // Whether it is open (the menu item's check mark); may be empty.
    std::function<bool()> isOpen;
};

// The rest of the program's part in the main window's work.
struct MainWindowHooks {
    // Start-up: load the ten memo slots (the busy notice is shown around it).
    std::function<void()> loadMemoSlots;
    // The launcher items (above the launcher menu's fixed items) and the
    // memo items (above "メモ一覧").
    std::function<void(QMenu* menu)> fillLauncherMenu;
    std::function<void(QMenu* menu)> fillMemoMenu;
    // The command box: run the typed command.
    std::function<void(const QString& command)> runCommand;
    // Files dropped with Ctrl held: open each through the file associations.
    std::function<void(const std::vector<std::string>& paths)> openWithAssociations;
    // The main timer's calls into other windows (see schedule::TickHost).
    std::function<void()> reopenShownMemos;
    std::function<void()> scheduleListBackToToday;
    std::function<void()> showBirthdayGreeting;
    std::function<void(const schedule::PopupLoad& entry)> loadPopupEntry;
    std::function<void(std::uint64_t batch, const std::string& path, DateTime labelTime)>
        presentPopup;
};

// The main window: a borderless 240-pixel panel with the drag bar, the
// button bar, the info row (date, time, resource meter), the month row and
// the calendar grid or the moon panel; three modes of different height;
// the program's menus, tray icons and drop target; the main timer.
class MainWindow : public QWidget {
    Q_OBJECT

  public:
    // `settings`, `clock` and the objects set later must outlive the window.
    // `home` is the folder of the settings file (help pages, default data
    // folder).
    MainWindow(platform::Settings& settings, const platform::Clock& clock,
               std::filesystem::path home, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Plug-ins; set them before FormCreate (tools may also come later).
    void setTool(Tool tool, ToolHook hook);
    void setHooks(MainWindowHooks hooks);
    // Where shutdown and restart go (default: logind).
    void setSystemPower(SystemPower* power);
    // Where warnings go (default: a message box titled "Hinagiku").
    void setWarningSink(std::function<void(const QString&)> sink);

    // The start-up sequence; the window is visible in its restored mode
    // afterwards and the main timer runs.
    void FormCreate();

    // --- what other windows ask of the main window ---
    // The date selected in the calendar.
    DateTime selectedDate() const;
    // The refresh of the selected day (after a schedule entry is saved or
    // deleted elsewhere).
    void CalendarEx1Change();
    // The calendar marks of the displayed month (FormActivate).
    void refreshCalendarMarks();
    void rebuildLauncherMenu();
    void rebuildMemoMenu();
    schedule::PopupTimer& popupTimer() { return *popupTimer_; }
    TTrayIcon* launcherTrayIcon() const { return launcherIcon_; }
    TTrayIcon* memoTrayIcon() const { return memoIcon_; }
    // The date, time and resource fields olive while a reminder mail starts.
    void setInfoPanelsOlive(bool olive);
    // The settings dialog's changes that act at once.
    void setTimerPeriod(int milliseconds);
    void applyCalendarColors();
    void miniClockBaseChanged(bool ticked);
    void openTool(Tool tool);
    bool toolAvailable(Tool tool) const;

    // --- handlers ---
    void Panel2DblClick();  // the mode cycle
    void hotKeyPressed();   // the launcher hot key
    void FormDeactivate();
    void ApplicationOnactivate();
    void ApplicationOnDeactivate();
    void CalendarEx1Click();
    void CalendarEx1DblClick();
    void BitBtn1Click();  // next month
    void BitBtn2Click();  // previous month
    void BitBtn7Click();  // back to today
    void K7Click();       // view menu: moon panel
    void K8Click();       // view menu: calendar
    void Panel8DblClick();
    void Panel9DblClick();
    void Help1Click();
    void KGClock2Click();   // end the program
    void KWindows1Click();  // power off
    void KWindows2Click();  // restart
    void startMailer();
    void dropFiles(const std::vector<std::string>& paths, Qt::KeyboardModifiers modifiers);
    void runInfoAction();  // double-click of the info row and the memo tray icon

    // --- state, for the windows' own tests ---
    const WindowState& windowState() const { return state_; }
    bool moonPanelShown() const;
    bool buttonBarShown() const;
    int infoRowTop() const;
    PopViewRequest popViewRequest() const { return popViewRequest_; }
    PopViewer* popViewer() const { return popViewer_; }
    const DayView& dayView() const { return dayView_; }
    TCalendarEx* calendar() const { return calendar_; }
    TDRClock* analogClock() const { return clock_; }
    TMoon* moonPicture() const { return moon_; }
    QLabel* dateField() const { return dateLabel_; }
    QLabel* timeField() const { return timeLabel_; }
    QLabel* resourceField() const { return resourceLabel_; }
    QLabel* yearField() const { return yearLabel_; }
    QLabel* monthField() const { return monthLabel_; }
    QLabel* julianDateField() const { return julianLabel_; }
    QLabel* moonAgeField() const { return ageLabel_; }
    QLabel* moonPhaseField() const { return phaseLabel_; }
    TPanelButton* todayButton() const { return todayButton_; }
    QLineEdit* commandBox() const { return commandBox_; }
    QMenu* mainMenu() const { return mainMenu_; }
    QMenu* memoMenu() const { return memoMenu_; }
    QMenu* launcherMenu() const { return launcherMenu_; }
    QMenu* viewMenu() const { return viewMenu_; }
    // The menu item with this caption (searched through the submenus).
    QAction* menuItem(QMenu* menu, const QString& caption) const;
    const QTimer& mainTimer() const { return timer_; }
    bool stayOnTop() const;

  signals:
    void closed();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    class TickHostImpl;
    friend class TickHostImpl;

    void buildDragBar();
    void buildButtonBar();
    void buildInfoRow();
    void buildMonthRow();
    void buildMoonPanel();
    void buildMenus();
    void buildTrayIcons();

    ScreenRect screenRect() const;
    void syncPositionFromWindow();
    void applyState(const WindowState& state, bool hideDuringChange);
    void layoutForState();
    void setDragBarActive(bool active);
    void setMoonPanel(bool shown, bool store);
    void applyTaskbarAndTray();
    void applyStayOnTop();
    void showPopViewer();
    void updateToolButtons();
    void PopupMenu1Popup();
    void PopupMenu2Popup();
    void PopupMenu3Popup();
    void popupMenu(QMenu* menu);
    void goToDate(int year, int month, int day);
    void backToToday();
    void refreshDisplays(DateTime now, DateTime universal);
    void warn(const QString& text);
    void dragBarPressed(QMouseEvent* event);

    platform::Settings& settings_;
    const platform::Clock& clockSource_;
    std::filesystem::path home_;
    std::array<ToolHook, kToolCount> tools_;
    MainWindowHooks hooks_;
    std::unique_ptr<SystemPower> ownPower_;
    SystemPower* power_;
    std::function<void(const QString&)> warningSink_;

    std::unique_ptr<TickHostImpl> tickHost_;
    std::unique_ptr<schedule::PopupTimer> popupTimer_;
    QTimer timer_;
    std::unique_ptr<platform::HotKey> hotKey_;

    WindowState state_;
    bool appActive_ = true;
    bool started_ = false;
    int lastMonthKey_ = 0;
    PopViewRequest popViewRequest_ = PopViewRequest::None;
    DayView dayView_;
    QPointer<PopViewer> popViewer_;

    // Dragging: the position is stored after the move ends.
    bool awaitMoveStore_ = false;
    QTimer moveStoreTimer_;
    bool manualDrag_ = false;
    QPoint dragOffset_;

    QWidget* dragBar_ = nullptr;
    QWidget* buttonBar_ = nullptr;
    QWidget* infoRow_ = nullptr;
    QWidget* monthRow_ = nullptr;
    QWidget* moonPanel_ = nullptr;
    QLabel* dateLabel_ = nullptr;
    QLabel* timeLabel_ = nullptr;
    QLabel* resourceLabel_ = nullptr;
    QLabel* yearLabel_ = nullptr;
    QLabel* monthLabel_ = nullptr;
    QLabel* julianLabel_ = nullptr;
    QLabel* phaseLabel_ = nullptr;
    QLabel* ageLabel_ = nullptr;
    TPanelButton* todayButton_ = nullptr;
    QLineEdit* commandBox_ = nullptr;
    TPanelButton* runButton_ = nullptr;
    std::vector<std::pair<TPanelButton*, Tool>> toolButtons_;
    TCalendarEx* calendar_ = nullptr;
    TDRClock* clock_ = nullptr;
    TMoon* moon_ = nullptr;
    TTrayIcon* launcherIcon_ = nullptr;
    TTrayIcon* memoIcon_ = nullptr;
    QMenu* mainMenu_ = nullptr;
    QMenu* memoMenu_ = nullptr;
    QMenu* launcherMenu_ = nullptr;
    QMenu* viewMenu_ = nullptr;
    QAction* viewCalendar_ = nullptr;
    QAction* viewMoon_ = nullptr;
    std::vector<std::pair<QAction*, Tool>> toolActions_;
};

}  // namespace hinagiku::mainwindow
