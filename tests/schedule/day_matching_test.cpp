#include <gtest/gtest.h>

#include <algorithm>

#include "calendar/holidays.h"
#include "schedule/day_matching.h"
#include "schedule/memory_store.h"
#include "support/memory_settings.h"

namespace hinagiku::schedule {
namespace {

using testing::day;
using testing::MemoryStore;

std::vector<std::string> names(const std::vector<DayMatch>& matches) {
    std::vector<std::string> out;
    for (const auto& m : matches)
        out.push_back(m.name);
    return out;
}

// The days of `from` .. `to` on which `entry` is listed.
std::vector<int> listedOn(const std::string& entry, int from, int to,
                          const platform::Settings& settings) {
    MemoryStore store({entry});
    std::vector<int> days;
    for (int d = from; d <= to; ++d) {
        if (!EntriesForDay(d, store, DayFacts(settings)).empty())
            days.push_back(d);
    }
    return days;
}

class DayMatchingTest : public ::testing::Test {
  protected:
    hinagiku::testing::MemorySettings settings;  // empty holiday table, Happy Monday on
};

TEST_F(DayMatchingTest, ProbeSequenceOfTheWorkedExample) {
    // Tuesday 2024-07-16; Monday 15 is Marine Day, 14 a Sunday, 13 a Saturday.
    MemoryStore store;
    EntriesForDay(day(2024, 7, 16), store, DayFacts(settings));
    const std::vector<std::string> expected = {
        "find BORN0716.*",
        "____0716.24",
        "____0716.__",
        "______16.__",
        // Own date, in the order "~___", "_~__", "~_~~", "_~~~".
        "~___0716.__",
        "~_____16.__",
        "_~__0716.__",
        "_~____16.__",
        "~_~~0716.__",
        "~_~~__16.__",
        "_~~~0716.__",
        "_~~~__16.__",
        // Shifted in: "_~~~" brings 13, 14, 15; "_~__" only 14 and 15.
        "_~~~0713.__",
        "_~~~__13.__",
        "_~~~0714.__",
        "_~~~__14.__",
        "_~~~0715.__",
        "_~~~__15.__",
        "_~__0714.__",
        "_~____14.__",
        "_~__0715.__",
        "_~____15.__",
        "________.TUE",
        "find ??_??___.TUE",
    };
    EXPECT_EQ(store.log(), expected);
}

TEST_F(DayMatchingTest, RunsAfterTheDayAreProbedLatestFirst) {
    MemoryStore friday;
    EntriesForDay(day(2024, 7, 12), friday, DayFacts(settings));
    const auto& log = friday.log();
    const auto start = std::find(log.begin(), log.end(), "~_~~0715.__");
    ASSERT_NE(start, log.end());
    const std::vector<std::string> run(start, start + 6);
    EXPECT_EQ(run, (std::vector<std::string>{"~_~~0715.__", "~_~~__15.__", "~_~~0714.__",
                                             "~_~~__14.__", "~_~~0713.__", "~_~~__13.__"}));
    // For "~___" Saturday 13 is a working day: no run after Friday.
    EXPECT_EQ(std::count_if(log.begin(), log.end(),
                            [](const std::string& n) { return n.rfind("~___07", 0) == 0; }),
              1);

    MemoryStore saturday;
    EntriesForDay(day(2024, 7, 13), saturday, DayFacts(settings));
    const auto& s = saturday.log();
    // Kinds that count Saturday off probe nothing on a Saturday.
    EXPECT_EQ(std::count_if(s.begin(), s.end(),
                            [](const std::string& n) {
                                return n.rfind("~_~~", 0) == 0 || n.rfind("_~~~", 0) == 0;
                            }),
              0);
    const auto from = std::find(s.begin(), s.end(), "~___0715.__");
    ASSERT_NE(from, s.end());
    EXPECT_EQ(
        std::vector<std::string>(from, from + 4),
        (std::vector<std::string>{"~___0715.__", "~_____15.__", "~___0714.__", "~_____14.__"}));
}

TEST_F(DayMatchingTest, MatchesComeInProbeOrderWithTheirFamilies) {
    MemoryStore store({"BORN0716.1980", "BORN0716.2001", "BORN0716.txt", "____0716.24",
                       "______16.__", "_~~~0713.__", "________.TUE", "~~_~~___.TUE", "~~_~~___.MON",
                       "____0716.txt", "07300716.24"});
    const auto matches = EntriesForDay(day(2024, 7, 16), store, DayFacts(settings));
    EXPECT_EQ(names(matches), (std::vector<std::string>{
                                  "BORN0716.1980", "BORN0716.2001", "BORN0716.txt", "____0716.24",
                                  "______16.__", "_~~~0713.__", "________.TUE", "~~_~~___.TUE"}));
    EXPECT_EQ(matches[0].family, EntryFamily::Birthday);
    EXPECT_EQ(matches[0].birthYear, 1980);
    EXPECT_EQ(matches[0].path, "/data/BORN0716.1980");
    EXPECT_FALSE(matches[2].birthYear);  // a birthday without a year gives no age
    EXPECT_EQ(matches[3].family, EntryFamily::ToDo);
    EXPECT_EQ(matches[3].kind, EntryKind::Dated);
    EXPECT_EQ(matches[5].kind, EntryKind::Yearly);
    EXPECT_EQ(matches[5].shift, ShiftKind::NextDaySaturdayOff);
    EXPECT_EQ(matches[7].kind, EntryKind::Weekday);
}

struct ShiftCase {
    const char* entry;
    int from, to;
    std::vector<int> listed;
    bool defaultTable;
    const char* extraHoliday;  // "mm/dd" or nullptr
};

TEST_F(DayMatchingTest, ShiftedEntriesAreListedOnlyOnTheirDisplayDay) {
    const ShiftCase cases[] = {
        // 2023-01-01 is a Sunday and 2 January its substitute holiday.
        {"_~__0101.__", day(2022, 12, 28), day(2023, 1, 6), {day(2023, 1, 3)}, true, nullptr},
        // 2024-06-15 is a Saturday: the previous working day counting Saturday off is Friday.
        {"~_~~__15.__", day(2024, 6, 10), day(2024, 6, 20), {day(2024, 6, 14)}, false, nullptr},
        {"~_~~__15.__", day(2024, 6, 10), day(2024, 6, 20), {day(2024, 6, 13)}, false, "06/14"},
        // 2024-03-31 is a Sunday; Saturday 30 is a working day for "_~__".
        {"_~____31.__", day(2024, 3, 25), day(2024, 4, 5), {day(2024, 4, 1)}, false, nullptr},
        // A plain Saturday: listed on it for "_~__", on the Monday for "_~~~".
        {"_~__0615.__", day(2024, 6, 10), day(2024, 6, 20), {day(2024, 6, 15)}, false, nullptr},
        {"_~~~0615.__", day(2024, 6, 10), day(2024, 6, 20), {day(2024, 6, 17)}, false, nullptr},
        // Equinox on Sunday 2005-03-20: Monday 21 is off for every kind.
        {"_~__0321.__", day(2005, 3, 14), day(2005, 3, 27), {day(2005, 3, 22)}, false, nullptr},
        {"_~~~0321.__", day(2005, 3, 14), day(2005, 3, 27), {day(2005, 3, 22)}, false, nullptr},
        {"~_~~0321.__", day(2005, 3, 14), day(2005, 3, 27), {day(2005, 3, 18)}, false, nullptr},
        {"~___0321.__", day(2005, 3, 14), day(2005, 3, 27), {day(2005, 3, 19)}, false, nullptr},
        // 29 February only in leap years; the 31st only in long months.
        {"____0229.__", day(2023, 2, 20), day(2023, 3, 5), {}, false, nullptr},
        {"____0229.__", day(2024, 2, 20), day(2024, 3, 5), {day(2024, 2, 29)}, false, nullptr},
        {"______31.__", day(2024, 4, 1), day(2024, 5, 1), {}, false, nullptr},
        // Dated entries compare the two-digit year alone.
        {"____0315.24", day(2124, 3, 10), day(2124, 3, 20), {day(2124, 3, 15)}, false, nullptr},
        {"____0315.24", day(1924, 3, 10), day(1924, 3, 20), {day(1924, 3, 15)}, false, nullptr},
        {"____0315.24", day(2025, 3, 10), day(2025, 3, 20), {}, false, nullptr},
    };
    for (const auto& c : cases) {
        hinagiku::testing::MemorySettings s;
        if (c.defaultTable)
            writeDefaultHolidays(s);
        if (c.extraHoliday)
            s.writeText("Horiday", c.extraHoliday, "【休】");
        EXPECT_EQ(listedOn(c.entry, c.from, c.to, s), c.listed) << c.entry;
    }
}

TEST_F(DayMatchingTest, WeekSearchesByDayOfTheMonth) {
    const std::pair<int, std::vector<std::string>> cases[] = {
        {day(2024, 3, 4), {"find _????___.MON"}},
        {day(2024, 3, 11), {"find ?_???___.MON"}},
        {day(2024, 3, 18), {"find ??_??___.MON"}},
        {day(2024, 3, 24), {"find ???_?___.SUN"}},
        {day(2024, 3, 25), {"find ???_?___.MON", "find ~~~~~___.MON"}},
        {day(2023, 2, 23), {"find ???_?___.THU", "find ~~~~~___.THU"}},
        {day(2024, 2, 22), {"find ???_?___.THU"}},  // 29 February follows
        {day(2024, 9, 30), {"find _???____.MON", "find ~???____.MON", "find ~~~~~___.MON"}},
    };
    for (const auto& [date, searches] : cases) {
        MemoryStore store;
        EntriesForDay(date, store, DayFacts(settings));
        std::vector<std::string> found;
        for (const auto& entry : store.log()) {
            if (entry.rfind("find BORN", 0) != 0 && entry.rfind("find ", 0) == 0)
                found.push_back(entry);
        }
        EXPECT_EQ(found, searches) << date;
    }
}

TEST_F(DayMatchingTest, ScheduleListSearchesTildeFirstAtTheMonthsEnd) {
    MemoryStore store({"_~~~____.MON", "~~~~____.MON", "~~~~~___.MON", "________.MON"});
    const auto dayView = EntriesForDay(day(2024, 9, 30), store, DayFacts(settings));
    EXPECT_EQ(names(dayView), (std::vector<std::string>{"________.MON", "_~~~____.MON",
                                                        "~~~~____.MON", "~~~~~___.MON"}));
    const auto list =
        EntriesForDay(day(2024, 9, 30), store, DayFacts(settings), WeekSearchOrder::ScheduleList);
    EXPECT_EQ(names(list), (std::vector<std::string>{"________.MON", "~~~~____.MON", "_~~~____.MON",
                                                     "~~~~~___.MON"}));
}

TEST_F(DayMatchingTest, ChosenWeeks) {
    const std::pair<std::string, std::vector<int>> cases[] = {
        // First and third Monday of March 2024.
        {"_~_~~___.MON", {day(2024, 3, 4), day(2024, 3, 18)}},
        // Last Friday: the 29th.
        {"~~~~~___.FRI", {day(2024, 3, 29)}},
        // Last Monday: the 25th, which is in week 4 as well.
        {"~~~~~___.MON", {day(2024, 3, 25)}},
        {"~~~_~___.MON", {day(2024, 3, 25)}},
        // Weeks 1 and 5 of Sundays: the 3rd and the 31st.
        {"_~~~____.SUN", {day(2024, 3, 3), day(2024, 3, 31)}},
        // Every week is found once, by its own probe.
        {"________.SUN",
         {day(2024, 3, 3), day(2024, 3, 10), day(2024, 3, 17), day(2024, 3, 24), day(2024, 3, 31)}},
    };
    for (const auto& [entry, listed] : cases) {
        EXPECT_EQ(listedOn(entry, day(2024, 3, 1), day(2024, 3, 31), settings), listed) << entry;
    }
    MemoryStore store({"________.SUN"});
    EXPECT_EQ(EntriesForDay(day(2024, 3, 31), store, DayFacts(settings)).size(), 1u);
}

TEST_F(DayMatchingTest, YearlyAndMonthlyOnTheSameDateAreBothListed) {
    MemoryStore store({"____0315.__", "______15.__"});
    EXPECT_EQ(names(EntriesForDay(day(2024, 3, 15), store, DayFacts(settings))),
              (std::vector<std::string>{"____0315.__", "______15.__"}));
}

TEST_F(DayMatchingTest, NamesOffTheCodeAreNotListed) {
    MemoryStore store({"____0315.txt", "____0315.2024", "___0315.24", "x___0315.__",
                       "____0315.24.bak", "\xE3\x81\x82___0315.24", "_~_~~___.FRIDAY",
                       "_~_~~__.FRI", "____0315"});
    EXPECT_TRUE(EntriesForDay(day(2024, 3, 15), store, DayFacts(settings)).empty());
}

TEST_F(DayMatchingTest, IsDayOff) {
    // Saturday 2024-06-15, Sunday 16, Monday 15 July 2024 (Marine Day), Tuesday 16 July.
    EXPECT_FALSE(IsDayOff(day(2024, 6, 15), ShiftKind::PreviousDay, settings));
    EXPECT_TRUE(IsDayOff(day(2024, 6, 15), ShiftKind::PreviousDaySaturdayOff, settings));
    EXPECT_TRUE(IsDayOff(day(2024, 6, 16), ShiftKind::NextDay, settings));
    EXPECT_TRUE(IsDayOff(day(2024, 7, 15), ShiftKind::NextDay, settings));
    EXPECT_FALSE(IsDayOff(day(2024, 7, 16), ShiftKind::NextDaySaturdayOff, settings));
}

TEST_F(DayMatchingTest, AHolidayTableOfEveryDayEndsTheRuns) {
    // Every day but one is a holiday: the walk stops instead of running on.
    for (int m = 1; m <= 12; ++m) {
        for (int d = 1; d <= daysInMonth(2024, m); ++d) {
            if (m == 6 && d == 12)
                continue;
            settings.writeText("Horiday", holidayKey(m, d), "【休】");
        }
    }
    MemoryStore store;
    EntriesForDay(day(2024, 6, 12), store, DayFacts(settings));
    EXPECT_LT(store.log().size(), 4000u);
}

}  // namespace
}  // namespace hinagiku::schedule
