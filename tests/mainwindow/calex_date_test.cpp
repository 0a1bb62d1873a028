#include "mainwindow/calex_date.h"

#include <gtest/gtest.h>

namespace hinagiku::mainwindow::calex {
namespace {

// Reference day numbers by the usual integer algorithms.
int referenceGregorian(int y, int m, int d) {
    const int a = (14 - m) / 12;
    const int yy = y + 4800 - a;
    const int mm = m + 12 * a - 3;
    return d + (153 * mm + 2) / 5 + 365 * yy + yy / 4 - yy / 100 + yy / 400 - 32045;
}

int referenceJulian(int y, int m, int d) {
    const int a = (14 - m) / 12;
    const int yy = y + 4800 - a;
    const int mm = m + 12 * a - 3;
    return d + (153 * mm + 2) / 5 + 365 * yy + yy / 4 - 32083;
}

TEST(CalexDate, JulianCalendarUpToTheReform) {
    for (int y = 1; y <= 1582; ++y) {
        for (int m = 1; m <= 12; ++m) {
            for (int d = 1; d <= daysInMonth(y, m); ++d) {
                if (y == 1582 && (m > 10 || (m == 10 && d > 4)))
                    break;
                ASSERT_EQ(dayNumber(y, m, d), referenceJulian(y, m, d))
                    << y << '-' << m << '-' << d;
            }
        }
    }
}

TEST(CalexDate, GregorianCalendarFromTheReformTo3999) {
    for (int y = 1582; y <= 3999; ++y) {
        for (int m = (y == 1582 ? 10 : 1); m <= 12; ++m) {
            for (int d = (y == 1582 && m == 10 ? 15 : 1); d <= daysInMonth(y, m); ++d) {
                ASSERT_EQ(dayNumber(y, m, d), referenceGregorian(y, m, d))
                    << y << '-' << m << '-' << d;
            }
        }
    }
    EXPECT_EQ(dayNumber(2000, 1, 1), 2451545);
}

TEST(CalexDate, ReformGapRaisesWithItsMessage) {
    for (int d = 5; d <= 14; ++d) {
        EXPECT_TRUE(inReformGap(1582, 10, d));
        EXPECT_THROW(dayNumber(1582, 10, d), EJuliusError);
    }
    try {
        dayNumber(1582, 10, 10);
        FAIL();
    } catch (const EJuliusError& e) {
        EXPECT_STREQ(e.what(), "1582/10/5-10/14は存在しません。");
    }
    EXPECT_EQ(dayNumber(1582, 10, 15) - dayNumber(1582, 10, 4), 1);
    EXPECT_EQ(weekday(1582, 10, 4), 5);   // Thursday
    EXPECT_EQ(weekday(1582, 10, 15), 6);  // Friday
}

TEST(CalexDate, LeapYearRules) {
    struct Case {
        int year;
        int february;
    } cases[] = {{2000, 29}, {2100, 28}, {1900, 28}, {2024, 29}, {2023, 28}, {4000, 28},
                 {8000, 28}, {4400, 29}, {1500, 29}, {1300, 29}, {1581, 28}, {1600, 29}};
    for (const auto& c : cases)
        EXPECT_EQ(daysInMonth(c.year, 2), c.february) << c.year;
}

// From 4000 on the day numbers stay continuous under the library's own
// month lengths, so the extra dropped leap day is consistent.
TEST(CalexDate, DayNumbersContinuousAcrossThe4000YearRule) {
    int previous = dayNumber(3990, 1, 1) - 1;
    for (int y = 3990; y <= 8010; ++y) {
        for (int m = 1; m <= 12; ++m) {
            for (int d = 1; d <= daysInMonth(y, m); ++d) {
                const int j = dayNumber(y, m, d);
                ASSERT_EQ(j, previous + 1) << y << '-' << m << '-' << d;
                previous = j;
            }
        }
    }
    EXPECT_EQ(dayNumber(4000, 3, 1) - dayNumber(4000, 2, 28), 1);
    EXPECT_EQ(dayNumber(4000, 3, 1) - referenceGregorian(4000, 3, 1), -1);
}

TEST(CalexDate, Weekdays) {
    EXPECT_EQ(weekday(2000, 1, 1), 7);   // Saturday
    EXPECT_EQ(weekday(2024, 3, 12), 3);  // Tuesday
    EXPECT_EQ(weekday(2024, 9, 1), 1);   // Sunday
    EXPECT_EQ(weekday(1899, 12, 30), 7);
}

TEST(CalexDate, OwnEquinoxFormula) {
    struct Case {
        int year, month, day;
    } equinoxes[] = {{2000, 3, 20}, {2000, 9, 23}, {2012, 9, 22}, {2016, 9, 22}, {2020, 9, 22},
                     {2024, 9, 22}, {2092, 3, 19}, {2096, 3, 19}, {2024, 3, 20}};
    for (const auto& c : equinoxes) {
        EXPECT_TRUE(isEquinox(c.year, c.month, c.day)) << c.year << '-' << c.month << '-' << c.day;
        EXPECT_FALSE(isEquinox(c.year, c.month, c.day + 1));
        EXPECT_FALSE(isEquinox(c.year, c.month, c.day - 1));
    }
    EXPECT_EQ(vernalEquinox(2000), dayNumber(2000, 3, 20));
    EXPECT_EQ(autumnalEquinox(2012), dayNumber(2012, 9, 22));
}

}  // namespace
}  // namespace hinagiku::mainwindow::calex
