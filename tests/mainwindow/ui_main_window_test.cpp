#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QtTest>
#include <memory>

#include "calendar/format_date.h"
#include "core/sound_cues.h"
#include "mainwindow/ui/calendar_ex.h"
#include "mainwindow/ui/dr_clock.h"
#include "mainwindow/ui/main_window.h"
#include "mainwindow/ui/moon_view.h"
#include "mainwindow/ui/panel_button.h"
#include "mainwindow/ui/pop_viewer.h"
#include "mainwindow/ui/tray_icon.h"
#include "platform/recording_program_launcher.h"
#include "platform/sound_recorder.h"
#include "schedule/entry_name.h"
#include "support/fake_clock.h"
#include "support/memory_settings.h"
#include "support/temp_home.h"

using namespace hinagiku;
using mainwindow::MainWindow;
using mainwindow::PopViewRequest;
using mainwindow::Tool;

namespace {

DateTime at(int y, int m, int d, int hh, int mm) {
    return *encodeDate(y, m, d) + *encodeTime(hh, mm, 0);
}

class RecordingPower final : public mainwindow::SystemPower {
  public:
    bool powerOff(std::string&) override {
        ++powerOffs;
        return true;
    }
    bool reboot(std::string& message) override {
        message = "refused";
        ++reboots;
        return false;
    }
    int powerOffs = 0;
    int reboots = 0;
};

bool submenuShown(QAction* item) {
    auto* menu = qobject_cast<QMenu*>(item->parent());
    return menu != nullptr && menu->menuAction()->isVisible();
}

// Catches file URLs so that no browser starts.
class UrlCatcher : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> urls;
  public slots:
    void open(const QUrl& url) { urls << url; }
};

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::TempHome> home_;
    std::unique_ptr<testing::MemorySettings> settings_;
    std::unique_ptr<testing::FakeClock> clock_;
    std::unique_ptr<MainWindow> window_;
    platform::SoundRecorder sounds_;
    QStringList warnings_;

    // A window on a started program: the first-start work already done.
    MainWindow& make(bool started = true) {
        window_ = std::make_unique<MainWindow>(*settings_, *clock_, home_->path());
        window_->setWarningSink([this](const QString& text) { warnings_ << text; });
        if (started) {
            settings_->writeInt("Horiday", "Set", 1);
            settings_->writeText("Tokeiya", "Ver", "Version 2.70");
            window_->FormCreate();
        }
        return *window_;
    }

    int cues(const char* name) const {
        const QByteArray wave = core::soundCueData(name);
        int count = 0;
        for (const auto& call : sounds_.calls()) {
            if (call.kind == platform::SoundRecorder::Kind::Cue && call.wave == wave)
                ++count;
        }
        return count;
    }

    QRect screen() const { return QGuiApplication::primaryScreen()->geometry(); }

  private slots:
    void initTestCase() { platform::setSoundOutput(&sounds_); }
    void cleanupTestCase() { platform::setSoundOutput(nullptr); }

    void init() {
        home_ = std::make_unique<testing::TempHome>();
        settings_ = std::make_unique<testing::MemorySettings>();
        clock_ = std::make_unique<testing::FakeClock>(at(2024, 3, 12, 10, 0));
        sounds_.clear();
        warnings_.clear();
    }
    void cleanup() {
        window_.reset();
        settings_.reset();
        home_.reset();
    }

    void firstStart() {
        MainWindow& w = make(false);
        w.FormCreate();
        QCOMPARE(settings_->readInt("Horiday", "Set", 0), 1);
        QCOMPARE(settings_->readText("Tokeiya", "Ver", ""), std::string("Version 2.70"));
        QCOMPARE(settings_->readText("Calendar", "Directory", "."),
                 (home_->path() / "Schedule").string());
        QVERIFY(w.isVisible());
        QCOMPARE(w.geometry(), QRect(screen().width() - 240, 0, 240, 72));
        QVERIFY(w.windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(w.windowFlags().testFlag(Qt::Tool));  // Tray_icon 0: no taskbar button
        QVERIFY(w.launcherTrayIcon()->isVisible());
        QVERIFY(w.memoTrayIcon()->isVisible());
        QVERIFY(w.mainTimer().isActive());
        QCOMPARE(w.mainTimer().interval(), 1000);
        QCOMPARE(w.dateField()->text(), QString("2024/03/12(火)"));
        QCOMPARE(w.timeField()->text(), QString("10:00:00"));
        QVERIFY(w.resourceField()->text().contains("K("));
        QCOMPARE(w.yearField()->text(), QString("2024"));
        QCOMPARE(w.monthField()->text(), QString("3"));
        QCOMPARE(w.calendar()->day(), 12);
        QVERIFY(!w.todayButton()->isEnabled());
        QCOMPARE(w.memoTrayIcon()->tipHelp(),
                 QString("ダブルクリック：日記リスト／右クリック：メモメニュー"));
        settings_->writeInt("Setup", "MIcon_DBLC", 5);
        w.popupTimer().Timer1Timer();
        QCOMPARE(w.memoTrayIcon()->tipHelp(),
                 QString("ダブルクリック：簡易電話帳／右クリック：メモメニュー"));
        QCOMPARE(w.launcherTrayIcon()->tipHelp(),
                 QString("左クリック：ランチャーメニュー／右クリック：基本メニュー"));
    }

    void trayIconsAndTaskbarByTrayIcon_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("tray");
        QTest::addColumn<bool>("taskbar");
        QTest::newRow("0") << 0 << true << false;
        QTest::newRow("1") << 1 << false << true;
        QTest::newRow("2") << 2 << true << true;
        QTest::newRow("3") << 3 << false << false;
    }
    void trayIconsAndTaskbarByTrayIcon() {
        QFETCH(int, mode);
        QFETCH(bool, tray);
        QFETCH(bool, taskbar);
        settings_->writeInt("Form", "Tray_icon", mode);
        MainWindow& w = make();
        QCOMPARE(w.launcherTrayIcon()->isVisible(), tray);
        QCOMPARE(w.memoTrayIcon()->isVisible(), tray);
        QCOMPARE(w.windowFlags().testFlag(Qt::Tool), !taskbar);
    }

    void startPositionPulledOnScreen() {
        settings_->writeInt("Form", "Height", 190);
        settings_->writeInt("Form", "top_cal", 10000);
        settings_->writeInt("Form", "left_cal", -50);
        MainWindow& w = make();
        QCOMPARE(w.geometry(), QRect(0, screen().height() - 190, 240, 190));
        QVERIFY(w.buttonBarShown());
    }

    void modeCycleWithoutMinitokei() {
        MainWindow& w = make();
        w.move(100, 100);
        w.Panel2DblClick();
        QCOMPARE(w.height(), 190);
        QCOMPARE(settings_->readInt("Form", "Height", 0), 190);
        QCOMPARE(w.pos(), QPoint(100, 100));
        QCOMPARE(cues("c1"), 1);
        w.Panel2DblClick();
        QCOMPARE(w.height(), 72);
        QVERIFY(w.buttonBarShown());
        QCOMPARE(settings_->readInt("Form", "Height", 0), 72);
    }

    void modeCycleWithMinitokei() {
        settings_->writeBool("Form", "minitokei", true);
        MainWindow& w = make();
        w.Panel2DblClick();
        QCOMPARE(w.height(), 190);
        QCOMPARE(w.infoRowTop(), 53);
        w.Panel2DblClick();
        QCOMPARE(w.height(), 19);
        QVERIFY(!w.buttonBarShown());
        QCOMPARE(w.infoRowTop(), 1);
        w.Panel2DblClick();
        QCOMPARE(w.height(), 190);
        QVERIFY(w.buttonBarShown());
    }

    void modeSaveUsesEachModesPosition() {
        settings_->writeBool("Form", "ModeSave", true);
        settings_->writeInt("Form", "top", 20);
        settings_->writeInt("Form", "left", 30);
        settings_->writeInt("Form", "top_cal", screen().height() - 50);  // partly off screen
        settings_->writeInt("Form", "left_cal", 40);
        MainWindow& w = make();
        QCOMPARE(w.pos(), QPoint(30, 20));
        w.Panel2DblClick();
        QCOMPARE(w.geometry(), QRect(40, screen().height() - 190, 240, 190));
        QVERIFY(w.isVisible());
        w.Panel2DblClick();
        QCOMPARE(w.pos(), QPoint(30, 20));
    }

    void dragBarPressStoresThePosition() {
        MainWindow& w = make();
        w.Panel2DblClick();  // calendar mode
        w.move(123, 45);
        QWidget* bar = w.childAt(5, 100);
        QVERIFY(bar);
        QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(5, 20));
        QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(5, 20));
        QCOMPARE(settings_->readInt("Form", "left_cal", 0), 123);
        QCOMPARE(settings_->readInt("Form", "top_cal", 0), 45);
        // A fixed position is still stored, but the window does not move.
        settings_->writeBool("Form", "Move", true);
        w.move(50, 60);
        QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(5, 20));
        QCOMPARE(settings_->readInt("Form", "left_cal", 0), 50);
    }

    void hotKeyBorrowsBaseModeUntilFocusLoss() {
        settings_->writeInt("Form", "Height", 19);
        MainWindow& w = make();
        QCOMPARE(w.height(), 19);
        QVERIFY(!w.buttonBarShown());
        w.hotKeyPressed();
        QCOMPARE(w.height(), 72);
        QVERIFY(w.buttonBarShown());
        QVERIFY(w.windowState().hotKeyExpansion);
        QCOMPARE(cues("c1"), 1);
        w.ApplicationOnDeactivate();
        QCOMPARE(w.height(), 19);
        QVERIFY(!w.buttonBarShown());
        QCOMPARE(w.infoRowTop(), 1);
    }

    void clickOpensThePopViewerWithTheDayView() {
        settings_->writeBool("CalendarEx", "PopView", true);
        home_->writeFile("Schedule/BORN0315.1970", "Taro\r\n");
        MainWindow& w = make();
        settings_->writeText("Calendar", "Directory", (home_->path() / "Schedule").string());
        w.Panel2DblClick();
        const QPoint cursor(100, 120);
        QCursor::setPos(cursor);
        mainwindow::TCalendarEx* cal = w.calendar();
        const auto cell = [&] {
            for (int row = 1; row <= 6; ++row) {
                for (int column = 0; column < 7; ++column) {
                    if (cal->cellCode(column, row) == 15)
                        return cal->cellRect(column, row);
                }
            }
            return QRect();
        }();
        QTest::mouseClick(cal, Qt::LeftButton, {}, cell.center());
        QCOMPARE(cal->day(), 15);
        QCOMPARE(w.popViewRequest(), PopViewRequest::Open);
        mainwindow::PopViewer* viewer = w.popViewer();
        QVERIFY(viewer);
        QCOMPARE(viewer->windowTitle(), QString("2024/03/15(金)　3日後"));
        QCOMPARE(viewer->text(), QString("【54歳の誕生日】1970/03/15 (日)\nTaro"));
        QCOMPARE(viewer->pos(), cursor + QPoint(20, 20));
        QCOMPARE(cues("pop"), 1);
        // No tool is plugged in: the viewer's buttons are disabled.
        QVERIFY(!viewer->button(mainwindow::PopViewer::Button::Birthdays)->isEnabled());
        // Esc closes it and the request goes back to none.
        QPointer<mainwindow::PopViewer> guard(viewer);
        QTest::keyClick(viewer, Qt::Key_Escape);
        QCOMPARE(w.popViewRequest(), PopViewRequest::None);
        QTRY_VERIFY(guard.isNull());
        // The same day again opens it again.
        QTest::mouseClick(cal, Qt::LeftButton, {}, cell.center());
        QVERIFY(w.popViewer());
    }

    void popViewerKeptOnScreen() {
        settings_->writeBool("CalendarEx", "PopView", true);
        MainWindow& w = make();
        w.Panel2DblClick();
        QCursor::setPos(screen().bottomRight() - QPoint(5, 5));
        w.CalendarEx1Click();
        w.CalendarEx1Change();
        mainwindow::PopViewer* viewer = w.popViewer();
        QVERIFY(viewer);
        QCOMPARE(viewer->frameGeometry().right(), screen().right());
        QCOMPARE(viewer->frameGeometry().bottom(), screen().bottom());
        QCOMPARE(viewer->windowTitle(), QString("2024/03/12(火)"));
    }

    void popViewOffOpensNothingButColoursTheMonth() {
        MainWindow& w = make();
        w.Panel2DblClick();
        w.calendar()->setDay(17);  // a Sunday
        QVERIFY(!w.popViewer());
        QCOMPARE(w.monthField()->palette().color(QPalette::Window),
                 w.calendar()->color(mainwindow::DayColor::Sunday));
        QVERIFY(w.todayButton()->isEnabled());
        w.CalendarEx1Click();
        w.CalendarEx1Change();
        QVERIFY(!w.popViewer());
        QCOMPARE(w.popViewRequest(), PopViewRequest::None);
    }

    void navigationKeepsValidDays() {
        clock_->set(at(2024, 3, 31, 9, 0));
        MainWindow& w = make();
        w.BitBtn2Click();
        QCOMPARE(w.calendar()->month(), 2);
        QCOMPARE(w.calendar()->day(), 29);
        w.BitBtn2Click();
        QCOMPARE(w.calendar()->day(), 29);  // January keeps the 29th
        w.BitBtn2Click();
        w.BitBtn2Click();
        QCOMPARE(w.calendar()->year(), 2023);
        QCOMPARE(w.calendar()->month(), 11);
        w.BitBtn7Click();  // today is the 31st
        QCOMPARE(w.calendar()->year(), 2024);
        QCOMPARE(w.calendar()->month(), 3);
        QCOMPARE(w.calendar()->day(), 31);
    }

    void droppedFilesGoToTheClipboard() {
        MainWindow& w = make();
        const std::vector<std::string> files{"/tmp/a.txt", "/tmp/b.txt", "/tmp/c d.txt"};
        w.dropFiles(files, Qt::NoModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QString("/tmp/a.txt\r\n/tmp/b.txt\r\n/tmp/c d.txt\r\n"));
        QCOMPARE(cues("cop"), 1);
        settings_->writeBool("ToolWindow", "Separate", true);
        w.dropFiles(files, Qt::ShiftModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("a.txt b.txt c d.txt"));
        // With Ctrl they go to the file associations.
        std::vector<std::string> opened;
        mainwindow::MainWindowHooks hooks;
        hooks.openWithAssociations = [&](const std::vector<std::string>& p) { opened = p; };
        w.setHooks(hooks);
        w.dropFiles(files, Qt::ControlModifier);
        QCOMPARE(opened.size(), std::size_t{3});
        QCOMPARE(cues("cop"), 2);
    }

    void helpOpensThePagesOrWarns() {
        MainWindow& w = make();
        w.Help1Click();
        QCOMPARE(warnings_, QStringList{"ヘルプファイルが正しくインストールされていません。"});
        emit w.mainMenu()->aboutToShow();
        QVERIFY(!w.menuItem(w.mainMenu(), "ヘルプ")->isEnabled());
        home_->writeFile("help_html/index.html", "<html></html>");
        emit w.mainMenu()->aboutToShow();
        QVERIFY(w.menuItem(w.mainMenu(), "ヘルプ")->isEnabled());
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler("file", &catcher, "open");
        w.Help1Click();
        QDesktopServices::unsetUrlHandler("file");
        QCOMPARE(catcher.urls.size(), 1);
        QVERIFY(catcher.urls.front().toLocalFile().endsWith("help_html/index.html"));
        QCOMPARE(warnings_.size(), 1);
    }

    void menusFollowSettingsAndPluggedTools() {
        MainWindow& w = make();
        QMenu* menu = w.mainMenu();
        for (const char* caption : {"ﾎﾟｯﾌﾟｱｯﾌﾟの登録",
                                    "ｽｹｼﾞｭｰﾙの登録",
                                    "ｽｹｼﾞｭｰﾙ一覧",
                                    "ｽｹｼﾞｭｰﾙ管理",
                                    "指定日に移動",
                                    "簡易電話帳",
                                    "メモ一覧",
                                    "日記タイトル一覧",
                                    "Period",
                                    "メールチェック",
                                    "メーラー起動",
                                    "メールの設定",
                                    "Todoボード",
                                    "誕生日管理",
                                    "日数計算",
                                    "減算タイマー",
                                    "掲示板に書き込む／読む",
                                    "作者のホームページ",
                                    "環境設定",
                                    "関連付けの設定",
                                    "ヘルプ",
                                    "Windowsの再起動",
                                    "終了(&X)"}) {
            QVERIFY2(w.menuItem(menu, QString::fromUtf8(caption)), caption);
        }
        QVERIFY(!w.menuItem(menu, "ｽｹｼﾞｭｰﾙ一覧")->isEnabled());
        bool open = false;
        int opened = 0;
        w.setTool(Tool::ScheduleList, {[&] {
                                           ++opened;
                                           open = true;
                                       },
                                       [&] { return open; }});
        QVERIFY(w.menuItem(menu, "ｽｹｼﾞｭｰﾙ一覧")->isEnabled());
        settings_->writeText("Calendar", "Directory", (home_->path()).string());
        w.menuItem(menu, "ｽｹｼﾞｭｰﾙ一覧")->trigger();
        QCOMPARE(opened, 1);
        emit menu->aboutToShow();
        QVERIFY(w.menuItem(menu, "ｽｹｼﾞｭｰﾙ一覧")->isChecked());
        QVERIFY(!w.menuItem(menu, "Period")->isVisible());
        QVERIFY(!submenuShown(w.menuItem(menu, "メールチェック")));
        QVERIFY(!submenuShown(w.menuItem(menu, "Windowsの再起動")));
        settings_->writeInt("Setup", "Period", 0);
        settings_->writeText("Form", "Period_Cap", "周期");
        settings_->writeBool("pop", "pop1_check", true);
        settings_->writeInt("Setup", "Reboot", 0);
        emit menu->aboutToShow();
        QAction* period = w.menuItem(menu, "周期");
        QVERIFY(period && period->isVisible());
        QVERIFY(submenuShown(w.menuItem(menu, "メールチェック")));
        QVERIFY(submenuShown(w.menuItem(menu, "Windowsの再起動")));
        // Jump to date is disabled in base mode only.
        w.setTool(Tool::JumpToDate, {[] {}, {}});
        emit menu->aboutToShow();
        QVERIFY(!w.menuItem(menu, "指定日に移動")->isEnabled());
        w.Panel2DblClick();
        emit menu->aboutToShow();
        QVERIFY(w.menuItem(menu, "指定日に移動")->isEnabled());
        settings_->writeBool("Form", "minitokei", true);
        w.Panel2DblClick();  // mini clock
        QCOMPARE(w.height(), 19);
        emit menu->aboutToShow();
        QVERIFY(w.menuItem(menu, "指定日に移動")->isEnabled());
        // Launcher menu: the edit item, the shutdown submenu and the end item.
        QVERIFY(w.menuItem(w.launcherMenu(), "メニューの編集"));
        QVERIFY(w.menuItem(w.launcherMenu(), "終了(&X)"));
        QVERIFY(w.menuItem(w.memoMenu(), "メモ一覧"));
        QVERIFY(w.menuItem(w.viewMenu(), "月齢の表示"));
    }

    void doubleClicksRunTheirSettingsActions() {
        MainWindow& w = make();
        settings_->writeText("Calendar", "Directory", home_->path().string());
        std::vector<Tool> opened;
        for (Tool tool : {Tool::DiaryList, Tool::PhoneBook, Tool::ScheduleManagement}) {
            w.setTool(tool, {[&opened, tool] { opened.push_back(tool); }, {}});
        }
        w.memoTrayIcon()->handleMouseMessage(mainwindow::TTrayIcon::MouseMessage::LeftDouble, {});
        settings_->writeInt("Setup", "MIcon_DBLC", 5);
        QTest::mouseDClick(w.timeField(), Qt::LeftButton);
        settings_->writeInt("Setup", "Cal_DBLC", 2);
        emit w.calendar()->OnDblClick();
        QCOMPARE(opened,
                 (std::vector<Tool>{Tool::DiaryList, Tool::PhoneBook, Tool::ScheduleManagement}));
        // Without a data folder the settings dialog is asked for instead.
        settings_->writeText("Calendar", "Directory", ".");
        emit w.calendar()->OnDblClick();
        QCOMPARE(opened.size(), std::size_t{3});
    }

    void shutdownGoesToTheSystem() {
        MainWindow& w = make();
        RecordingPower power;
        w.setSystemPower(&power);
        w.KWindows1Click();
        QCOMPARE(power.powerOffs, 1);
        QCOMPARE(power.reboots, 0);
    }

    void mailerStartsAndPostponesTheCheck() {
        platform::RecordingProgramLauncher launcher;
        platform::setProgramLauncher(&launcher);
        settings_->writeText("pop", "pop1_program", "/usr/bin/mailer?-compose");
        MainWindow& w = make();
        const int before = w.popupTimer().mailCountdown();
        w.startMailer();
        platform::setProgramLauncher(nullptr);
        QCOMPARE(launcher.calls().size(), std::size_t{1});
        QCOMPARE(launcher.calls()[0].program, std::string("/usr/bin/mailer"));
        QCOMPARE(launcher.calls()[0].parameters, std::string("-compose"));
        QCOMPARE(launcher.calls()[0].workingFolder, std::string("/usr/bin/"));
        QCOMPARE(w.popupTimer().mailCountdown(), before + 1);
    }

    void moonPanelAndDisplayRefresh() {
        settings_->writeInt("Form", "Height", 190);
        settings_->writeBool("Form", "MoonPhase", true);
        clock_->set(at(2000, 1, 1, 21, 0));  // 12:00 universal time
        MainWindow& w = make();
        QVERIFY(w.moonPanelShown());
        QCOMPARE(w.julianDateField()->text(), QString("2451545.00000"));
        QVERIFY(w.moonPhaseField()->text().endsWith("% (0%=New,100%=Full)"));
        QVERIFY(w.moonAgeField()->text().startsWith("24 days, "));
        QCOMPARE(w.moonPicture()->x(), 76);
        QVERIFY(w.analogClock()->isHidden());
        settings_->writeBool("Form", "AnalogClock", true);
        w.popupTimer().Timer1Timer();
        QCOMPARE(w.moonPicture()->x(), 42);
        QVERIFY(!w.analogClock()->isHidden());
        QVERIFY(w.analogClock()->isRunning());
        QCOMPARE(w.analogClock()->pointerColor(), QColor(Qt::yellow));  // 21:00
        clock_->set(at(2000, 1, 2, 9, 0));
        w.popupTimer().Timer1Timer();
        QCOMPARE(w.analogClock()->pointerColor(), QColor(Qt::white));
        // The view menu acts in calendar mode only and stores the choice.
        w.K8Click();
        QVERIFY(!w.moonPanelShown());
        QCOMPARE(settings_->readBool("Form", "MoonPhase", true), false);
        w.Panel8DblClick();
        QVERIFY(w.moonPanelShown());
        w.Panel2DblClick();  // base mode
        w.K8Click();
        QVERIFY(w.moonPanelShown());
    }

    void closingStopsTheTimers() {
        settings_->writeBool("Form", "AnalogClock", true);
        MainWindow& w = make();
        w.popupTimer().Timer1Timer();
        QVERIFY(w.analogClock()->isRunning());
        QSignalSpy closed(&w, &MainWindow::closed);
        w.KGClock2Click();
        QCOMPARE(closed.count(), 1);
        QVERIFY(!w.mainTimer().isActive());
        QVERIFY(!w.analogClock()->isRunning());
    }

    // The meter's whole text is readable in its field, however much memory
    // the machine has.
    void resourceMeterFitsItsField() {
        MainWindow& w = make();
        const QLabel* field = w.resourceField();
        QVERIFY(field->text().contains("K("));
        QVERIFY(QFontMetricsF(field->font()).horizontalAdvance(field->text()) <= field->width());
        QCOMPARE(w.width(), 240);
    }

    // The marks follow the files whenever the window becomes active: an
    // entry written by another program shows without a month change.
    void activationRebuildsTheMarks() {
        MainWindow& w = make();
        settings_->writeText("Calendar", "Directory", home_->path().string());
        const auto marked = [&w](const std::string& key) {
            const auto& list = w.calendar()->specialDayList();
            return std::find(list.begin(), list.end(), key) != list.end();
        };
        QVERIFY(!marked("3,20"));
        home_->writeFile(schedule::ToDoEntryName(schedule::ToDoKind::Dated, at(2024, 3, 20, 0, 0)),
                         "x");
        QEvent change(QEvent::ActivationChange);
        w.activateWindow();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QCoreApplication::sendEvent(&w, &change);
        QVERIFY(marked("3,20"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "ui_main_window_test.moc"
