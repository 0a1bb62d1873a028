#include "calendar/date_time.h"

#include <gtest/gtest.h>

namespace hinagiku {
namespace {

TEST(DateTimeTest, KnownDayNumbers) {
    struct Case {
        CivilDate date;
        int number;
        int weekday;
    };
    for (const Case& c :
         {Case{{1899, 12, 30}, 0, 7}, Case{{1899, 12, 31}, 1, 1}, Case{{1900, 1, 1}, 2, 2},
          Case{{1900, 3, 1}, 61, 5}, Case{{2000, 1, 1}, 36526, 7}, Case{{2024, 3, 15}, 45366, 6},
          Case{{1, 1, 1}, -693593, 2}, Case{{9999, 12, 31}, 2958465, 6},
          Case{{1582, 10, 15}, -115858, 6}}) {
        EXPECT_EQ(encodeDate(c.date), c.number) << c.date.year;
        EXPECT_EQ(decodeDate(c.number), c.date) << c.number;
        EXPECT_EQ(DayOfWeek(c.number), c.weekday) << c.number;
    }
}

TEST(DateTimeTest, RejectsImpossibleDates) {
    EXPECT_FALSE(encodeDate(2023, 2, 29));
    EXPECT_TRUE(encodeDate(2024, 2, 29));
    EXPECT_FALSE(encodeDate(1900, 2, 29));
    EXPECT_TRUE(encodeDate(2000, 2, 29));
    EXPECT_FALSE(encodeDate(0, 1, 1));
    EXPECT_FALSE(encodeDate(10000, 1, 1));
    EXPECT_FALSE(encodeDate(2024, 13, 1));
    EXPECT_FALSE(encodeDate(2024, 4, 31));
    EXPECT_FALSE(encodeDate(2024, 1, 0));
}

TEST(DateTimeTest, RoundTripsEveryDayOfFourCenturies) {
    int expected = *encodeDate(1800, 1, 1);
    for (int year = 1800; year < 2200; ++year) {
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= daysInMonth(year, month); ++day) {
                ASSERT_EQ(encodeDate(year, month, day), expected);
                ASSERT_EQ(decodeDate(expected), (CivilDate{year, month, day}));
                ++expected;
            }
        }
    }
}

TEST(DateTimeTest, TimeOfDay) {
    EXPECT_DOUBLE_EQ(*encodeTime(12, 0), 0.5);
    EXPECT_DOUBLE_EQ(*encodeTime(6, 0), 0.25);
    EXPECT_FALSE(encodeTime(24, 0));
    EXPECT_FALSE(encodeTime(0, 60));
    EXPECT_EQ(decodeTime(45366.0 + *encodeTime(7, 5, 9, 250)), (ClockTime{7, 5, 9, 250}));
    // Before the epoch the fraction still counts from midnight.
    EXPECT_EQ(decodeTime(-1.25), (ClockTime{6, 0, 0, 0}));
    EXPECT_EQ(decodeDate(-1.25), (CivilDate{1899, 12, 29}));
    // A value a hair below midnight stays on its own day.
    EXPECT_EQ(decodeTime(45366.0 + 0.9999999999), (ClockTime{23, 59, 59, 999}));
}

}  // namespace
}  // namespace hinagiku
