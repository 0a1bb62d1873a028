#include <QImage>
#include <QtTest>

#include "calendar/date_time.h"
#include "mainwindow/ui/dr_clock.h"
#include "support/fake_clock.h"

using hinagiku::mainwindow::TDRClock;
using hinagiku::testing::FakeClock;

namespace {

double at(int h, int m, int s) {
    return 45000.0 + *hinagiku::encodeTime(h, m, s);
}

// The main window's clock: 70 x 70, black, no numerals, dots.
void makeMainClock(TDRClock& clock) {
    clock.resize(70, 70);
    clock.setBorder(TDRClock::Border::None);
    clock.setFaceColor(Qt::black);
    clock.setPointerColor(Qt::yellow);
    clock.setSecondsColor(Qt::red);
    clock.setScaleColor(Qt::white);
    clock.setDisplayText(false);
    clock.setDisplayPoints(true);
}

}  // namespace

class DRClockTest : public QObject {
    Q_OBJECT

  private slots:
    void ticksRedrawOnlyWhenTheSecondChanges() {
        FakeClock time(at(9, 30, 15));
        TDRClock clock(nullptr, &time);
        clock.setEnabled(false);
        QVERIFY(!clock.isRunning());
        QCOMPARE(clock.drawnTime().hour, -1);
        QVERIFY(clock.tick());
        QCOMPARE(clock.drawnTime().hour, 9);
        QCOMPARE(clock.drawnTime().minute, 30);
        QCOMPARE(clock.drawnTime().second, 15);
        time.advanceSeconds(0.5);
        QVERIFY(!clock.tick());
        time.advanceSeconds(0.5);
        QVERIFY(clock.tick());
        QCOMPARE(clock.drawnTime().second, 16);
    }

    void enabledSwitchesTheTimer() {
        FakeClock time(at(12, 0, 0));
        TDRClock clock(nullptr, &time);
        QVERIFY(clock.isRunning());
        // The first step comes almost at once.
        QTRY_COMPARE_WITH_TIMEOUT(clock.drawnTime().hour, 12, 500);
        clock.setEnabled(false);
        QVERIFY(!clock.isRunning());
        time.advanceSeconds(5);
        QTest::qWait(1100);
        QCOMPARE(clock.drawnTime().second, 0);
        clock.setEnabled(true);
        QTRY_COMPARE_WITH_TIMEOUT(clock.drawnTime().second, 5, 500);
    }

    void handsDrawnWhereTheTimeSays() {
        FakeClock time(at(3, 0, 30));
        TDRClock clock(nullptr, &time);
        clock.setEnabled(false);
        makeMainClock(clock);
        clock.tick();
        const QImage image = clock.grab().toImage();
        // Centre 35,35; minute hand up, hour hand right, second hand down.
        QCOMPARE(image.pixelColor(35, 15), QColor(Qt::yellow));
        QCOMPARE(image.pixelColor(55, 35), QColor(Qt::yellow));
        QCOMPARE(image.pixelColor(35, 60), QColor(Qt::red));
        QCOMPARE(image.pixelColor(15, 35), QColor(Qt::black));         // nothing at 9 o'clock
        QCOMPARE(image.pixelColor(35, 35), QColor(0x80, 0x80, 0x80));  // centre dot
        // Hour dots: 12 o'clock at 0.895 R.
        QCOMPARE(image.pixelColor(35, 4), QColor(Qt::white));

        // After noon the main window draws the hands white; at 21:45 the
        // hour hand points towards 10 and the minute hand to 9.
        clock.setPointerColor(Qt::white);
        time.set(at(21, 45, 0));
        clock.tick();
        const QImage evening = clock.grab().toImage();
        QCOMPARE(evening.pixelColor(15, 35), QColor(Qt::white));
        QCOMPARE(evening.pixelColor(35, 15), QColor(Qt::red));  // second hand at 0
    }

    void facesAndFrames() {
        FakeClock time(at(0, 0, 0));
        TDRClock clock(nullptr, &time);
        clock.setEnabled(false);
        clock.resize(100, 100);
        clock.setBorder(TDRClock::Border::Single);
        const QImage single = clock.grab().toImage();
        QCOMPARE(single.pixelColor(50, 0), QColor(Qt::white));  // 1-pixel outline
        QCOMPARE(single.pixelColor(50, 2), clock.faceColor());
        clock.setBorder(TDRClock::Border::Lowered);
        const QImage lowered = clock.grab().toImage();
        QCOMPARE(lowered.pixelColor(50, 0), clock.palette().color(QPalette::Dark));
        QCOMPARE(lowered.pixelColor(50, 99), clock.palette().color(QPalette::Light));
        QCOMPARE(lowered.pixelColor(50, 3), clock.faceColor());
    }
};

QTEST_MAIN(DRClockTest)
#include "ui_dr_clock_test.moc"
