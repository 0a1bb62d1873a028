#include "mainwindow/ui/main_window.h"

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QCursor>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QUrl>
#include <QWindow>
#include <exception>

#include "calendar/format_date.h"
#include "calendar/moon.h"
#include "core/command_text.h"
#include "core/data_folders.h"
#include "core/sound_cues.h"
#include "core/startup.h"
#include "core/ui/action_guard.h"
#include "core/ui/application.h"
#include "core/ui/busy_notice.h"
#include "core/ui/settings_dialog_hook.h"
#include "mainwindow/drop_text.h"
#include "mainwindow/ui/calendar_ex.h"
#include "mainwindow/ui/color_value.h"
#include "mainwindow/ui/dr_clock.h"
#include "mainwindow/ui/main_window_layout.h"
#include "mainwindow/ui/moon_view.h"
#include "mainwindow/ui/panel_button.h"
#include "mainwindow/ui/pop_viewer.h"
#include "mainwindow/ui/tool_button.h"
#include "mainwindow/ui/tray_icon.h"
#include "platform/memory_status.h"
#include "platform/program_launcher.h"
#include "schedule/ui/popup_hooks.h"

namespace hinagiku::mainwindow {
namespace {

using namespace layout;

const QString kTitle = QStringLiteral("Hinagiku");
const char* const kHelpMissing = "ヘルプファイルが正しくインストールされていません。";
const char* const kDropFailed =
    "現在ツールウィンドウにドロップ出来ません。\r一旦閉じてからまた開いて再度行って下さい。";

// The stored colour with the main window's design colour as its default.
QColor storedColor(const platform::Settings& settings, const char* key, int fallback,
                   const QPalette& palette) {
    return colorFromValue(settings.readInt("CalendarEx", key, fallback), palette);
}

// Sets the text in the largest font, at most the row's own, in which all of
// it fits the field: the resource meter's text is longer than its field on
// machines with more than 10 GB.
void setFittedText(QLabel* field, const QString& text) {
    if (field->text() == text)
        return;
    QFont font = field->parentWidget()->font();
    const qreal room = field->width() - 2;
    const bool points = font.pointSizeF() > 0;
    qreal size = points ? font.pointSizeF() : font.pixelSize();
    while (QFontMetricsF(font).horizontalAdvance(text) > room && size > 4) {
        size -= points ? 0.5 : 1;
        if (points)
            font.setPointSizeF(size);
        else
            font.setPixelSize(static_cast<int>(size));
    }
    field->setFont(font);
    field->setText(text);
}

// Tools whose windows keep their data in the data folder: without one the
// settings dialog opens instead.
bool needsDataFolder(Tool tool) {
    switch (tool) {
        case Tool::PopupRegistration:
        case Tool::ScheduleRegistration:
        case Tool::ScheduleList:
        case Tool::ScheduleManagement:
        case Tool::MemoList:
        case Tool::TodoBoard:
        case Tool::Birthdays:
        case Tool::LauncherEditor:
            return true;
        // The diary list, the phone book and the cycle tracker pass the
        // privacy lock first and check the data folder in their own hooks,
        // so that a refused password reads and creates nothing.
        default:
            return false;
    }
}

}  // namespace

// The main timer's calls, answered by the main window or passed on to the
// windows plugged in.
class MainWindow::TickHostImpl final : public schedule::TickHost {
  public:
    explicit TickHostImpl(MainWindow& window) : w_(window) {}

    void reopenShownMemos() override { call(w_.hooks_.reopenShownMemos); }
    void scheduleListBackToToday() override { call(w_.hooks_.scheduleListBackToToday); }
    void calendarBackToToday() override { w_.backToToday(); }
    void showBirthdayGreeting() override { call(w_.hooks_.showBirthdayGreeting); }
    void playSoundFile(const std::string& path) override { core::PlaySoundFile(path); }
    void openDiaryList() override { w_.openTool(Tool::DiaryList); }
    void loadPopupEntry(const schedule::PopupLoad& entry) override {
        if (!w_.hooks_.loadPopupEntry) {
            throw std::runtime_error("ポップアップウィンドウを開けません: " + entry.path);
        }
        w_.hooks_.loadPopupEntry(entry);
    }
    void presentPopup(std::uint64_t batch, const std::string& path, DateTime labelTime) override {
        if (w_.hooks_.presentPopup)
            w_.hooks_.presentPopup(batch, path, labelTime);
    }
    void checkMail() override {
        if (w_.hooks_.checkMail) {
            w_.hooks_.checkMail();
            return;
        }
        if (w_.toolAvailable(Tool::MailCheck))
            w_.tools_[static_cast<int>(Tool::MailCheck)].open();
    }
    void refreshDisplays(DateTime now, DateTime universal) override {
        w_.refreshDisplays(now, universal);
    }
    void reportError(const std::string& message) override { core::reportError(qs(message)); }

  private:
    static void call(const std::function<void()>& f) {
        if (f)
            f();
    }
    MainWindow& w_;
};

MainWindow::MainWindow(platform::Settings& settings, const platform::Clock& clock,
                       std::filesystem::path home, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      settings_(settings),
      clockSource_(clock),
      home_(std::move(home)),
      ownPower_(std::make_unique<LogindPower>()),
      power_(ownPower_.get()) {
    setWindowTitle(kTitle);
    QFont small = font();
    small.setPixelSize(10);
    setFont(small);
    setFixedWidth(kWindowWidth);
    resize(kWindowWidth, kBaseHeight);

    buildMoonPanel();
    buildMonthRow();
    buildButtonBar();
    buildInfoRow();
    buildDragBar();
    buildMenus();
    buildTrayIcons();

    tickHost_ = std::make_unique<TickHostImpl>(*this);
    popupTimer_ = std::make_unique<schedule::PopupTimer>(clockSource_, settings_, *tickHost_);
    connect(&timer_, &QTimer::timeout, this, core::guard([this] { popupTimer_->Timer1Timer(); }));

    moveStoreTimer_.setSingleShot(true);
    moveStoreTimer_.setInterval(400);
    connect(&moveStoreTimer_, &QTimer::timeout, this, core::guard([this] {
        awaitMoveStore_ = false;
        syncPositionFromWindow();
        ModeRules::storePosition(state_, settings_);
    }));

    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            core::guard([this](Qt::ApplicationState s) {
                if (s == Qt::ApplicationActive)
                    ApplicationOnactivate();
                else
                    ApplicationOnDeactivate();
            }));
    updateToolButtons();
}

MainWindow::~MainWindow() {
    timer_.stop();
    if (started_) {
        auto& popupHooks = schedule::popupHooks();
        popupHooks.refreshCalendarMarks = nullptr;
        popupHooks.setMainPanelsOlive = nullptr;
    }
    if (popViewer_)
        delete popViewer_.data();
}

// ---------------------------------------------------------------- plug-ins

void MainWindow::setTool(Tool tool, ToolHook hook) {
    tools_[static_cast<int>(tool)] = std::move(hook);
    updateToolButtons();
}

void MainWindow::setHooks(MainWindowHooks hooks) {
    hooks_ = std::move(hooks);
    runButton_->setEnabled(static_cast<bool>(hooks_.runCommand));
    rebuildLauncherMenu();
    rebuildMemoMenu();
}

void MainWindow::setSystemPower(SystemPower* power) {
    power_ = power != nullptr ? power : ownPower_.get();
}

void MainWindow::setWarningSink(std::function<void(const QString&)> sink) {
    warningSink_ = std::move(sink);
}

bool MainWindow::toolAvailable(Tool tool) const {
    return static_cast<bool>(tools_[static_cast<int>(tool)].open);
}

void MainWindow::updateToolButtons() {
    for (auto& [button, tool] : toolButtons_)
        button->setEnabled(toolAvailable(tool));
    for (auto& [action, tool] : toolActions_)
        action->setEnabled(toolAvailable(tool));
    if (runButton_ != nullptr)
        runButton_->setEnabled(static_cast<bool>(hooks_.runCommand));
}

void MainWindow::openTool(Tool tool) {
    if (!toolAvailable(tool))
        return;
    if (needsDataFolder(tool) && !core::RequireDataFolder(settings_))
        return;
    tools_[static_cast<int>(tool)].open();
}

void MainWindow::warn(const QString& text) {
    if (warningSink_) {
        warningSink_(text);
        return;
    }
    QApplication::beep();
    QMessageBox::warning(this, kTitle, text);
}

// ---------------------------------------------------------------- start-up

void MainWindow::FormCreate() {
    launcherIcon_->setTipHelp(QString::fromUtf8(kLauncherTip));
    hotKey_ = platform::registerHotKey(settings_.readInt("Form", "Hotkey", 0) == 0
                                           ? platform::HotKeyModifier::Super
                                           : platform::HotKeyModifier::Control,
                                       this);
    connect(hotKey_.get(), &platform::HotKey::activated, this,
            core::guard(this, &MainWindow::hotKeyPressed));
    setAcceptDrops(true);

    state_ = ModeRules::restore(settings_, screenRect());
    applyState(state_, false);
    setMoonPanel(settings_.readBool("Form", "MoonPhase", false), false);
    applyTaskbarAndTray();

    backToToday();
    core::checkDataFolder(settings_);
    bool openSettings = core::runFirstStart(settings_, home_);
    applyCalendarColors();

    if (settings_.readBool("Form", "Today_pop", false))
        openTool(Tool::ScheduleList);
    if (settings_.readBool("Form", "Todo_pop", false))
        openTool(Tool::TodoBoard);
    if (hooks_.loadMemoSlots) {
        core::BusyNotice notice(QStringLiteral("メモを読み込んでいます。"));
        notice.showNow();
        hooks_.loadMemoSlots();
        notice.close();
    }
    rebuildLauncherMenu();
    rebuildMemoMenu();

    // Windows of the popups call back into the calendar and the info row.
    auto& popupHooks = schedule::popupHooks();
    popupHooks.refreshCalendarMarks = [this] { refreshCalendarMarks(); };
    popupHooks.setMainPanelsOlive = [this](bool olive) { setInfoPanelsOlive(olive); };

    openSettings = core::checkVersion(settings_) || openSettings;
    started_ = true;
    popupTimer_->Timer1Timer();
    applyStayOnTop();
    show();
    update();
    timer_.setInterval(core::mainTimerInterval(settings_));
    timer_.start();
    if (openSettings)
        core::openSettingsDialog();
}

void MainWindow::applyCalendarColors() {
    const char* keys[kDayColorCount] = {"WeekdayColor", "SundayColor",     "SaturdayColor",
                                        "HolidayColor", "SpecialDayColor", "NeighborDayColor"};
    for (int i = 0; i < kDayColorCount; ++i) {
        const int design = valueFromColor(calendar_->colorAt(i));
        calendar_->setColorAt(i, storedColor(settings_, keys[i], design, palette()));
    }
    CalendarEx1Change();
}

void MainWindow::applyTaskbarAndTray() {
    const int mode = settings_.readInt("Form", "Tray_icon", 0);
    const bool tray = mode == 0 || mode == 2;
    const bool noTaskbarButton = mode == 0 || mode == 3;
    launcherIcon_->setVisible(tray);
    memoIcon_->setVisible(tray);
    // A tool window has no taskbar button.
    const bool wasVisible = isVisible();
    setWindowFlag(Qt::Tool, noTaskbarButton);
    if (wasVisible)
        show();
}

void MainWindow::applyStayOnTop() {
    const bool onTop = stayOnTop();
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) != onTop) {
        const bool wasVisible = isVisible();
        setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
        if (wasVisible)
            show();
    }
    if (onTop && !appActive_ && isVisible())
        raise();
}

bool MainWindow::stayOnTop() const {
    return settings_.readBool("ToolWindow", "StayOnTop", false);
}

// ---------------------------------------------------------------- closing

void MainWindow::KGClock2Click() {
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // FormCloseQuery: the timers stop; closing is always allowed.
    timer_.stop();
    clock_->setEnabled(false);
    update();
    // FormClose: the hot key goes back to the system.
    hotKey_.reset();
    if (popViewer_)
        popViewer_->close();
    event->accept();
    emit closed();
}

void MainWindow::KWindows1Click() {
    std::string message;
    if (!power_->powerOff(message))
        core::reportError(qs(message));
}

void MainWindow::KWindows2Click() {
    std::string message;
    if (!power_->reboot(message))
        core::reportError(qs(message));
}

// ---------------------------------------------------------------- modes

ScreenRect MainWindow::screenRect() const {
    QScreen* screen = this->screen();
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    const QRect r = screen != nullptr ? screen->geometry() : QRect(0, 0, 1024, 768);
    return {r.left(), r.top(), r.width(), r.height()};
}

void MainWindow::syncPositionFromWindow() {
    state_.left = x();
    state_.top = y();
}

void MainWindow::layoutForState() {
    buttonBar_->setVisible(state_.buttonBar);
    infoRow_->move(kContentLeft, state_.buttonBar ? kButtonBarHeight : 1);
}

void MainWindow::applyState(const WindowState& state, bool hideDuringChange) {
    awaitMoveStore_ = false;
    moveStoreTimer_.stop();
    const bool wasVisible = isVisible();
    if (hideDuringChange && wasVisible)
        hide();
    state_ = state;
    layoutForState();
    setGeometry(state_.left, state_.top, kWindowWidth, state_.height);
    if (hideDuringChange && wasVisible)
        show();
    update();
}

bool MainWindow::buttonBarShown() const {
    return state_.buttonBar;
}
int MainWindow::infoRowTop() const {
    return infoRow_->y();
}

void MainWindow::Panel2DblClick() {
    core::PlaySoundCue(settings_, "c1");
    syncPositionFromWindow();
    const WindowState next = ModeRules::cycle(state_, settings_, screenRect());
    applyState(next, ModeRules::modeSave(settings_));
}

void MainWindow::setTimerPeriod(int milliseconds) {
    timer_.setInterval(milliseconds);
}

void MainWindow::miniClockBaseChanged(bool ticked) {
    if (!ticked) {
        Panel2DblClick();
        return;
    }
    // From the calendar height the cycle goes to mini clock mode.
    hide();
    syncPositionFromWindow();
    state_.height = kCalendarHeight;
    state_.buttonBar = true;
    Panel2DblClick();
    show();
}

void MainWindow::hotKeyPressed() {
    core::PlaySoundCue(settings_, "c1");
    if (!state_.buttonBar) {
        syncPositionFromWindow();
        applyState(ModeRules::expandForHotKey(state_, settings_, screenRect()), false);
    }
    show();
    raise();
    activateWindow();
    commandBox_->setFocus();
}

void MainWindow::FormDeactivate() {
    setDragBarActive(false);
    if (state_.hotKeyExpansion) {
        syncPositionFromWindow();
        applyState(ModeRules::endHotKeyExpansion(state_, settings_, screenRect()),
                   ModeRules::modeSave(settings_));
    }
}

void MainWindow::ApplicationOnactivate() {
    appActive_ = true;
    setDragBarActive(true);
}

void MainWindow::ApplicationOnDeactivate() {
    appActive_ = false;
    FormDeactivate();
    if (popViewer_)
        popViewer_->close();
}

void MainWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange)
        return;
    if (isActiveWindow()) {
        setDragBarActive(true);
        // Entries written meanwhile by another window or by hinagikuctl,
        // and the holiday table of a first start, show at once.
        core::runGuarded([this] { refreshCalendarMarks(); });
    } else {
        FormDeactivate();
    }
}

void MainWindow::setDragBarActive(bool active) {
    QPalette pal = dragBar_->palette();
    pal.setColor(QPalette::Window, colorFromValue(active ? kSysActiveCaption : kSysInactiveCaption,
                                                  QApplication::palette()));
    dragBar_->setPalette(pal);
}

void MainWindow::dragBarPressed(QMouseEvent* event) {
    if (!ModeRules::positionFixed(settings_)) {
        QWindow* handle = windowHandle();
        if (handle != nullptr && handle->startSystemMove()) {
            awaitMoveStore_ = true;
        } else {
            manualDrag_ = true;
            dragOffset_ = event->globalPosition().toPoint() - pos();
        }
    }
    // Moved or not, the position of the current mode is stored.
    syncPositionFromWindow();
    ModeRules::storePosition(state_, settings_);
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (awaitMoveStore_)
        moveStoreTimer_.start();
}

// ---------------------------------------------------------------- events

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (watched == dragBar_) {
        const bool isMouse = type == QEvent::MouseButtonPress || type == QEvent::MouseMove ||
                             type == QEvent::MouseButtonRelease ||
                             type == QEvent::MouseButtonDblClick;
        if (!isMouse)
            return false;
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (type == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton) {
            dragBarPressed(mouse);
            return true;
        }
        if (type == QEvent::MouseMove && manualDrag_) {
            move(mouse->globalPosition().toPoint() - dragOffset_);
            return true;
        }
        if (type == QEvent::MouseButtonRelease && manualDrag_) {
            manualDrag_ = false;
            syncPositionFromWindow();
            ModeRules::storePosition(state_, settings_);
            return true;
        }
        if (type == QEvent::MouseButtonDblClick && mouse->button() == Qt::LeftButton) {
            Panel2DblClick();
            return true;
        }
        return false;
    }
    if (watched == dateLabel_ || watched == timeLabel_ || watched == resourceLabel_) {
        if (type == QEvent::MouseButtonDblClick) {
            runInfoAction();
            return true;
        }
        if (type == QEvent::ContextMenu) {
            popupMenu(watched == dateLabel_   ? mainMenu_
                      : watched == timeLabel_ ? memoMenu_
                                              : launcherMenu_);
            return true;
        }
        return false;
    }
    if (watched == yearLabel_ || watched == monthLabel_) {
        if (type == QEvent::MouseButtonDblClick) {
            Panel8DblClick();
            return true;
        }
        return false;
    }
    if (watched == moonPanel_ || (watched->parent() == moonPanel_)) {
        if (type == QEvent::MouseButtonDblClick) {
            Panel9DblClick();
            return true;
        }
        if (type == QEvent::ContextMenu) {
            popupMenu(viewMenu_);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::popupMenu(QMenu* menu) {
    menu->popup(QCursor::pos());
}

void MainWindow::PopupMenu1Popup() {
    // Opening the main menu lets the launcher icon pop its menus again.
    launcherIcon_->setAutoPopup(true);
    const bool period = periodItemVisible(settings_);
    for (QAction* a : mainMenu_->findChildren<QAction*>()) {
        if (a->objectName() == QLatin1String("PeriodItem")) {
            a->setVisible(period);
            a->setText(qs(periodCaption(settings_)));
        } else if (a->objectName() == QLatin1String("PeriodSeparator")) {
            a->setVisible(period);
        } else if (a->objectName() == QLatin1String("MailMenu")) {
            a->setVisible(mailMenuVisible(settings_));
        } else if (a->objectName() == QLatin1String("MainShutdown")) {
            a->setVisible(shutdownInMainMenu(settings_));
        } else if (a->objectName() == QLatin1String("HelpItem")) {
            std::error_code ec;
            a->setEnabled(std::filesystem::is_regular_file(helpFilePath(home_), ec));
        }
    }
    for (QMenu* sub : mainMenu_->findChildren<QMenu*>()) {
        if (sub->menuAction()->objectName() == QLatin1String("MailMenu")) {
            sub->menuAction()->setVisible(mailMenuVisible(settings_));
        } else if (sub->menuAction()->objectName() == QLatin1String("MainShutdown")) {
            sub->menuAction()->setVisible(shutdownInMainMenu(settings_));
        }
    }
    for (auto& [action, tool] : toolActions_) {
        action->setEnabled(toolAvailable(tool));
        const auto& isOpen = tools_[static_cast<int>(tool)].isOpen;
        if (action->isCheckable())
            action->setChecked(isOpen && isOpen());
    }
    // Jumping to a date is of no use in base mode, where no calendar shows.
    if (QAction* jump = menuItem(mainMenu_, QStringLiteral("指定日に移動"))) {
        jump->setEnabled(toolAvailable(Tool::JumpToDate) && state_.height != kBaseHeight);
    }
}

void MainWindow::PopupMenu2Popup() {
    for (auto& [action, tool] : toolActions_) {
        if (action->parent() != memoMenu_)
            continue;
        const auto& isOpen = tools_[static_cast<int>(tool)].isOpen;
        action->setChecked(isOpen && isOpen());
    }
}

void MainWindow::PopupMenu3Popup() {
    for (QMenu* sub : launcherMenu_->findChildren<QMenu*>()) {
        if (sub->menuAction()->objectName() == QLatin1String("LauncherShutdown")) {
            sub->menuAction()->setVisible(shutdownInLauncherMenu(settings_));
        }
    }
}

QAction* MainWindow::menuItem(QMenu* menu, const QString& caption) const {
    for (QAction* action : menu->actions()) {
        if (action->text() == caption)
            return action;
        if (QMenu* sub = action->menu()) {
            if (QAction* found = menuItem(sub, caption))
                return found;
        }
    }
    return nullptr;
}

void MainWindow::runInfoAction() {
    switch (infoDoubleClickAction(settings_)) {
        case InfoAction::DiaryList:
            openTool(Tool::DiaryList);
            break;
        case InfoAction::ScheduleList:
            openTool(Tool::ScheduleList);
            break;
        case InfoAction::PopupRegistration:
            openTool(Tool::PopupRegistration);
            break;
        case InfoAction::ScheduleRegistration:
            openTool(Tool::ScheduleRegistration);
            break;
        case InfoAction::MailCheck:
            openTool(Tool::MailCheck);
            break;
        case InfoAction::PhoneBook:
            openTool(Tool::PhoneBook);
            break;
    }
}

void MainWindow::startMailer() {
    const std::string command = settings_.readText("pop", "pop1_program", "");
    if (core::splitCommandText(command).program.empty())
        return;
    core::RunCommandText(command);
    // The automatic check waits one more minute.
    popupTimer_->setMailCountdown(popupTimer_->mailCountdown() + 1);
}

void MainWindow::Help1Click() {
    const std::filesystem::path help = helpFilePath(home_);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(help, ec)) {
        warn(QString::fromUtf8(kHelpMissing));
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(help.string())));
}

// ---------------------------------------------------------------- tick display

void MainWindow::setInfoPanelsOlive(bool olive) {
    const QColor ground = olive ? QColor(128, 128, 0) : QColor(Qt::black);
    setFieldColors(dateLabel_, Qt::white, ground);
    setFieldColors(timeLabel_, Qt::cyan, ground);
    setFieldColors(resourceLabel_, Qt::yellow, ground);
}

void MainWindow::refreshDisplays(DateTime now, DateTime universal) {
    const MoonValues moon = moonValues(universal);
    julianLabel_->setText(qs(julianDateText(moon.julianDate)).trimmed());
    moon_->setDate(universal);
    ageLabel_->setText(qs(moonAgeText(moon.age)));
    phaseLabel_->setText(qs(illuminationText(moon.illumination)));

    clock_->setPointerColor(decodeTime(now).hour < 12 ? QColor(Qt::white) : QColor(Qt::yellow));
    const bool analog = settings_.readBool("Form", "AnalogClock", false);
    moon_->move(analog ? kMoonWithClockX : kMoonAloneX, moon_->y());
    clock_->setVisible(analog);
    clock_->setEnabled(analog);

    if (started_)
        applyStayOnTop();

    dateLabel_->setText(qs(FormatDate("yyyy/mm/dd(aaa)", now)));
    timeLabel_->setText(qs(FormatDate("hh:mm:ss", now)));
    setFittedText(resourceLabel_, qs(resourceMeterText(platform::memoryStatus())));
    // The desktop does not report the mouse over a tray icon: the memo
    // icon's tip follows [Setup] MIcon_DBLC here instead.
    const QString tip = qs(memoIconTip(infoDoubleClickAction(settings_)));
    if (memoIcon_->tipHelp() != tip)
        memoIcon_->setTipHelp(tip);
}

// ---------------------------------------------------------------- dropping

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    std::vector<std::string> paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            paths.push_back(url.toLocalFile().toStdString());
    }
    if (paths.empty())
        return;
    event->acceptProposedAction();
    core::runGuarded([&] { dropFiles(paths, event->modifiers()); });
}

void MainWindow::dropFiles(const std::vector<std::string>& paths, Qt::KeyboardModifiers modifiers) {
    if (paths.empty())
        return;
    if (modifiers.testFlag(Qt::ControlModifier)) {
        if (hooks_.openWithAssociations)
            hooks_.openWithAssociations(paths);
        return;
    }
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr) {
        warn(QString::fromUtf8(kDropFailed));
        return;
    }
    const std::string text = droppedNamesText(paths, modifiers.testFlag(Qt::ShiftModifier),
                                              settings_.readBool("ToolWindow", "Separate", false));
    clipboard->setText(qs(text));
    core::PlaySoundCue(settings_, "cop");
}

}  // namespace hinagiku::mainwindow
