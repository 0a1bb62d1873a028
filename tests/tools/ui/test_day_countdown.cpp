// The day calculator and the countdown windows, offscreen, on a test clock.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

#include "calendar/date_time.h"
#include "platform/memory_settings.h"
#include "platform/sound_recorder.h"
#include "support/fake_clock.h"
#include "support/temp_home.h"
#include "tools/countdown.h"
#include "tools/ui/countdown_window.h"
#include "tools/ui/day_calculator_window.h"
#include "tools/ui/tool_dialogs.h"

using namespace hinagiku;
using tools::CountdownWindow;
using tools::DayCalculatorWindow;

class DayCountdownTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        platform::setSoundOutput(&sounds_);
        warnings_.clear();
        tools::toolDialogs().warn = [this](QWidget*, const QString& text, QPoint) {
            warnings_ << text;
        };
        tools::toolDialogs().ask = [](QWidget*, const QString&) { return true; };
    }
    void cleanup() { platform::setSoundOutput(nullptr); }

    void calculatorStartsAtTodayMidnightAndStepsImpossibleDaysDown() {
        testing::FakeClock clock(*encodeDate(2024, 2, 29) + 0.75);
        platform::MemorySettings settings;
        DayCalculatorWindow window(settings, clock);
        window.show();
        QCOMPARE(window.rowFields(0), (tools::DateTimeFields{2024, 2, 29, 0, 0, 0}));
        QCOMPARE(window.rowFields(1), (tools::DateTimeFields{2024, 2, 29, 0, 0, 0}));
        window.rowA().fields[0]->setValue(2023);  // 29 February 2023 does not exist
        QCOMPARE(window.rowA().fields[2]->value(), 28);
        window.rowA().fields[1]->setValue(4);
        window.rowA().fields[2]->setValue(31);
        QCOMPARE(window.rowA().fields[2]->value(), 30);
        window.rowA().today->click();
        QCOMPARE(window.rowFields(0), (tools::DateTimeFields{2024, 2, 29, 18, 0, 0}));
        window.rowA().zero->click();
        QCOMPARE(window.rowFields(0), (tools::DateTimeFields{2024, 2, 29, 0, 0, 0}));
    }

    void calculatorShowsTheLinesAndTheFailure() {
        testing::FakeClock clock(*encodeDate(2024, 5, 1));
        platform::MemorySettings settings;
        DayCalculatorWindow window(settings, clock);
        window.show();
        window.setRow(1, {2024, 5, 2, 1, 1, 1});
        window.calculateButton()->click();
        QCOMPARE(
            window.result()->toPlainText(),
            QStringLiteral("2024/05/01 (水) 00:00:00 から\n2024/05/02 (木) 01:01:01 迄の時間\n") +
                QString(34, QLatin1Char('=')) +
                QStringLiteral("\n1日 1時間 1分 1秒\n25時間 1分 1秒\n1,501分 1秒\n90,061秒"));

        window.countButton()->click();
        QVERIFY(window.countMode());
        window.contextMenu()->popup(QPoint(0, 0));
        QMenu* kinds = window.contextMenu()->actions().first()->menu();
        emit window.contextMenu()->aboutToShow();
        QVERIFY(kinds->actions()[1]->isChecked());
        QVERIFY(!kinds->actions()[0]->isChecked());
        window.contextMenu()->hide();
        window.setRow(0, {9999, 12, 31, 23, 59, 59});
        window.offsetFields()[3]->setValue(1);
        window.calculateButton()->click();
        QCOMPARE(warnings_.size(), 1);
        QCOMPARE(warnings_[0],
                 QStringLiteral("計算できませんでした。\r他の値で計算してください。"));
        QCOMPARE(window.result()->toPlainText().split(QLatin1Char('\n')).size(), 3);
        window.beforeButton()->click();
        window.calculateButton()->click();
        QVERIFY(
            window.result()->toPlainText().endsWith(QStringLiteral("9999/12/31 (金) 23:59:58")));
    }

    void calculatorKeepsOnlyItsPosition() {
        testing::FakeClock clock(*encodeDate(2024, 5, 1));
        platform::MemorySettings settings;
        settings.writeInt("DayCalc", "top", -50);
        settings.writeInt("DayCalc", "left", 30);
        DayCalculatorWindow* window = DayCalculatorWindow::open(settings, clock);
        QVERIFY(DayCalculatorWindow::isOpen());
        QCOMPARE(DayCalculatorWindow::open(settings, clock), window);
        QCOMPARE(window->pos(), QPoint(30, 0));
        window->move(40, 60);
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!DayCalculatorWindow::isOpen());
        QCOMPARE(settings.readInt("DayCalc", "top", 0), 60);
        QCOMPARE(settings.readInt("DayCalc", "left", 0), 40);
    }

    void countdownOfOneMinute() {
        testing::FakeClock clock(*encodeDate(2024, 3, 10) + 0.5);
        platform::MemorySettings settings;
        settings.writeText("Calendar", "file", "/nonexistent/end.wav");
        QStringList notified;
        CountdownWindow::setEndNotifier([&](const QString& text) { notified << text; });
        CountdownWindow window(settings, clock);
        window.show();
        window.hoursField()->setValue(0);
        window.minutesField()->setValue(0);  // a zero span becomes one minute
        QCOMPARE(window.minutesField()->value(), 1);
        window.titleField()->setText(QStringLiteral("お茶"));
        window.startButton()->click();
        QCOMPARE(window.progress()->maximum(), 60);
        QCOMPARE(window.statusBar()->text(), QStringLiteral("お茶の時間を計っています。"));
        QCOMPARE(window.startLabel()->text(), QStringLiteral("開始時間：2024/03/10 12:00:00"));
        QVERIFY(!window.startButton()->isEnabled());
        QVERIFY(!window.presetList()->isEnabled());
        window.hideBox()->setChecked(true);
        QStringList statuses;
        for (int second = 1; second <= 60; ++second) {
            clock.advanceSeconds(1);
            window.tick();
            if (second < 60)
                QVERIFY(!window.isVisible());
            if (statuses.isEmpty() || statuses.last() != window.statusBar()->text())
                statuses << window.statusBar()->text();
            if (second == 30) {
                QCOMPARE(window.statusBar()->text(),
                         QStringLiteral("お茶の時間は５０％を経過しました。"));
                QCOMPARE(window.windowTitle(), QStringLiteral("減算タイマー （残り 30秒）"));
            }
            if (second == 48)
                QCOMPARE(window.statusBar()->text(),
                         QStringLiteral("お茶の時間は８０％を経過しました。"));
        }
        QCOMPARE(statuses, (QStringList{QStringLiteral("お茶の時間を計っています。"),
                                        QStringLiteral("お茶の時間は５０％を経過しました。"),
                                        QStringLiteral("お茶の時間は８０％を経過しました。"),
                                        QStringLiteral("お茶の時間になりました。")}));
        QVERIFY(window.isVisible());
        QVERIFY(!window.hideBox()->isChecked());
        QCOMPARE(notified, QStringList{QStringLiteral("お茶の時間になりました。")});
        QVERIFY(window.startButton()->isEnabled());  // reset after the end
        QCOMPARE(window.windowTitle(), QStringLiteral("減算タイマー"));
        CountdownWindow::setEndNotifier({});
    }

    void countdownPauseMovesTheEnd() {
        testing::FakeClock clock(*encodeDate(2024, 3, 10) + 0.5);
        platform::MemorySettings settings;
        CountdownWindow window(settings, clock);
        window.show();
        window.minutesField()->setValue(2);
        window.startButton()->click();
        QCOMPARE(window.endLabel()->text(), QStringLiteral("終了時間：2024/03/10 12:02:00"));
        window.pauseButton()->click();
        for (int i = 0; i < 10; ++i) {
            clock.advanceSeconds(1);
            window.tick();
        }
        QCOMPARE(window.windowTitle(), QStringLiteral("減算タイマー （一時停止）"));
        QVERIFY(!window.progress()->isEnabled());
        QCOMPARE(window.endLabel()->text(), QStringLiteral("終了時間：2024/03/10 12:02:10"));
        window.pauseButton()->click();
        clock.set(clock.now() - 1.0 / 24);  // the clock is set back an hour
        clock.advanceSeconds(1);
        window.tick();
        QCOMPARE(window.progress()->value(), 119);
        window.resetButton()->click();
        QCOMPARE(window.startLabel()->text(), QStringLiteral("開始時間："));
        QVERIFY(!window.pauseButton()->isEnabled());
    }

    void countdownPresets() {
        testing::FakeClock clock(*encodeDate(2024, 3, 10));
        platform::MemorySettings settings;
        settings.writeText("Calendar", "file", "/snd/popup.wav");
        CountdownWindow window(settings, clock);
        window.show();
        QCOMPARE(window.soundField(2)->text(), QStringLiteral("/snd/popup.wav"));
        QVERIFY(!window.soundField(0)->isEnabled());
        for (int i = 0; i < 3; ++i) {
            window.titleField()->setText(QStringLiteral("p%1").arg(i));
            window.minutesField()->setValue(10 + i);
            window.addButton()->click();
        }
        QCOMPARE(window.presetList()->currentRow(), 2);
        QCOMPARE(window.propertyGroup()->title(), QStringLiteral("p2のﾌﾟﾛﾊﾟﾃｨ"));
        window.soundField(0)->setText(QStringLiteral("/snd/half.wav"));
        emit window.soundField(0)->textEdited(window.soundField(0)->text());
        QCOMPARE(settings.readText("Gtimer", "2_50", ""), std::string("/snd/half.wav"));
        window.soundField(1)->setText(QStringLiteral("/snd/é.wav"));  // not in CP932: not stored
        emit window.soundField(1)->textEdited(window.soundField(1)->text());
        QCOMPARE(settings.readText("Gtimer", "2_80", "x"), std::string(""));
        QVERIFY(window.statusBar()->text().contains(QStringLiteral("/snd/é.wav")));

        window.presetList()->setCurrentRow(0);
        window.deleteButton()->click();  // the question is answered Yes
        QCOMPARE(settings.readInt("Gtimer", "Total", -1), 2);
        QCOMPARE(window.presetList()->count(), 2);
        QCOMPARE(window.presetList()->item(0)->text(), QStringLiteral("p1"));
        QCOMPARE(settings.readText("Gtimer", "0_Title", ""), std::string("p1"));
        QCOMPARE(settings.readInt("Gtimer", "1_M", 0), 12);
        QCOMPARE(settings.readText("Gtimer", "1_50", ""), std::string("/snd/half.wav"));
        QVERIFY(!window.deleteButton()->isEnabled());
    }

  private:
    platform::SoundRecorder sounds_;
    QStringList warnings_;
};

QTEST_MAIN(DayCountdownTest)
#include "test_day_countdown.moc"
