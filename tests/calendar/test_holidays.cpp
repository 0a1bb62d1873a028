#include "calendar/holidays.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/memory_settings.h"
#include "support/memory_settings.h"

namespace hinagiku {
namespace {

using Names = std::vector<std::string>;

DateTime day(int year, int month, int d) {
    return *encodeDate(year, month, d);
}

class HolidaysTest : public ::testing::Test {
  protected:
    void SetUp() override { writeDefaultHolidays(settings); }
    void setHappyMonday(bool on) { settings.writeBool("CalendarEx", "Happy_Monday", on); }
    Names names(int year, int month, int d) const {
        return HolidayNames(day(year, month, d), settings);
    }

    testing::MemorySettings settings;
};

TEST(EquinoxDaysTest, EdgeYears) {
    struct Case {
        int year, vernal, autumnal;
    };
    for (const Case& c : {Case{2004, 20, 23}, Case{1975, 21, 24}, Case{1973, 21, 23},
                          Case{2012, 20, 22}, Case{2016, 20, 22}, Case{2020, 20, 22},
                          Case{2024, 20, 22}, Case{1979, 21, 24}, Case{2023, 21, 23}}) {
        EXPECT_EQ(EquinoxDays(c.year), std::make_pair(c.vernal, c.autumnal)) << c.year;
    }
}

TEST(EquinoxDaysTest, OfficialDays1955To2050) {
    // March and September days of the equinox holidays as announced (and,
    // for the years ahead, as computed by the national observatory).
    const char* table =
        "1955 21 24;1956 21 23;1957 21 23;1958 21 23;1959 21 24;1960 20 23;1961 21 23;"
        "1962 21 23;1963 21 24;1964 20 23;1965 21 23;1966 21 23;1967 21 24;1968 20 23;"
        "1969 21 23;1970 21 23;1971 21 24;1972 20 23;1973 21 23;1974 21 23;1975 21 24;"
        "1976 20 23;1977 21 23;1978 21 23;1979 21 24;1980 20 23;1981 21 23;1982 21 23;"
        "1983 21 23;1984 20 23;1985 21 23;1986 21 23;1987 21 23;1988 20 23;1989 21 23;"
        "1990 21 23;1991 21 23;1992 20 23;1993 20 23;1994 21 23;1995 21 23;1996 20 23;"
        "1997 20 23;1998 21 23;1999 21 23;2000 20 23;2001 20 23;2002 21 23;2003 21 23;"
        "2004 20 23;2005 20 23;2006 21 23;2007 21 23;2008 20 23;2009 20 23;2010 21 23;"
        "2011 21 23;2012 20 22;2013 20 23;2014 21 23;2015 21 23;2016 20 22;2017 20 23;"
        "2018 21 23;2019 21 23;2020 20 22;2021 20 23;2022 21 23;2023 21 23;2024 20 22;"
        "2025 20 23;2026 20 23;2027 21 23;2028 20 22;2029 20 23;2030 20 23;2031 21 23;"
        "2032 20 22;2033 20 23;2034 20 23;2035 21 23;2036 20 22;2037 20 23;2038 20 23;"
        "2039 21 23;2040 20 22;2041 20 23;2042 20 23;2043 21 23;2044 20 22;2045 20 22;"
        "2046 20 23;2047 21 23;2048 20 22;2049 20 22;2050 20 23;";
    int year = 0, vernal = 0, autumnal = 0, used = 0, rows = 0;
    for (const char* p = table;
         std::sscanf(p, "%d %d %d;%n", &year, &vernal, &autumnal, &used) == 3; p += used) {
        EXPECT_EQ(EquinoxDays(year), std::make_pair(vernal, autumnal)) << year;
        ++rows;
    }
    EXPECT_EQ(rows, 96);
}

TEST(EquinoxDaysTest, LongitudeSeriesNearTheCrossings) {
    // 0:00 Japan time of 20 March 2004: just before 0 degrees; of the 21st:
    // just past it.
    EXPECT_GT(equinoxSolarLongitude(2004, 3, 20), 359.0);
    EXPECT_LT(equinoxSolarLongitude(2004, 3, 21), 1.0);
    EXPECT_LT(equinoxSolarLongitude(2012, 9, 22), 180.0);
    EXPECT_GT(equinoxSolarLongitude(2012, 9, 23), 180.0);
}

TEST(HolidayKeyTest, TwoDigitsEach) {
    EXPECT_EQ(holidayKey(2, 3), "02/03");
    EXPECT_EQ(holidayKey(12, 23), "12/23");
}

TEST_F(HolidaysTest, DefaultTableHasElevenDays) {
    EXPECT_EQ(settings.listKeys("Horiday").size(), 11u);
    EXPECT_EQ(settings.readText("Horiday", "05/04", ""), "【国民の休日】");
    EXPECT_EQ(names(2024, 1, 1), Names{"【元旦】"});
    EXPECT_EQ(names(2024, 12, 23), Names{"【天皇誕生日】"});
}

struct HolidayCase {
    int year, month, day;
    bool happyMonday;
    Names expected;
};

class HolidayCasesTest : public HolidaysTest, public ::testing::WithParamInterface<HolidayCase> {};

TEST_P(HolidayCasesTest, Names) {
    const HolidayCase& c = GetParam();
    setHappyMonday(c.happyMonday);
    EXPECT_EQ(names(c.year, c.month, c.day), c.expected)
        << c.year << "-" << c.month << "-" << c.day << (c.happyMonday ? " on" : " off");
    EXPECT_EQ(IsHoliday(day(c.year, c.month, c.day), settings), !c.expected.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Rules, HolidayCasesTest,
    ::testing::Values(
        HolidayCase{2004, 3, 20, true, {"【春分の日】"}},
        HolidayCase{2004, 9, 23, true, {"【秋分の日】"}},
        HolidayCase{2012, 9, 22, true, {"【秋分の日】"}},
        HolidayCase{2012, 9, 23, true, {}},  // a Sunday, and no longer the equinox
        HolidayCase{2012, 9, 24, true, {}}, HolidayCase{2003, 1, 13, true, {"【成人の日】"}},
        HolidayCase{2003, 1, 13, false, {}},
        HolidayCase{2003, 1, 15, false, {}},  // the default table holds no 01/15
        HolidayCase{2003, 10, 13, true, {"【体育の日】"}},
        HolidayCase{2002, 7, 20, true, {"【海の日】"}},  // the table's name, fixed date
        HolidayCase{2002, 9, 15, true, {"【敬老の日】"}},
        HolidayCase{2002, 9, 16, true, {"【振替休日】"}},  // 15 September 2002 was a Sunday
        HolidayCase{2002, 7, 15, true, {}}, HolidayCase{2003, 7, 20, true, {}},
        HolidayCase{2003, 7, 21, true, {"【海の日】", "【振替休日】"}},
        HolidayCase{2003, 9, 15, true, {"【敬老の日】"}},
        HolidayCase{2003, 7, 21, false, {"【振替休日】"}},
        HolidayCase{2003, 7, 20, false, {"【海の日】"}},
        HolidayCase{2024, 7, 15, true, {"【海の日】"}},
        HolidayCase{2024, 1, 8, true, {"【成人の日】"}}, HolidayCase{2024, 1, 15, true, {}},
        HolidayCase{2002, 11, 4, true, {"【振替休日】"}},  // 3 November 2002 was a Sunday
        HolidayCase{2002, 11, 3, true, {"【文化の日】"}},
        HolidayCase{2004, 3, 22, true, {}},  // equinox on Saturday 20 March
        HolidayCase{2005, 3, 21, true, {"【振替休日】"}},
        HolidayCase{2005, 3, 20, true, {"【春分の日】"}},
        HolidayCase{2024, 5, 4, true, {"【国民の休日】"}},
        HolidayCase{2024, 5, 6, true, {"【振替休日】"}},   // 5 May 2024 was a Sunday
        HolidayCase{2024, 9, 23, true, {"【振替休日】"}},  // equinox on Sunday 22 September
        HolidayCase{2024, 9, 16, true, {"【敬老の日】", "【振替休日】"}},
        HolidayCase{2024, 6, 10, true, {}}));

TEST_F(HolidaysTest, SwitchAbsentMeansOn) {
    EXPECT_EQ(names(2003, 1, 13), Names{"【成人の日】"});
}

TEST_F(HolidaysTest, TableIsReadOnEveryCall) {
    settings.writeText("Horiday", "01/15", "【成人の日】");
    setHappyMonday(false);
    EXPECT_EQ(names(2003, 1, 15), Names{"【成人の日】"});
    setHappyMonday(true);
    EXPECT_EQ(names(2003, 1, 15), Names{});
    settings.writeText("Horiday", "05/04", "");
    EXPECT_EQ(names(2024, 5, 4), Names{});
}

TEST_F(HolidaysTest, SubstituteIgnoresHappyMondayExclusionsAndCountsEachSource) {
    // Sunday 15 January 2006 with the table holding 01/15: the name itself is
    // skipped with the switch on, the Monday after still becomes a holiday.
    settings.writeText("Horiday", "01/15", "【成人の日】");
    EXPECT_EQ(names(2006, 1, 16), Names{"【振替休日】"});
    // A table entry on an equinox Sunday gives two substitute names.
    settings.writeText("Horiday", "03/20", "【記念日】");
    EXPECT_EQ(names(2005, 3, 21), (Names{"【振替休日】", "【振替休日】"}));
    EXPECT_EQ(names(2005, 3, 20), (Names{"【春分の日】", "【記念日】"}));
}

TEST_F(HolidaysTest, EmptyTableAndNoSwitch) {
    testing::MemorySettings empty;
    EXPECT_EQ(HolidayNames(day(2024, 1, 1), empty), Names{});
    EXPECT_EQ(HolidayNames(day(2024, 3, 20), empty), Names{"【春分の日】"});
    EXPECT_EQ(HolidayNames(day(2024, 1, 8), empty), Names{"【成人の日】"});
}

TEST_F(HolidaysTest, TimeOfDayDoesNotMatter) {
    EXPECT_EQ(HolidayNames(day(2024, 1, 1) + 0.99, settings), Names{"【元旦】"});
}

TEST(MemorySettingsTest, HoldsTheDefaultTableWithoutAFile) {
    platform::MemorySettings store;
    writeDefaultHolidays(store);
    EXPECT_EQ(store.readText("HORIDAY", "11/03", ""), "【文化の日】");
    EXPECT_EQ(HolidayNames(day(2024, 11, 4), store), Names{"【振替休日】"});
    store.writeBool("calendarex", "happy_monday", false);
    EXPECT_FALSE(store.readBool("CalendarEx", "Happy_Monday", true));
    EXPECT_EQ(store.listKeys("Horiday").front(), "01/01");
    store.eraseSection("horiday");
    EXPECT_TRUE(store.listKeys("Horiday").empty());
}

TEST(HolidayEditorTest, ClampsMonthAndDay) {
    struct Case {
        int month, day, wantMonth, wantDay;
    };
    for (const Case& c :
         {Case{13, 5, 12, 5}, Case{0, 5, 1, 5}, Case{2, 30, 2, 28}, Case{2, 29, 2, 28},
          Case{4, 31, 4, 30}, Case{1, 31, 1, 31}, Case{3, 0, 3, 1}, Case{6, 40, 6, 30}}) {
        EXPECT_EQ(clampHolidayEditorDate(c.month, c.day), std::make_pair(c.wantMonth, c.wantDay))
            << c.month << "/" << c.day;
    }
}

TEST_F(HolidaysTest, EditorShowsSavesAndDeletes) {
    HolidayEditorState state = holidayEditorSelect(11, 3, settings);
    EXPECT_EQ(state, (HolidayEditorState{11, 3, "【文化の日】", true}));
    state = holidayEditorDelete(state, settings);
    EXPECT_EQ(state, (HolidayEditorState{11, 3, "【】", false}));
    // The key stays with an empty value; 3 November is no longer a holiday.
    const auto keys = settings.listKeys("Horiday");
    EXPECT_NE(std::find(keys.begin(), keys.end(), "11/03"), keys.end());
    EXPECT_EQ(settings.readText("Horiday", "11/03", "x"), "");
    EXPECT_EQ(names(2024, 11, 3), Names{});

    state = holidayEditorSelect(2, 30, settings);
    EXPECT_EQ(state, (HolidayEditorState{2, 28, "【】", false}));
    state.name = "【記念日】";
    state = holidayEditorSave(state, settings);
    EXPECT_TRUE(state.canDelete);
    EXPECT_EQ(settings.readText("Horiday", "02/28", ""), "【記念日】");
    EXPECT_EQ(names(2023, 2, 28), Names{"【記念日】"});
}

}  // namespace
}  // namespace hinagiku
