// The holiday law, checked against the law's own history and the holiday
// lists the Cabinet Office publishes.
#include "calendar/holiday_law.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "calendar/holidays.h"
#include "support/memory_settings.h"

namespace hinagiku {
namespace {

using Names = std::vector<std::string>;

int day(int year, int month, int d) {
    return *encodeDate(year, month, d);
}

std::string iso(int value) {
    const CivilDate c = decodeDate(value);
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", c.year, c.month, c.day);
    return buffer;
}

struct LawCase {
    int year, month, day;
    Names expected;
};

class LawCasesTest : public ::testing::TestWithParam<LawCase> {};

TEST_P(LawCasesTest, Names) {
    const LawCase& c = GetParam();
    EXPECT_EQ(lawHolidayNames(day(c.year, c.month, c.day)), c.expected)
        << c.year << "-" << c.month << "-" << c.day;
}

INSTANTIATE_TEST_SUITE_P(
    FirstAndLastYears, LawCasesTest,
    ::testing::Values(
        // The law comes into force on 20 July 1948.
        LawCase{1948, 5, 3, {}}, LawCase{1948, 7, 19, {}}, LawCase{1948, 9, 23, {"【秋分の日】"}},
        LawCase{1948, 11, 3, {"【文化の日】"}}, LawCase{1948, 11, 23, {"【勤労感謝の日】"}},
        LawCase{1949, 1, 1, {"【元日】"}}, LawCase{1949, 3, 21, {"【春分の日】"}},
        LawCase{1949, 4, 29, {"【天皇誕生日】"}}, LawCase{1949, 5, 3, {"【憲法記念日】"}},
        LawCase{1949, 5, 5, {"【こどもの日】"}},
        // 成人の日: 15 January to 1999, the second Monday from 2000.
        LawCase{1999, 1, 15, {"【成人の日】"}}, LawCase{1999, 1, 11, {}},
        LawCase{2000, 1, 10, {"【成人の日】"}}, LawCase{2000, 1, 15, {}},
        // 建国記念の日 from 1967.
        LawCase{1966, 2, 11, {}}, LawCase{1967, 2, 11, {"【建国記念の日】"}},
        // 天皇誕生日 and the days of 29 April.
        LawCase{1988, 4, 29, {"【天皇誕生日】"}}, LawCase{1989, 4, 29, {"【みどりの日】"}},
        LawCase{2006, 4, 29, {"【みどりの日】"}}, LawCase{2007, 4, 29, {"【昭和の日】"}},
        LawCase{2007, 4, 30, {"【振替休日】"}}, LawCase{1988, 12, 23, {}},
        LawCase{1989, 12, 23, {"【天皇誕生日】"}}, LawCase{2018, 2, 23, {}},
        LawCase{2018, 12, 23, {"【天皇誕生日】"}}, LawCase{2018, 12, 24, {"【振替休日】"}},
        LawCase{2019, 2, 23, {}}, LawCase{2019, 12, 23, {}},
        LawCase{2020, 2, 23, {"【天皇誕生日】"}}, LawCase{2020, 2, 24, {"【振替休日】"}},
        LawCase{2020, 12, 23, {}},
        // みどりの日 moves to 4 May in 2007.
        LawCase{2006, 5, 4, {"【国民の休日】"}}, LawCase{2007, 5, 4, {"【みどりの日】"}},
        // 海の日: 20 July 1996-2002, the third Monday from 2003.
        LawCase{1995, 7, 20, {}}, LawCase{1996, 7, 20, {"【海の日】"}},
        LawCase{2002, 7, 20, {"【海の日】"}}, LawCase{2003, 7, 20, {}},
        LawCase{2003, 7, 21, {"【海の日】"}}, LawCase{2022, 7, 18, {"【海の日】"}},
        // 山の日 from 2016.
        LawCase{2015, 8, 11, {}}, LawCase{2016, 8, 11, {"【山の日】"}},
        LawCase{2026, 8, 11, {"【山の日】"}},
        // 敬老の日: 15 September 1966-2002, the third Monday from 2003.
        LawCase{1965, 9, 15, {}}, LawCase{1966, 9, 15, {"【敬老の日】"}},
        LawCase{2002, 9, 15, {"【敬老の日】"}}, LawCase{2002, 9, 16, {"【振替休日】"}},
        LawCase{2003, 9, 15, {"【敬老の日】"}},
        // 体育の日 1966-2019, スポーツの日 from 2020.
        LawCase{1965, 10, 10, {}}, LawCase{1966, 10, 10, {"【体育の日】"}},
        LawCase{1999, 10, 10, {"【体育の日】"}}, LawCase{1999, 10, 11, {"【振替休日】"}},
        LawCase{2000, 10, 9, {"【体育の日】"}}, LawCase{2000, 10, 10, {}},
        LawCase{2019, 10, 14, {"【体育の日】"}}, LawCase{2022, 10, 10, {"【スポーツの日】"}}));

INSTANTIATE_TEST_SUITE_P(
    SubstituteAndBetween, LawCasesTest,
    ::testing::Values(
        // The substitute holiday from 12 April 1973: 11 February 1973 was a
        // Sunday without one, 29 April 1973 the first with one.
        LawCase{1973, 2, 12, {}}, LawCase{1973, 4, 30, {"【振替休日】"}},
        // From 2007 the substitute moves past the holidays that follow.
        LawCase{2008, 5, 6, {"【振替休日】"}}, LawCase{2009, 5, 6, {"【振替休日】"}},
        LawCase{2024, 9, 23, {"【振替休日】"}},
        // The day between two holidays from 27 December 1985; until 2006 not
        // on a Sunday and not on a substitute holiday.
        LawCase{1985, 5, 4, {}}, LawCase{1986, 5, 4, {}}, LawCase{1987, 5, 4, {"【振替休日】"}},
        LawCase{1988, 5, 4, {"【国民の休日】"}}, LawCase{1992, 5, 4, {"【振替休日】"}},
        LawCase{1997, 5, 4, {}}, LawCase{1998, 5, 4, {"【振替休日】"}},
        // From 2007 any day between two holidays.
        LawCase{2009, 9, 22, {"【国民の休日】"}}, LawCase{2015, 9, 22, {"【国民の休日】"}},
        LawCase{2026, 9, 22, {"【国民の休日】"}}, LawCase{2032, 9, 21, {"【国民の休日】"}}));

INSTANTIATE_TEST_SUITE_P(
    SpecialYears, LawCasesTest,
    ::testing::Values(
        LawCase{1959, 4, 10, {"【皇太子明仁親王の結婚の儀】"}},
        LawCase{1989, 2, 24, {"【昭和天皇の大喪の礼】"}},
        LawCase{1990, 11, 12, {"【即位礼正殿の儀】"}},
        LawCase{1993, 6, 9, {"【皇太子徳仁親王の結婚の儀】"}},
        LawCase{2019, 4, 30, {"【国民の休日】"}}, LawCase{2019, 5, 1, {"【天皇の即位の日】"}},
        LawCase{2019, 5, 2, {"【国民の休日】"}}, LawCase{2019, 10, 22, {"【即位礼正殿の儀】"}},
        // The Olympic moves: the days themselves and the days they left.
        LawCase{2020, 7, 20, {}}, LawCase{2020, 7, 23, {"【海の日】"}},
        LawCase{2020, 7, 24, {"【スポーツの日】"}}, LawCase{2020, 8, 10, {"【山の日】"}},
        LawCase{2020, 8, 11, {}}, LawCase{2020, 10, 12, {}}, LawCase{2021, 7, 19, {}},
        LawCase{2021, 7, 22, {"【海の日】"}}, LawCase{2021, 7, 23, {"【スポーツの日】"}},
        LawCase{2021, 8, 8, {"【山の日】"}}, LawCase{2021, 8, 9, {"【振替休日】"}},
        LawCase{2021, 8, 11, {}}, LawCase{2021, 10, 11, {}}));

// Every holiday of a year as the Cabinet Office lists it.
std::vector<std::string> yearList(int year) {
    std::vector<std::string> lines;
    for (int d = day(year, 1, 1); d <= day(year, 12, 31); ++d) {
        std::string line = iso(d);
        const Names names = lawHolidayNames(d);
        if (names.empty())
            continue;
        for (const auto& name : names)
            line += " " + name;
        lines.push_back(line);
    }
    return lines;
}

TEST(HolidayLawTest, WholeYears) {
    EXPECT_EQ(yearList(2026),
              (std::vector<std::string>{
                  "2026-01-01 【元日】", "2026-01-12 【成人の日】", "2026-02-11 【建国記念の日】",
                  "2026-02-23 【天皇誕生日】", "2026-03-20 【春分の日】", "2026-04-29 【昭和の日】",
                  "2026-05-03 【憲法記念日】", "2026-05-04 【みどりの日】",
                  "2026-05-05 【こどもの日】", "2026-05-06 【振替休日】", "2026-07-20 【海の日】",
                  "2026-08-11 【山の日】", "2026-09-21 【敬老の日】", "2026-09-22 【国民の休日】",
                  "2026-09-23 【秋分の日】", "2026-10-12 【スポーツの日】",
                  "2026-11-03 【文化の日】", "2026-11-23 【勤労感謝の日】"}));
    EXPECT_EQ(yearList(2019), (std::vector<std::string>{
                                  "2019-01-01 【元日】",           "2019-01-14 【成人の日】",
                                  "2019-02-11 【建国記念の日】",   "2019-03-21 【春分の日】",
                                  "2019-04-29 【昭和の日】",       "2019-04-30 【国民の休日】",
                                  "2019-05-01 【天皇の即位の日】", "2019-05-02 【国民の休日】",
                                  "2019-05-03 【憲法記念日】",     "2019-05-04 【みどりの日】",
                                  "2019-05-05 【こどもの日】",     "2019-05-06 【振替休日】",
                                  "2019-07-15 【海の日】",         "2019-08-11 【山の日】",
                                  "2019-08-12 【振替休日】",       "2019-09-16 【敬老の日】",
                                  "2019-09-23 【秋分の日】",       "2019-10-14 【体育の日】",
                                  "2019-10-22 【即位礼正殿の儀】", "2019-11-03 【文化の日】",
                                  "2019-11-04 【振替休日】",       "2019-11-23 【勤労感謝の日】",
                              }));
}

TEST(HolidayLawTest, NationalHolidayNameIgnoresSubstituteAndBetweenDays) {
    EXPECT_STREQ(nationalHolidayName({2026, 9, 21}), "敬老の日");
    EXPECT_EQ(nationalHolidayName({2026, 9, 22}), nullptr);
    EXPECT_EQ(nationalHolidayName({2026, 5, 6}), nullptr);
    EXPECT_EQ(nationalHolidayName({2026, 2, 30}), nullptr);
}

// The law behind the settings switch, and the user's own table beside it.
class LawSwitchTest : public ::testing::Test {
  protected:
    Names names(int year, int month, int d) const {
        return HolidayNames(day(year, month, d), settings);
    }
    testing::MemorySettings settings;
};

TEST_F(LawSwitchTest, OffOrAbsentKeepsTheTableRules) {
    writeDefaultHolidays(settings);
    // The five days the table rules get wrong in 2026, and one they get right.
    const std::vector<std::pair<int, int>> days{{4, 29}, {5, 4},  {12, 23}, {2, 23},
                                                {5, 6},  {8, 11}, {9, 22},  {1, 12}};
    std::vector<Names> absent;
    for (const auto& [month, d] : days)
        absent.push_back(names(2026, month, d));
    EXPECT_EQ(absent, (std::vector<Names>{{"【みどりの日】"},
                                          {"【国民の休日】", "【振替休日】"},
                                          {"【天皇誕生日】"},
                                          {},
                                          {},
                                          {},
                                          {},
                                          {"【成人の日】"}}));
    settings.writeText("CalendarEx", "Law", "0");
    for (std::size_t i = 0; i < days.size(); ++i)
        EXPECT_EQ(names(2026, days[i].first, days[i].second), absent[i]) << i;
    settings.writeText("CalendarEx", "Law", "1");
    EXPECT_EQ(names(2026, 4, 29), Names{"【昭和の日】"});
    EXPECT_EQ(names(2026, 12, 23), Names{});
}

TEST_F(LawSwitchTest, DefaultEntriesDoNotDoubleTheLawsNames) {
    writeDefaultHolidays(settings);
    settings.writeBool("CalendarEx", "Law", true);
    // Every day of two years gives exactly the law's names.
    for (int d = day(2025, 1, 1); d <= day(2026, 12, 31); ++d)
        ASSERT_EQ(HolidayNames(d, settings), lawHolidayNames(d)) << iso(d);
    EXPECT_EQ(names(2026, 1, 1), Names{"【元日】"});
    EXPECT_EQ(names(2026, 5, 4), Names{"【みどりの日】"});
    EXPECT_EQ(names(2026, 7, 20), Names{"【海の日】"});
}

TEST_F(LawSwitchTest, OwnDaysJoinTheLawWithoutSubstitutes) {
    settings.writeBool("CalendarEx", "Law", true);
    settings.writeText("Horiday", "06/07", "【創立記念日】");  // a Sunday in 2026
    settings.writeText("Horiday", "11/03", "【町民祭】");      // a default key, own name
    settings.writeText("Horiday", "01/01", "【元日】");        // the law's own name
    settings.writeText("Horiday", "Set", "1");
    EXPECT_EQ(names(2026, 6, 7), Names{"【創立記念日】"});
    EXPECT_EQ(names(2026, 6, 8), Names{});
    EXPECT_EQ(names(2026, 11, 3), (Names{"【文化の日】", "【町民祭】"}));
    EXPECT_EQ(names(2026, 1, 1), Names{"【元日】"});
    EXPECT_TRUE(IsHoliday(day(2026, 6, 7), settings));
}

TEST_F(LawSwitchTest, HappyMondaySwitchHasNoEffectUnderTheLaw) {
    settings.writeBool("CalendarEx", "Law", true);
    for (bool happyMonday : {true, false}) {
        settings.writeBool("CalendarEx", "Happy_Monday", happyMonday);
        EXPECT_EQ(names(2026, 1, 12), Names{"【成人の日】"}) << happyMonday;
        EXPECT_EQ(names(2026, 1, 15), Names{}) << happyMonday;
        EXPECT_EQ(names(1999, 1, 15), Names{"【成人の日】"}) << happyMonday;
    }
}

}  // namespace
}  // namespace hinagiku
