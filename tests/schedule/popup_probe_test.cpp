#include <gtest/gtest.h>

#include "schedule/memory_store.h"
#include "schedule/probe_sequence.h"
#include "support/memory_settings.h"

namespace hinagiku::schedule {
namespace {

using testing::day;
using testing::MemoryStore;

DateTime at(int date, int hour, int minute) {
    return date + *encodeTime(hour, minute);
}

std::vector<std::string> due(DateTime target, const MemoryStore& store,
                             const platform::Settings& settings) {
    std::vector<std::string> out;
    for (const auto& hit : probePopupMinute(target, store, DayFacts(settings)))
        out.push_back(hit.name);
    return out;
}

// The days of `from` .. `to` on which `entry` fires at 09:00.
std::vector<int> firesOn(const std::string& entry, int from, int to,
                         const platform::Settings& settings) {
    MemoryStore store({entry});
    std::vector<int> days;
    for (int d = from; d <= to; ++d) {
        if (!due(at(d, 9, 0), store, settings).empty())
            days.push_back(d);
    }
    return days;
}

TEST(PopupProbeTest, ProbeOrder) {
    hinagiku::testing::MemorySettings settings;
    MemoryStore store;
    due(at(day(2024, 7, 16), 9, 0), store, settings);
    const std::vector<std::string> expected = {
        "0900____.__", "09000716.24", "09000716.__",  "0900__16.__",       "09000716.-_",
        "0900__16.-_", "09000716.~_", "0900__16.~_",  "09000716.-~",       "0900__16.-~",
        "09000716.~~", "0900__16.~~", "09000713.~~",  "0900__13.~~",       "09000714.~~",
        "0900__14.~~", "09000715.~~", "0900__15.~~",  "09000714.~_",       "0900__14.~_",
        "09000715.~_", "0900__15.~_", "0900____.TUE", "find 0900__??.TUE",
    };
    EXPECT_EQ(store.log(), expected);
}

TEST(PopupProbeTest, HitsInLoadingOrderWithTheDatedFlag) {
    hinagiku::testing::MemorySettings settings;
    MemoryStore store({"0900__16.__", "0900____.__", "09000716.24", "0900____.TUE", "0900__04.TUE",
                       "0900__08.TUE", "0900__x4.TUE", "0901____.__", "09000713.~~"});
    const auto hits = probePopupMinute(at(day(2024, 7, 16), 9, 0), store, DayFacts(settings));
    std::vector<std::string> got;
    for (const auto& h : hits)
        got.push_back(h.name);
    EXPECT_EQ(got, (std::vector<std::string>{"0900____.__", "09000716.24", "0900__16.__",
                                             "09000713.~~", "0900____.TUE", "0900__04.TUE"}));
    EXPECT_EQ(hits[1].kind, EntryKind::Dated);
    EXPECT_EQ(hits[0].kind, EntryKind::Daily);
}

TEST(PopupProbeTest, HolidayShifts) {
    hinagiku::testing::MemorySettings settings;
    hinagiku::testing::MemorySettings friday;
    friday.writeText("Horiday", "06/14", "【休】");
    const struct {
        const char* entry;
        const platform::Settings& settings;
        std::vector<int> fires;
    } cases[] = {
        // "~_": Sunday's entry on Monday; Saturday's on Saturday and not again.
        {"09000616.~_", settings, {day(2024, 6, 17)}},
        {"09000615.~_", settings, {day(2024, 6, 15)}},
        // "-~": Saturday's entry on Friday, on Thursday when Friday is a holiday.
        {"09000615.-~", settings, {day(2024, 6, 14)}},
        {"09000615.-~", friday, {day(2024, 6, 13)}},
        // "~~": Saturday 13 July with Monday 15 Marine Day fires on Tuesday.
        {"09000713.~~", settings, {day(2024, 7, 16)}},
        {"0900__13.~~", settings, {day(2024, 6, 13), day(2024, 7, 16)}},
        // "-_": Sunday's entry on Saturday.
        {"09000616.-_", settings, {day(2024, 6, 15)}},
        {"09000616.__", settings, {day(2024, 6, 16)}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(firesOn(c.entry, day(2024, 6, 10), day(2024, 7, 20), c.settings), c.fires)
            << c.entry;
    }
}

TEST(PopupProbeTest, WeekClassesOfA31DayMonth) {
    // March 2024: 1-7 week 1 ... 22-24 week 4, 25-28 the last week only, 29-31 week 5.
    for (int d = 1; d <= 31; ++d) {
        const int date = day(2024, 3, d);
        const int expected = d <= 7    ? 1
                             : d <= 14 ? 2
                             : d <= 21 ? 4
                             : d <= 24 ? 8
                             : d <= 28 ? 32
                                       : 16;
        EXPECT_EQ(popupWeekClass(date), expected) << d;
        EXPECT_EQ(weekMaskCovers(8, date), d >= 22 && d <= 24) << d;
        EXPECT_EQ(weekMaskCovers(32, date), d >= 25) << d;
        EXPECT_EQ(weekMaskCovers(16, date), d >= 29) << d;
        EXPECT_EQ(weekMaskCovers(1 | 4, date), d <= 7 || (d >= 15 && d <= 21)) << d;
    }
    // February 2023 has 28 days: the whole fourth week is the last week.
    EXPECT_EQ(popupWeekClass(day(2023, 2, 22)), 32);
    EXPECT_FALSE(weekMaskCovers(8, day(2023, 2, 22)));
}

TEST(PopupProbeTest, WeekMaskEntries) {
    hinagiku::testing::MemorySettings settings;
    const int first = day(2024, 3, 1), last = day(2024, 3, 31);
    EXPECT_EQ(firesOn("0900__32.MON", first, last, settings), std::vector<int>{day(2024, 3, 25)});
    EXPECT_EQ(firesOn("0900__32.FRI", first, last, settings), std::vector<int>{day(2024, 3, 29)});
    EXPECT_EQ(firesOn("0900__16.FRI", first, last, settings), std::vector<int>{day(2024, 3, 29)});
    EXPECT_EQ(firesOn("0900__05.MON", first, last, settings),
              (std::vector<int>{day(2024, 3, 4), day(2024, 3, 18)}));
    EXPECT_TRUE(firesOn("0900__x1.MON", first, last, settings).empty());
    EXPECT_TRUE(firesOn("0900__00.MON", first, last, settings).empty());
    EXPECT_EQ(popupNameWeekMask("0900__07.MON"), 7);
    EXPECT_EQ(popupNameWeekMask("0900__7_.MON"), 0);
    EXPECT_EQ(popupNameWeekMask("0900"), 0);
}

}  // namespace
}  // namespace hinagiku::schedule
