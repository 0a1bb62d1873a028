// The settings dialog on the real main window: the changes that act at once.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QtTest>

#include <map>

#include "core/data_folders.h"
#include "core/home_folder.h"
#include "core/ui/message_box.h"
#include "core/ui/password_gate.h"
#include "core/ui/password_window.h"
#include "core/ui/session_end.h"
#include "core/ui/settings/settings_dialog.h"
#include "core/ui/settings_dialog_hook.h"
#include "mainwindow/ui/calendar_ex.h"
#include "mainwindow/ui/main_window.h"
#include "mainwindow/ui/main_window_settings_host.h"
#include "mainwindow/ui/tray_icon.h"
#include "mainwindow/window_modes.h"
#include "platform/profile_file.h"
#include "support/fake_clock.h"
#include "support/temp_home.h"

namespace hinagiku::core {

class SettingsMainWindowTest : public QObject {
    Q_OBJECT

    // Types `typed` into the password window once it is shown ("" closes it).
    static void answerPassword(const QString& typed) {
        auto* timer = new QTimer;
        timer->setInterval(10);
        QObject::connect(timer, &QTimer::timeout, [timer, typed] {
            if (auto* w = qobject_cast<PasswordWindow*>(QApplication::activeModalWidget())) {
                timer->stop();
                timer->deleteLater();
                if (typed.isEmpty()) {
                    w->reject();
                } else {
                    QTest::keyClicks(w->passwordField(), typed);
                    QTest::keyClick(w->passwordField(), Qt::Key_Return);
                }
            }
        });
        timer->start();
    }

  private slots:
    void init() {
        setMessageFunction([](const MessageRequest&) { return QMessageBox::Ok; });
    }
    void cleanup() {
        setMessageFunction({});
        setPrivacyGate({});
    }

    // The guarded tools as their hooks run them: the gate, then the data
    // folder; from the menus and from the main timer's diary prompt.
    void guardedToolsPassTheGateFirst() {
        using mainwindow::Tool;
        testing::TempHome home;
        std::filesystem::create_directories(home.path() / "data");
        home.writeFile("hinagiku.ini",
                       "[Horiday]\r\nSet=1\r\n[Tokeiya]\r\nVer=Version 2.70\r\n"
                       "[Form]\r\nWaveplay=0\r\n[Password]\r\nUse=1\r\n"
                       "Password=pw\r\ntel=1\r\n[Nikki]\r\nAuto=1\r\nAuto_H=12\r\n"
                       "Auto_M=0\r\n[Calendar]\r\nDirectory=" +
                           (home.path() / "data").string() + "\r\n");
        platform::ProfileFile ini(settingsFilePath());
        testing::FakeClock clock(46000.0 + 11.5 / 24);  // 11:30
        mainwindow::MainWindow window(ini, clock, home.path());
        std::map<GuardedFeature, int> opened;
        auto guarded = [&](GuardedFeature f) {
            return mainwindow::ToolHook{[&, f] {
                                            if (passPrivacyGate(f) && RequireDataFolder(ini))
                                                ++opened[f];
                                        },
                                        {}};
        };
        window.setTool(Tool::DiaryList, guarded(GuardedFeature::Diary));
        window.setTool(Tool::PhoneBook, guarded(GuardedFeature::Telephone));
        window.setTool(Tool::Period, guarded(GuardedFeature::Period));
        window.FormCreate();
        installPasswordGate(ini, clock);

        const struct {
            Tool tool;
            GuardedFeature feature;
            const char* typed;
            int opens;
        } cases[] = {
            {Tool::DiaryList, GuardedFeature::Diary, "pw", 1},
            {Tool::DiaryList, GuardedFeature::Diary, "wrong", 1},
            {Tool::PhoneBook, GuardedFeature::Telephone, "", 0},
            {Tool::PhoneBook, GuardedFeature::Telephone, "pw", 1},
            {Tool::Period, GuardedFeature::Period, "pw", 1},
        };
        for (const auto& c : cases) {
            answerPassword(QString::fromUtf8(c.typed));
            window.openTool(c.tool);
            QCOMPARE(opened[c.feature], c.opens);
        }
        QCOMPARE(ini.readText("Password", "Diary", ""), "2025/12/09 11:30:00");

        // The diary prompt of the main timer asks the same way.
        clock.set(46000.5);
        answerPassword(QStringLiteral("pw"));
        window.popupTimer().Timer1Timer();
        QCOMPARE(opened[GuardedFeature::Diary], 2);
        QCOMPARE(ini.readText("Password", "Diary", ""), "2025/12/09 12:00:00");
    }

    void changesActAtOnce() {
        testing::TempHome home;
        std::filesystem::create_directories(home.path() / "data");
        home.writeFile("hinagiku.ini",
                       "[Horiday]\r\nSet=1\r\n[Tokeiya]\r\nVer=Version 2.70\r\n"
                       "[Form]\r\nWaveplay=0\r\nminitokei=1\r\nHeight=190\r\n"
                       "[Calendar]\r\nDirectory=" +
                           (home.path() / "data").string() + "\r\n");
        platform::ProfileFile ini(settingsFilePath());
        testing::FakeClock clock(46000.5);
        mainwindow::MainWindow window(ini, clock, home.path());
        window.FormCreate();
        QCOMPARE(window.height(), mainwindow::kCalendarHeight);
        mainwindow::MainWindowSettingsHost host(window);
        SettingsDialogChoosers choosers;
        choosers.color = [](QWidget*, const QColor&) {
            return std::optional<QColor>(QColor(0x12, 0x34, 0x56));
        };
        installSettingsDialog(ini, host, choosers);

        openSettingsDialog();
        SettingsDialog* dialog = openSettingsDialogWindow();
        QVERIFY(dialog != nullptr);
        // Opened with minitokei: the main window ends in mini clock mode.
        QCOMPARE(window.height(), mainwindow::kMiniHeight);
        QAction* item = window.menuItem(window.mainMenu(), QStringLiteral("環境設定"));
        QVERIFY(item->isChecked());
        QVERIFY(!window.launcherTrayIcon()->autoPopup());
        openSettingsDialog();  // a second request brings the same dialog
        QCOMPARE(openSettingsDialogWindow(), dialog);

        auto* interval = qobject_cast<QSpinBox*>(dialog->control("Form", "Interval"));
        interval->setFocus();
        interval->selectAll();
        QTest::keyClicks(interval, "2000");
        QCOMPARE(window.mainTimer().interval(), 2000);

        dialog->colorButton("CalendarEx", "SundayColor")->click();
        QCOMPARE(window.calendar()->color(mainwindow::DayColor::Sunday), QColor(0x12, 0x34, 0x56));

        // Unticking the mini clock base: one mode change, to the calendar.
        qobject_cast<QCheckBox*>(dialog->control("Form", "minitokei"))->click();
        QCOMPARE(window.height(), mainwindow::kCalendarHeight);

        // The program ends with the dialog open: its close path runs.
        qobject_cast<QLineEdit*>(dialog->control("Form", "Period_Cap"))->setText("Cycle");
        SessionEnd::instance().end();
        QCOMPARE(ini.readText("Form", "Period_Cap", ""), "Cycle");
        QVERIFY(!item->isChecked());
        QVERIFY(window.launcherTrayIcon()->autoPopup());
        QTRY_VERIFY(openSettingsDialogWindow() == nullptr);
        setSettingsDialogOpener({});
    }
};

}  // namespace hinagiku::core

QTEST_MAIN(hinagiku::core::SettingsMainWindowTest)
#include "test_settings_main_window.moc"
