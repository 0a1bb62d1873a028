#include "calendar/format_date.h"

#include <gtest/gtest.h>

namespace hinagiku {
namespace {

DateTime at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return *encodeDate(year, month, day) + *encodeTime(hour, minute, second);
}

struct FormatCase {
    const char* pattern;
    DateTime value;
    const char* expected;
};

class FormatDateTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatDateTest, Formats) {
    const FormatCase& c = GetParam();
    EXPECT_EQ(FormatDate(c.pattern, c.value), c.expected) << "pattern " << c.pattern;
}

// Friday 2024-03-15 07:30 unless said otherwise.
const DateTime kFriday = at(2024, 3, 15, 7, 30);

INSTANTIATE_TEST_SUITE_P(
    Tokens, FormatDateTest,
    ::testing::Values(
        FormatCase{"yy", at(2005, 1, 1), "05"}, FormatCase{"yy", at(2000, 6, 1), "00"},
        FormatCase{"y", at(2024, 1, 1), "24"}, FormatCase{"yyy", at(2024, 1, 1), "2024"},
        FormatCase{"yyyy", at(5, 1, 1), "0005"}, FormatCase{"mm/dd", kFriday, "03/15"},
        FormatCase{"m/d", at(2024, 3, 5), "3/5"}, FormatCase{"d", kFriday, "15"},
        FormatCase{"hhnnmmdd", at(2024, 3, 3, 7, 5), "07050303"},
        FormatCase{"hhmm", at(2024, 3, 3, 7, 5), "0705"},
        FormatCase{"h:m", at(2024, 3, 3, 7, 5), "7:5"},
        FormatCase{"Popup hh:mm", at(2024, 3, 3, 7, 5), "Popup 07:05"},
        FormatCase{"HH:MM:SS", at(2024, 3, 3, 7, 5, 9), "07:05:09"},
        FormatCase{"h:n:s", at(2024, 3, 3, 7, 5, 9), "7:5:9"},
        FormatCase{"hh:nn:ss", at(2024, 3, 3, 23, 59, 59), "23:59:59"},
        FormatCase{"yyyy\"年\"m\"月\"d\"日(\"ddd\")\"", kFriday, "2024年3月15日(金)"},
        FormatCase{"aaa\"曜\"", kFriday, "金曜"}, FormatCase{"dddd", kFriday, "金曜日"},
        FormatCase{"AAAA", at(2024, 3, 17), "日曜日"}, FormatCase{"aaa", at(2024, 3, 16), "土"},
        FormatCase{"yyyy/mm/dd \"(\"aaa\")\" hh:mm:ss", at(2024, 3, 15, 7, 5, 9),
                   "2024/03/15 (金) 07:05:09"},
        FormatCase{"m\",\"d", kFriday, "3,15"}, FormatCase{"m','d", kFriday, "3,15"},
        FormatCase{"mm\"dd hh", kFriday, "03dd hh"}, FormatCase{"mm'", kFriday, "03"},
        // The file-name patterns.
        FormatCase{"____mmdd.yy", kFriday, "____0315.24"},
        FormatCase{"______dd.__", kFriday, "______15.__"},
        FormatCase{"hhnn____.__", kFriday, "0730____.__"},
        FormatCase{"hhnnmmdd.yy", kFriday, "07300315.24"},
        FormatCase{"\"BORN\"mmdd.yyyy", kFriday, "BORN0315.2024"},
        FormatCase{"yyyymmdd\".JNL\"", kFriday, "20240315.JNL"},
        // Unquoted, the letters of an extension are tokens too.
        FormatCase{"yyyymmdd.JNL", kFriday, "20240315.J30L"},
        FormatCase{"\"ni\"yymmdd\".day\"", kFriday, "ni240315.day"},
        FormatCase{"yyyymmdd.)z(", kFriday, "20240315.)z("},
        // Minutes rule: only the letter right before counts; letters inside
        // quotes count for nothing, a double-byte character clears the
        // letter, ':' and blanks are skipped.
        FormatCase{"hh\"x\"mm", kFriday, "07x30"}, FormatCase{"h\"時\"m\"分\"", kFriday, "7時30分"},
        FormatCase{"hh時mm", kFriday, "07時03"}, FormatCase{"\"h\"mm", kFriday, "h03"},
        FormatCase{"hh : mm", kFriday, "07 : 30"}, FormatCase{"h1mm", kFriday, "7130"},
        FormatCase{"hhmmmm", kFriday, "0730"}, FormatCase{"hhmm mm", kFriday, "0730 03"},
        FormatCase{"hh x mm", kFriday, "07 x 03"},
        // Letters that are no tokens are copied as written.
        FormatCase{"a aa Q z", kFriday, "a aa Q z"}));

TEST(FormatDateTest, TimeOfDayBeforeTheEpochCountsForward) {
    // -1.25 is 1899-12-29 06:00: the fraction counts from midnight.
    EXPECT_EQ(FormatDate("yyyy/mm/dd hh:nn", -1.25), "1899/12/29 06:00");
}

}  // namespace
}  // namespace hinagiku
