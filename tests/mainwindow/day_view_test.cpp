#include "mainwindow/day_view.h"

#include <gtest/gtest.h>

#include "calendar/holidays.h"
#include "calendar/lunisolar.h"
#include "schedule/entry_name.h"
#include "support/memory_settings.h"
#include "support/temp_home.h"

namespace hinagiku::mainwindow {
namespace {

using testing::MemorySettings;
using testing::TempHome;

DateTime day(int y, int m, int d) {
    return *encodeDate(y, m, d);
}

class DayViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        settings.writeText("Calendar", "Directory", (home.path() / "Schedule").string());
        settings.writeBool("CalendarEx", "PopView", true);
        home.writeFile("Schedule/.keep", "");
    }
    void entry(const std::string& name, const std::string& text) {
        home.writeFile("Schedule/" + name, text);
    }

    TempHome home;
    MemorySettings settings;
};

TEST(DayViewCaption, DaysBeforeAndAfter) {
    EXPECT_EQ(popViewCaption(day(2024, 3, 15), day(2024, 3, 12)), "2024/03/15(金)　3日後");
    EXPECT_EQ(popViewCaption(day(2024, 3, 12), day(2024, 3, 15) + 0.75), "2024/03/12(火)　3日前");
    EXPECT_EQ(popViewCaption(day(2024, 3, 12) + 0.5, day(2024, 3, 12)), "2024/03/12(火)");
}

TEST(DayViewLines, SplitAtLineEnds) {
    EXPECT_EQ(textLines("a\nb\n"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(textLines("a\r\n\r\nb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_TRUE(textLines("").empty());
}

TEST(DayViewLines, BirthdayOn29February) {
    EXPECT_EQ(birthdayLine(day(2024, 2, 29), 1972), "【52歳の誕生日】1972/02/29 (火)");
    EXPECT_EQ(birthdayLine(day(2024, 2, 29), 1971), "【53歳の誕生日】1971/02/29");
}

TEST_F(DayViewTest, BirthdayAgeAndTextOfToday) {
    entry("BORN0315.1970", "Taro\r\n");
    const DayView view = buildDayView(day(2024, 3, 15), day(2024, 3, 15), settings, false);
    EXPECT_TRUE(view.popView);
    EXPECT_EQ(view.lines, (std::vector<std::string>{"【54歳の誕生日】1970/03/15 (日)", "Taro"}));
    EXPECT_EQ(view.textColor, 0xFFFFFF);
    EXPECT_EQ(view.backColor, static_cast<int>(0x80000010u));
    EXPECT_EQ(view.monthPanel, DayColor::Weekday);  // a Friday
    EXPECT_TRUE(view.errors.empty());
}

TEST_F(DayViewTest, RokuyoHolidaysAndEntriesInOrder) {
    writeDefaultHolidays(settings);
    settings.writeBool("Form", "Qreki", true);
    const DateTime newYear = day(2024, 1, 1);
    entry(schedule::ToDoEntryName(schedule::ToDoKind::Dated, newYear), "first\r\nsecond");
    const DayView view = buildDayView(newYear, day(2024, 3, 1), settings, false);
    ASSERT_GE(view.lines.size(), 4u);
    EXPECT_EQ(view.lines[0], "【" + Rokuyo(newYear) + "】");
    EXPECT_EQ(view.lines[1], HolidayNames(newYear, settings).front());
    EXPECT_EQ(view.lines[view.lines.size() - 2], "first");
    EXPECT_EQ(view.lines.back(), "second");
    EXPECT_TRUE(view.holiday);
    EXPECT_EQ(view.monthPanel, DayColor::Holiday);
    // Past day: the past colours.
    EXPECT_EQ(view.textColor, 0xFFFFFF);
    EXPECT_EQ(view.backColor, static_cast<int>(0x80000002u));
    // A special day wins over the holiday.
    EXPECT_EQ(buildDayView(newYear, newYear, settings, true).monthPanel, DayColor::SpecialDay);
}

TEST_F(DayViewTest, FutureColoursAndWeekendPanel) {
    settings.writeInt("To_do", "FutureColor", 0x123456);
    const DayView view = buildDayView(day(2024, 3, 16), day(2024, 3, 12), settings, false);
    EXPECT_EQ(view.textColor, 0x123456);
    EXPECT_EQ(view.backColor, static_cast<int>(0x80000004u));
    EXPECT_EQ(view.monthPanel, DayColor::Saturday);
    EXPECT_EQ(buildDayView(day(2024, 3, 17), day(2024, 3, 12), settings, false).monthPanel,
              DayColor::Sunday);
}

TEST_F(DayViewTest, PopViewOffKeepsOnlyTheHolidayFlag) {
    writeDefaultHolidays(settings);
    settings.writeBool("CalendarEx", "PopView", false);
    entry("BORN0101.1990", "Hanako");
    const DayView view = buildDayView(day(2024, 1, 1), day(2024, 1, 1), settings, false);
    EXPECT_FALSE(view.popView);
    EXPECT_TRUE(view.lines.empty());
    EXPECT_TRUE(view.holiday);
    EXPECT_EQ(view.monthPanel, DayColor::Holiday);
}

TEST_F(DayViewTest, NoDataFolderGivesOnlyCalendarLines) {
    settings.writeText("Calendar", "Directory", ".");
    entry("BORN0315.1970", "Taro");
    const DayView view = buildDayView(day(2024, 3, 15), day(2024, 3, 15), settings, false);
    EXPECT_TRUE(view.lines.empty());
}

}  // namespace
}  // namespace hinagiku::mainwindow
