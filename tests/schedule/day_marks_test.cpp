#include <gtest/gtest.h>

#include "calendar/holidays.h"
#include "schedule/day_marks.h"
#include "schedule/memory_store.h"
#include "support/memory_settings.h"

namespace hinagiku::schedule {
namespace {

using testing::MemoryStore;
using Keys = std::vector<std::string>;

class DayMarksTest : public ::testing::Test {
  protected:
    void SetUp() override { writeDefaultHolidays(settings); }
    hinagiku::testing::MemorySettings settings;
};

TEST_F(DayMarksTest, HolidayKeysLeaveOutSubstituteHolidays) {
    MemoryStore store;
    // February 2024: 11 February is a Sunday, Monday 12 its substitute holiday.
    EXPECT_EQ(buildDayMarks(2024, 2, store, settings).holidays, Keys{"2,11"});
    EXPECT_EQ(buildDayMarks(2024, 3, store, settings).holidays, Keys{"3,20"});
    EXPECT_TRUE(buildDayMarks(2024, 4, store, settings).holidays == (Keys{"4,29"}));
    // A Monday that is a holiday of its own and a substitute stays.
    settings.writeText("Horiday", "02/12", "【休】");
    EXPECT_EQ(buildDayMarks(2024, 2, store, settings).holidays, (Keys{"2,11", "2,12"}));
}

TEST_F(DayMarksTest, ShiftingEntryIsMarkedOnItsDisplayDay) {
    // 20 July 2024 is a Saturday; the default table's 07/20 is no holiday
    // under Happy Monday, Marine Day is Monday 15.
    MemoryStore store({"_~~~0720.__"});
    EXPECT_EQ(buildDayMarks(2024, 7, store, settings).specialDays, Keys{"7,22"});
    settings.writeText("Horiday", "07/22", "【休】");
    EXPECT_EQ(buildDayMarks(2024, 7, store, settings).specialDays, Keys{"7,23"});
}

TEST_F(DayMarksTest, SwitchesTurnGroupsOff) {
    // December 2024: Sunday 1 dated, Wednesday 11 yearly, Sunday 15 monthly,
    // every Tuesday (3, 10, 17, 24, 31), and a birthday on Wednesday 25, a
    // day no other entry marks.
    MemoryStore store(
        {"BORN1225.1980", "____1201.24", "____1211.__", "______15.__", "________.TUE"});
    EXPECT_EQ(
        buildDayMarks(2024, 12, store, settings).specialDays,
        (Keys{"12,1", "12,3", "12,10", "12,11", "12,15", "12,17", "12,24", "12,25", "12,31"}));

    const struct {
        std::vector<const char*> switches;
        Keys expected;
    } cases[] = {
        {{"CanCol_Born"}, {"12,1", "12,3", "12,10", "12,11", "12,15", "12,17", "12,24", "12,31"}},
        {{"CanCol_todo"}, {"12,3", "12,10", "12,11", "12,15", "12,17", "12,24", "12,25", "12,31"}},
        {{"CanCol_Day"}, {"12,1", "12,3", "12,10", "12,15", "12,17", "12,24", "12,25", "12,31"}},
        {{"CanCol_Mon"}, {"12,1", "12,3", "12,10", "12,11", "12,17", "12,24", "12,25", "12,31"}},
        {{"CanCol_Week"}, {"12,1", "12,11", "12,15", "12,25"}},
        {{"CanCol_Born", "CanCol_Week"}, {"12,1", "12,11", "12,15"}},
        {{"CanCol_All"}, {}},
    };
    for (const auto& c : cases) {
        hinagiku::testing::MemorySettings s;
        writeDefaultHolidays(s);
        for (const char* key : c.switches)
            s.writeBool("CalendarEx", key, true);
        const DayMarks marks = buildDayMarks(2024, 12, store, s);
        EXPECT_EQ(marks.specialDays, c.expected) << c.switches.front();
        EXPECT_EQ(marks.holidays, Keys{"12,23"}) << c.switches.front();
    }
}

TEST_F(DayMarksTest, BirthdaysMarkEveryYear) {
    MemoryStore store({"BORN1224.1980"});
    for (int year : {1981, 2024, 2100}) {
        EXPECT_EQ(buildDayMarks(year, 12, store, settings).specialDays, Keys{"12,24"}) << year;
    }
    EXPECT_TRUE(buildDayMarks(2024, 11, store, settings).specialDays.empty());
}

TEST_F(DayMarksTest, MonthsHaveTheirOwnKeys) {
    MemoryStore store({"______31.__"});
    EXPECT_EQ(buildDayMarks(2024, 3, store, settings).specialDays, Keys{"3,31"});
    EXPECT_TRUE(buildDayMarks(2024, 4, store, settings).specialDays.empty());
    EXPECT_TRUE(buildDayMarks(2024, 13, store, settings).specialDays.empty());
}

}  // namespace
}  // namespace hinagiku::schedule
