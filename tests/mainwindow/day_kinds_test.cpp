#include "mainwindow/day_kinds.h"

#include <gtest/gtest.h>

namespace hinagiku::mainwindow {
namespace {

TEST(DayListEntry, Parsing) {
    struct Case {
        std::string line;
        int month, day;
        std::string text;
    } cases[] = {{"3,20", 3, 20, ""},
                 {"12,1", 12, 1, ""},
                 {"3,20,春分の日", 3, 20, "春分の日"},
                 {"5,3,憲法記念日,extra", 5, 3, "憲法記念日,extra"},
                 {"", 0, 0, ""},
                 {"3", 0, 0, ""},
                 {"a,b", 0, 0, ""},
                 {"3,x,text", 0, 0, ""}};
    for (const auto& c : cases) {
        const DayListEntry e = parseDayListEntry(c.line);
        EXPECT_EQ(e.month, c.month) << c.line;
        EXPECT_EQ(e.day, c.day) << c.line;
        EXPECT_EQ(e.text, c.text) << c.line;
    }
}

struct ColorCase {
    const char* name;
    int year, month, day;
    DayLists lists;
    DayColor expected;
};

class DayColorRule : public ::testing::TestWithParam<ColorCase> {};

TEST_P(DayColorRule, ColourOfTheDay) {
    const ColorCase& c = GetParam();
    EXPECT_EQ(dayColor(dayKinds(c.year, c.month, c.day, c.lists)), c.expected) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DayColorRule,
    ::testing::Values(
        ColorCase{"weekday", 2024, 3, 12, {}, DayColor::Weekday},
        ColorCase{"sunday", 2024, 3, 10, {}, DayColor::Sunday},
        ColorCase{"saturday", 2024, 3, 9, {}, DayColor::Saturday},
        ColorCase{"listed holiday", 2024, 3, 12, {{"3,12"}, {}, true}, DayColor::Holiday},
        ColorCase{
            "special beats holiday", 2024, 3, 12, {{"3,12"}, {"3,12"}, true}, DayColor::SpecialDay},
        ColorCase{"own equinox on a saturday", 2012, 9, 22, {}, DayColor::Holiday},
        ColorCase{"equinox off", 2012, 9, 22, {{}, {}, false}, DayColor::Saturday},
        ColorCase{"listed 23rd", 2012, 9, 23, {{"9,23,秋分の日"}, {}, true}, DayColor::Holiday},
        ColorCase{"substitute monday", 2024, 2, 12, {{"2,11"}, {}, true}, DayColor::Holiday},
        ColorCase{"monday 1st after a holiday of the previous month",
                  2024,
                  4,
                  1,
                  {{"4,29"}, {}, true},
                  DayColor::Weekday},
        ColorCase{
            "1 january after 31 december", 2024, 1, 1, {{"12,31"}, {}, true}, DayColor::Holiday}),
    [](const auto& info) {
        std::string name = info.param.name;
        for (char& ch : name) {
            if (!std::isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        }
        return name;
    });

TEST(DayKinds, FourthOfMayKeepsOnlyTheSubstitute) {
    // 2020-05-04 is a Monday after the listed 3 May.
    const DayLists lists{{"5,3,憲法記念日", "5,4,みどりの日"}, {}, true};
    const DayKinds kinds = dayKinds(2020, 5, 4, lists);
    EXPECT_TRUE(kinds.substitute);
    EXPECT_FALSE(kinds.holiday);
    EXPECT_EQ(typeOfDayText(2020, 5, 4, lists), "振替休日");
    // Another Monday after a holiday keeps both.
    const DayLists other{{"2,11,建国記念の日", "2,12,test"}, {}, true};
    EXPECT_EQ(typeOfDayText(2024, 2, 12, other), "test\n振替休日");
}

TEST(DayKinds, TypeOfDayTextJoinsTheKinds) {
    const DayLists lists{{"3,20,春分の日"}, {"3,20,記念日"}, true};
    EXPECT_EQ(typeOfDayText(2024, 3, 20, lists), "春分の日\n記念日\n春分の日");
    EXPECT_EQ(typeOfDayText(2012, 9, 22, {}), "秋分の日");
    EXPECT_EQ(typeOfDayText(2024, 3, 12, lists), "");
}

}  // namespace
}  // namespace hinagiku::mainwindow
