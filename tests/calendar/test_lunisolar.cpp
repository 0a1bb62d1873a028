#include "calendar/lunisolar.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <string>

namespace hinagiku {
namespace {

DateTime day(int year, int month, int d) {
    return *encodeDate(year, month, d);
}

LunisolarDay lunisolar(int year, int month, int d) {
    return LunisolarDate(lunisolarDayNumber(day(year, month, d)));
}

TEST(LunisolarTest, DayNumberOfTheAlgorithms) {
    EXPECT_EQ(lunisolarDayNumber(day(2000, 1, 1)), 2451544);
    // The civil-date formula the series were written for.
    for (int year = 1; year <= 9999; year += 37) {
        for (int month = 1; month <= 12; ++month) {
            int y = year, m = month;
            if (m < 3) {
                --y;
                m += 12;
            }
            const int n = static_cast<int>(365.25 * y) + static_cast<int>(y * 0.0025) -
                          static_cast<int>(y * 0.01) + static_cast<int>((m - 2) * 30.59) + 1721088 +
                          17;
            ASSERT_EQ(lunisolarDayNumber(day(year, month, 17)), n) << year << "-" << month;
        }
    }
}

struct DayCase {
    int year, month, day;
    LunisolarDay expected;
    const char* rokuyo;
    const char* term;
};

class LunisolarCasesTest : public ::testing::TestWithParam<DayCase> {};

TEST_P(LunisolarCasesTest, DateRokuyoAndTerm) {
    const DayCase& c = GetParam();
    const DateTime date = day(c.year, c.month, c.day);
    EXPECT_EQ(lunisolar(c.year, c.month, c.day), c.expected)
        << c.year << "-" << c.month << "-" << c.day;
    EXPECT_EQ(Rokuyo(date), c.rokuyo);
    EXPECT_EQ(SolarTermName(date), c.term);
}

INSTANTIATE_TEST_SUITE_P(Edges, LunisolarCasesTest,
                         ::testing::Values(DayCase{2004, 1, 22, {1, false, 1}, "先勝", ""},
                                           DayCase{2004, 1, 21, {12, false, 30}, "大安", "大寒"},
                                           DayCase{2004, 2, 4, {1, false, 14}, "友引", "立春"},
                                           DayCase{2004, 2, 3, {1, false, 13}, "先勝", ""},
                                           DayCase{2004, 3, 20, {2, false, 30}, "先勝", "春分"},
                                           DayCase{2004, 6, 21, {5, false, 4}, "友引", "夏至"},
                                           DayCase{2001, 5, 23, {4, true, 1}, "仏滅", ""},
                                           DayCase{2001, 4, 24, {4, false, 1}, "仏滅", ""},
                                           DayCase{2017, 6, 24, {5, true, 1}, "大安", ""},
                                           DayCase{2020, 5, 23, {4, true, 1}, "仏滅", ""},
                                           DayCase{2033, 12, 22, {11, true, 1}, "大安", ""},
                                           DayCase{2017, 5, 26, {5, false, 1}, "大安", ""},
                                           DayCase{2020, 4, 23, {4, false, 1}, "仏滅", ""}));

TEST(LunisolarTest, TermOnlyOnTheDayOfTheCrossing) {
    // Over a year exactly 24 days carry a term name, and the day before
    // each of them carries none.
    int named = 0;
    const DateTime first = day(2023, 1, 1);
    for (int i = 0; i < 365; ++i) {
        if (SolarTermName(first + i).empty())
            continue;
        ++named;
        EXPECT_EQ(SolarTermName(first + i - 1), "") << i;
    }
    EXPECT_EQ(named, 24);
}

TEST(LunisolarTest, LongitudesAtKnownInstants) {
    // The sun at the 2004 vernal equinox (20 March 06:49 UT) and the moon in
    // conjunction with it at the new moon of 21 January 2004 21:05 UT.
    const double n = lunisolarDayNumber(day(2004, 3, 20));
    const double atEquinox = SunLongitude(lunisolarCenturies(n, (6 * 60 + 49) / 1440.0));
    EXPECT_NEAR(std::remainder(atEquinox, 360.0), 0.0, 0.01);
    const double m = lunisolarDayNumber(day(2004, 1, 21));
    const double t = lunisolarCenturies(m, (21 * 60 + 5) / 1440.0);
    EXPECT_NEAR(std::remainder(MoonLongitude(t) - SunLongitude(t), 360.0), 0.0, 0.05);
}

TEST(LunisolarTest, BuildingBlocksFindTheirInstants) {
    // The new moon of 22 January 2004, 06:05 Japan time, and the winter
    // solstice of 22 December 2003, 16:04 (the short series are good to a
    // few minutes).
    const double n = lunisolarDayNumber(day(2004, 1, 30));
    const double newMoon = NewMoonNear(n);
    EXPECT_NEAR(newMoon, lunisolarDayNumber(day(2004, 1, 22)) + (6 * 60 + 5) / 1440.0, 5.0 / 1440);
    const TermTime solstice = PrecedingTermTime(n, 90);
    EXPECT_EQ(solstice.longitude, 270.0);
    EXPECT_NEAR(solstice.time, lunisolarDayNumber(day(2003, 12, 22)) + (16 * 60 + 4) / 1440.0,
                20.0 / 1440);
    EXPECT_EQ(PrecedingTermTime(n, 30).longitude, 300.0);
}

TEST(LunisolarTest, JapanTimeWhateverTheMachinesZone) {
    // 2004-01-21 is the day of 大寒 and the last day of the 12th month in
    // Japan, wherever the program runs.
    const char* previous = std::getenv("TZ");
    const std::string saved = previous != nullptr ? previous : "";
    for (const char* zone : {"America/Los_Angeles", "Pacific/Kiritimati", "UTC"}) {
        setenv("TZ", zone, 1);
        tzset();
        resetLunisolarMemo();
        EXPECT_EQ(Rokuyo(day(2004, 1, 21)), "大安") << zone;
        EXPECT_EQ(SolarTermName(day(2004, 1, 21)), "大寒") << zone;
        EXPECT_EQ(Rokuyo(day(2004, 1, 22)), "先勝") << zone;
    }
    if (previous != nullptr) {
        setenv("TZ", saved.c_str(), 1);
    } else {
        unsetenv("TZ");
    }
    tzset();
}

double frozenSun(double) {
    return 100.0;
}
// A moon that jumps across the sun on every step, so the search never
// settles.
double restlessMoon(double t) {
    return std::fmod(t * 1e7, 2.0) < 1.0 ? 90.0 : 110.0;
}

TEST(LunisolarTest, NewMoonSearchGivesUpAndReturnsItsInput) {
    const double tm = lunisolarDayNumber(day(2004, 1, 30)) + 0.25;
    const NewMoonSearch search = searchNewMoon(tm, {&frozenSun, &restlessMoon});
    EXPECT_FALSE(search.converged);
    EXPECT_EQ(search.iterations, 31);
    EXPECT_EQ(search.time, tm);
    EXPECT_TRUE(searchNewMoon(tm).converged);
}

}  // namespace
}  // namespace hinagiku
