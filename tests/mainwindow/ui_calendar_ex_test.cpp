#include <QImage>
#include <QLocale>
#include <QSignalSpy>
#include <QtTest>

#include "mainwindow/ui/calendar_ex.h"

using hinagiku::mainwindow::DayColor;
using hinagiku::mainwindow::TCalendarEx;

namespace {

// Puts the calendar on a date without going through an invalid one.
void showDate(TCalendarEx& cal, int y, int m, int d) {
    cal.setDay(1);
    cal.setYear(y);
    cal.setMonth(m);
    cal.setDay(d);
}

}  // namespace

class CalendarExTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan)); }

    void weekdayRowIsSundayFirst() {
        TCalendarEx cal;
        const QStringList names{"日", "月", "火", "水", "木", "金", "土"};
        for (int column = 0; column < 7; ++column)
            QCOMPARE(cal.cellText(column, 0), names[column]);
    }

    void gridForEachStartingWeekday_data() {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<QStringList>("row1");
        QTest::newRow("sunday") << 2024 << 9 << QStringList{"1", "2", "3", "4", "5", "6", "7"};
        QTest::newRow("monday") << 2024 << 1 << QStringList{"31", "1", "2", "3", "4", "5", "6"};
        QTest::newRow("tuesday") << 2024 << 10 << QStringList{"29", "30", "1", "2", "3", "4", "5"};
        QTest::newRow("wednesday")
            << 2024 << 5 << QStringList{"28", "29", "30", "1", "2", "3", "4"};
        QTest::newRow("thursday") << 2024 << 2
                                  << QStringList{"28", "29", "30", "31", "1", "2", "3"};
        QTest::newRow("friday") << 2024 << 3 << QStringList{"25", "26", "27", "28", "29", "1", "2"};
        QTest::newRow("saturday") << 2024 << 6
                                  << QStringList{"26", "27", "28", "29", "30", "31", "1"};
        QTest::newRow("1582-10") << 1582 << 10 << QStringList{"30", "1", "2", "3", "4", "15", "16"};
        QTest::newRow("4000-02") << 4000 << 2 << QStringList{"30", "31", "1", "2", "3", "4", "5"};
    }
    void gridForEachStartingWeekday() {
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(QStringList, row1);
        TCalendarEx cal;
        showDate(cal, year, month, 1);
        for (int column = 0; column < 7; ++column)
            QCOMPARE(cal.cellText(column, 1), row1[column]);
        // Cells of the neighbour months are grey, or empty without ShowNeighbor.
        const int firstColumn = cal.selectedCell()->column;
        if (firstColumn > 0) {
            QCOMPARE(cal.cellColor(0, 1), cal.color(DayColor::NeighborDay));
            cal.setShowNeighbor(false);
            QCOMPARE(cal.cellText(0, 1), QString());
        }
    }

    void february4000EndsOnThe28th() {
        TCalendarEx cal;
        showDate(cal, 4000, 2, 28);
        const auto cell = cal.selectedCell();
        QVERIFY(cell);
        const int nextColumn = (cell->column + 1) % 7;
        const int nextRow = cell->row + (cell->column == 6 ? 1 : 0);
        QCOMPARE(cal.cellCode(nextColumn, nextRow), 201);
        QSignalSpy changes(&cal, &TCalendarEx::OnChange);
        cal.setDay(29);
        QCOMPARE(cal.day(), 28);
        QCOMPARE(changes.count(), 0);
    }

    void selectionStaysValidAcrossMonthChanges() {
        TCalendarEx cal;
        showDate(cal, 2024, 1, 31);
        QSignalSpy changes(&cal, &TCalendarEx::OnChange);
        cal.setMonth(2);
        QCOMPARE(cal.day(), 29);
        QCOMPARE(changes.count(), 1);
        cal.setYear(2023);
        QCOMPARE(cal.day(), 28);
        QCOMPARE(changes.count(), 2);
        cal.setDay(0);
        cal.setDay(29);
        cal.setMonth(13);
        cal.setYear(0);
        QCOMPARE(changes.count(), 2);  // invalid values are ignored
        QCOMPARE(cal.year(), 2023);
        cal.setMonth(2);  // unchanged
        QCOMPARE(changes.count(), 2);
        // Into the reform gap: the day steps back to the last day before it.
        showDate(cal, 1582, 9, 10);
        cal.setMonth(10);
        QCOMPARE(cal.day(), 4);
        QCOMPARE(cal.dayOfWeek(), 5);
        cal.setDay(7);
        QCOMPARE(cal.day(), 4);
        cal.setDay(15);
        QCOMPARE(cal.dayOfWeek(), 6);
    }

    void clickSelectsAndFiresClickBeforeChange() {
        TCalendarEx cal;
        cal.resize(224, 189);
        showDate(cal, 2024, 3, 12);
        int dayAtClick = 0;
        connect(&cal, &TCalendarEx::OnClick, this, [&] { dayAtClick = cal.day(); });
        QSignalSpy changes(&cal, &TCalendarEx::OnChange);
        QSignalSpy clicks(&cal, &TCalendarEx::OnClick);
        const auto target = cal.cellRect(3, 4);  // Wednesday of the fourth row: 20 March
        QCOMPARE(cal.cellCode(3, 4), 20);
        QTest::mouseClick(&cal, Qt::LeftButton, {}, target.center());
        QCOMPARE(dayAtClick, 12);
        QCOMPARE(cal.day(), 20);
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(changes.count(), 1);
        // The selected day again: still a click and a change.
        QTest::mouseClick(&cal, Qt::LeftButton, {}, target.center());
        QCOMPARE(changes.count(), 2);
        // A neighbour-month cell selects nothing.
        QTest::mouseClick(&cal, Qt::LeftButton, {}, cal.cellRect(0, 1).center());
        QCOMPARE(cal.day(), 20);
        QCOMPARE(cal.month(), 3);
        // The weekday row is not a day.
        QTest::mouseClick(&cal, Qt::LeftButton, {}, cal.cellRect(2, 0).center());
        QCOMPARE(clicks.count(), 3);
    }

    void keyboardMovesInsideTheMonth() {
        TCalendarEx cal;
        showDate(cal, 2024, 3, 30);
        QTest::keyClick(&cal, Qt::Key_Right);
        QCOMPARE(cal.day(), 31);
        QTest::keyClick(&cal, Qt::Key_Right);
        QCOMPARE(cal.day(), 31);
        QTest::keyClick(&cal, Qt::Key_Up);
        QCOMPARE(cal.day(), 24);
        showDate(cal, 1582, 10, 4);
        QTest::keyClick(&cal, Qt::Key_Right);
        QCOMPARE(cal.day(), 15);
    }

    void sizingFitsTheCellsExactly() {
        TCalendarEx cal;
        cal.setGridLineWidth(0);
        cal.show();
        cal.resize(230, 190);
        QCOMPARE(cal.size(), QSize(224, 189));
        QCOMPARE(cal.columnWidth(), 32);
        QCOMPARE(cal.rowHeight(), 27);
        cal.setGridLineWidth(1);
        cal.resize(230, 190);
        QCOMPARE(cal.size(), QSize(224, 190 - (190 - 7) % 7));
        QCOMPARE(cal.cellRect(1, 1).topLeft(), QPoint(cal.columnWidth() + 1, cal.rowHeight() + 1));
    }

    void coloursAndSelectionFill() {
        TCalendarEx cal;
        cal.setGridLineWidth(0);
        cal.resize(224, 189);
        showDate(cal, 2012, 9, 3);
        cal.setTypeOfDayList({"9,17,敬老の日", "9,23,秋分の日"});
        cal.setSpecialDayList({"9,5"});
        QCOMPARE(cal.cellColor(6, 4), cal.color(DayColor::Holiday));  // 22nd: own equinox
        QCOMPARE(cal.cellColor(0, 5), cal.color(DayColor::Holiday));  // 23rd: listed
        QCOMPARE(cal.cellColor(1, 5), cal.color(DayColor::Holiday));  // 24th: substitute
        QCOMPARE(cal.cellColor(3, 2), cal.color(DayColor::SpecialDay));
        QCOMPARE(cal.cellColor(0, 2), cal.color(DayColor::Sunday));
        QCOMPARE(cal.cellColor(6, 2), cal.color(DayColor::Saturday));
        QCOMPARE(cal.cellColor(2, 2), cal.color(DayColor::Weekday));
        cal.setColorAt(0, QColor(0x80, 0x80, 0x80));
        QCOMPARE(cal.color(DayColor::Weekday), QColor(0x80, 0x80, 0x80));
        showDate(cal, 2012, 9, 17);
        QCOMPARE(cal.typeOfDayText(), QString("敬老の日"));

        // The selected cell is filled with its day colour; others are not.
        const QImage image = cal.grab().toImage();
        const QRect selected = cal.cellRect(1, 4);
        QCOMPARE(image.pixelColor(selected.topLeft() + QPoint(1, 1)), cal.color(DayColor::Holiday));
        const QRect other = cal.cellRect(2, 4);
        QCOMPARE(image.pixelColor(other.topLeft() + QPoint(1, 1)),
                 cal.palette().color(QPalette::Base));
    }

    void doubleClickReported() {
        TCalendarEx cal;
        cal.resize(224, 189);
        QSignalSpy doubles(&cal, &TCalendarEx::OnDblClick);
        QTest::mouseDClick(&cal, Qt::LeftButton, {}, cal.cellRect(3, 3).center());
        QCOMPARE(doubles.count(), 1);
    }
};

QTEST_MAIN(CalendarExTest)
#include "ui_calendar_ex_test.moc"
