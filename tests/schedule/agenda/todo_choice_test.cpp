#include "schedule/agenda/todo_choice.h"

#include <gtest/gtest.h>

namespace hinagiku::schedule {
namespace {

struct ChoiceCase {
    ToDoKind kind;
    CivilDate date;
    ToDoHoliday holiday;
    bool saturdayOff;
    std::array<bool, 5> weeks;
    bool lastWeek;
    const char* name;
    const char* copy;
    const char* hint;
};

constexpr std::array<bool, 5> kAll{true, true, true, true, true};
constexpr std::array<bool, 5> kNone{false, false, false, false, false};

TEST(ToDoChoice, NamesCopyStringsAndHints) {
    const ChoiceCase cases[] = {
        {ToDoKind::Dated,
         {2024, 3, 15},
         ToDoHoliday::NextDay,
         true,
         kAll,
         false,
         "____0315.24",
         "【24年3月15日】",
         "2024/3/15のｽｹｼﾞｭｰﾙ"},
        {ToDoKind::Dated,
         {1999, 12, 1},
         ToDoHoliday::Keep,
         false,
         kAll,
         false,
         "____1201.99",
         "【99年12月1日】",
         "1999/12/1のｽｹｼﾞｭｰﾙ"},
        {ToDoKind::Yearly,
         {2024, 3, 15},
         ToDoHoliday::Keep,
         false,
         kAll,
         false,
         "____0315.__",
         "【毎年3月15日】",
         "毎年3/15のｽｹｼﾞｭｰﾙ"},
        {ToDoKind::Yearly,
         {2024, 3, 15},
         ToDoHoliday::PreviousDay,
         true,
         kAll,
         false,
         "~_~~0315.__",
         "【毎年3月15日】(土曜/休日:前日)",
         "毎年3/15のｽｹｼﾞｭｰﾙ"},
        {ToDoKind::Yearly,
         {2024, 3, 15},
         ToDoHoliday::PreviousDay,
         false,
         kAll,
         false,
         "~___0315.__",
         "【毎年3月15日】(休日:前日)",
         "毎年3/15のｽｹｼﾞｭｰﾙ"},
        // "そのまま" resets "土曜日は" to "平日".
        {ToDoKind::Yearly,
         {2024, 3, 15},
         ToDoHoliday::Keep,
         true,
         kAll,
         false,
         "____0315.__",
         "【毎年3月15日】",
         "毎年3/15のｽｹｼﾞｭｰﾙ"},
        {ToDoKind::Monthly,
         {2024, 3, 5},
         ToDoHoliday::NextDay,
         false,
         kAll,
         false,
         "_~____05.__",
         "【毎月5日】(休日:翌日)",
         "毎月5日のｽｹｼﾞｭｰﾙ"},
        {ToDoKind::Monthly,
         {2024, 3, 5},
         ToDoHoliday::NextDay,
         true,
         kAll,
         false,
         "_~~~__05.__",
         "【毎月5日】(土曜/休日:翌日)",
         "毎月5日のｽｹｼﾞｭｰﾙ"},
        // Dated and weekday tabs ignore the holiday options.
        {ToDoKind::Weekday,
         {2024, 3, 15},
         ToDoHoliday::NextDay,
         true,
         kAll,
         false,
         "________.FRI",
         "【金曜日】",
         "金曜日のｽｹｼﾞｭｰﾙ"},
        // No box at all: the five are ticked again (every week).
        {ToDoKind::Weekday,
         {2024, 3, 11},
         ToDoHoliday::Keep,
         false,
         kNone,
         false,
         "________.MON",
         "【月曜日】",
         "月曜日のｽｹｼﾞｭｰﾙ"},
        {ToDoKind::Weekday,
         {2024, 3, 11},
         ToDoHoliday::Keep,
         false,
         {true, false, true, false, false},
         false,
         "_~_~~___.MON",
         "【第１第３月曜日】",
         "月曜日のｽｹｼﾞｭｰﾙ"},
        // "最終週" clears the five boxes.
        {ToDoKind::Weekday,
         {2024, 3, 29},
         ToDoHoliday::Keep,
         false,
         kAll,
         true,
         "~~~~~___.FRI",
         "【最終金曜日】",
         "金曜日のｽｹｼﾞｭｰﾙ"},
        {ToDoKind::Weekday,
         {2024, 3, 3},
         ToDoHoliday::Keep,
         false,
         {true, true, true, true, false},
         false,
         "____~___.SUN",
         "【第１第２第３第４日曜日】",
         "日曜日のｽｹｼﾞｭｰﾙ"},
    };
    for (const auto& c : cases) {
        ToDoChoice choice;
        choice.kind = c.kind;
        choice.date = c.date;
        choice.holiday = c.holiday;
        choice.saturdayOff = c.saturdayOff;
        choice.weeks = c.weeks;
        choice.lastWeek = c.lastWeek;
        applyToDoRules(choice);
        SCOPED_TRACE(c.name);
        EXPECT_EQ(toDoEditorEntryName(choice), c.name);
        EXPECT_EQ(toDoCopyString(choice), c.copy);
        EXPECT_EQ(toDoEditorHint(choice), c.hint);
    }
}

TEST(ToDoChoice, WeekRulesLeaveBoxesAsShown) {
    ToDoChoice choice;
    choice.weeks = kNone;
    applyToDoRules(choice);
    EXPECT_EQ(choice.weeks, kAll);
    choice.lastWeek = true;
    applyToDoRules(choice);
    EXPECT_EQ(choice.weeks, kNone);
    EXPECT_EQ(toDoWeekMaskOf(choice), kLastWeek);
}

TEST(ToDoChoice, ShiftAndWeeksRoundTrip) {
    for (ShiftKind shift :
         {ShiftKind::None, ShiftKind::PreviousDay, ShiftKind::PreviousDaySaturdayOff,
          ShiftKind::NextDay, ShiftKind::NextDaySaturdayOff}) {
        ToDoChoice choice;
        choice.kind = ToDoKind::Monthly;
        setToDoShift(choice, shift);
        EXPECT_EQ(toDoShiftOf(choice), shift);
    }
    for (WeekMask mask : {1, 5, 16, 30, 31, 32}) {
        ToDoChoice choice;
        setToDoWeeks(choice, mask);
        EXPECT_EQ(toDoWeekMaskOf(choice), mask);
    }
}

TEST(ToDoChoice, TabCaptions) {
    const auto captions = toDoTabCaptions({2024, 3, 5});
    EXPECT_EQ(captions[0], "2024/03/05");
    EXPECT_EQ(captions[1], "03/05");
    EXPECT_EQ(captions[2], "05");
    EXPECT_EQ(captions[3], "火曜日");
}

TEST(ToDoChoice, DateCorrection) {
    struct Case {
        long long y, m, d;
        CivilDate expected;
    };
    const Case cases[] = {
        {2024, 2, 31, {2024, 2, 29}},   {2023, 2, 31, {2023, 2, 28}},
        {2100, 2, 29, {2100, 2, 28}},   {2024, 4, 31, {2024, 4, 30}},
        {0, 0, 0, {1, 1, 1}},           {99999, 13, 99, {9999, 12, 31}},
        {-5, 6, 15, {1, 6, 15}},        {2024, 12, 32, {2024, 12, 31}},
        {1582, 10, 10, {1582, 10, 10}},  // the proleptic calendar has it
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.y) + "-" + std::to_string(c.m) + "-" + std::to_string(c.d));
        EXPECT_EQ(correctedDate(c.y, c.m, c.d), c.expected);
    }
}

TEST(ToDoChoice, GridDateCorrectionAndJumpCaptions) {
    EXPECT_EQ(correctedGridDate(1582, 10, 14), (CivilDate{1582, 10, 4}));
    EXPECT_EQ(correctedGridDate(1582, 10, 5), (CivilDate{1582, 10, 4}));
    EXPECT_EQ(correctedGridDate(1582, 10, 15), (CivilDate{1582, 10, 15}));
    EXPECT_EQ(correctedGridDate(1500, 2, 29), (CivilDate{1500, 2, 29}));  // Julian leap year
    EXPECT_EQ(correctedGridDate(2023, 2, 31), (CivilDate{2023, 2, 28}));
    EXPECT_EQ(correctedGridDate(0, 99, 0), (CivilDate{1, 12, 1}));

    const CivilDate today{2024, 3, 15};
    EXPECT_EQ(jumpCaption(today, today), "本日");
    EXPECT_EQ(jumpCaption({2024, 3, 27}, today), "12日後");
    EXPECT_EQ(jumpCaption({2024, 3, 14}, today), "1日前");
    // The reform gap counts as no days: 1582-10-15 follows 10-04.
    EXPECT_EQ(jumpCaption({1582, 10, 15}, {1582, 10, 4}), "1日後");
    EXPECT_EQ(jumpWeekdayLabel(today), "(金)");
    EXPECT_EQ(jumpWeekdayLabel({1582, 10, 15}), "(金)");
    EXPECT_EQ(jumpWeekdayLabel({1582, 10, 4}), "(木)");
}

}  // namespace
}  // namespace hinagiku::schedule
