#include "tools/day_calculation.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string>
#include <vector>

namespace hinagiku::tools {
namespace {

using Lines = std::vector<std::string>;

DateTimeFields at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return {y, mo, d, h, mi, s};
}

const std::string kRule(34, '=');

TEST(DayCalculation, PeriodLinesForTheEdgeSpans) {
    struct Case {
        const char* name;
        DateTimeFields to;
        Lines tail;  // the lines after the three header lines
    } cases[] = {
        {"equal", at(2024, 5, 1), {"0秒"}},
        {"59 seconds", at(2024, 5, 1, 0, 0, 59), {"59秒"}},
        {"60 seconds", at(2024, 5, 1, 0, 1, 0), {"1分 ", "60秒"}},
        {"3600 seconds", at(2024, 5, 1, 1, 0, 0), {"1時間 ", "60分 ", "3,600秒"}},
        {"one day", at(2024, 5, 2), {"1日 ", "24時間 ", "1,440分 ", "86,400秒"}},
        {"90061 seconds",
         at(2024, 5, 2, 1, 1, 1),
         {"1日 1時間 1分 1秒", "25時間 1分 1秒", "1,501分 1秒", "90,061秒"}},
    };
    for (const Case& c : cases) {
        const DayCalcResult result = calculatePeriod(at(2024, 5, 1), c.to);
        ASSERT_FALSE(result.failed) << c.name;
        ASSERT_GE(result.lines.size(), 3u) << c.name;
        EXPECT_EQ(result.lines[0], "2024/05/01 (水) 00:00:00 から") << c.name;
        EXPECT_EQ(result.lines[2], kRule) << c.name;
        EXPECT_EQ(Lines(result.lines.begin() + 3, result.lines.end()), c.tail) << c.name;
    }
}

TEST(DayCalculation, EarlierSecondRowGivesTheSameLines) {
    const DateTimeFields a = at(2000, 2, 29, 12, 0, 0);
    const DateTimeFields b = at(1999, 12, 31, 23, 59, 59);
    const DayCalcResult forward = calculatePeriod(b, a);
    const DayCalcResult backward = calculatePeriod(a, b);
    EXPECT_EQ(forward.lines, backward.lines);
    EXPECT_EQ(backward.lines[0], "1999/12/31 (金) 23:59:59 から");
    EXPECT_EQ(backward.lines[1], "2000/02/29 (火) 12:00:00 迄の時間");
}

TEST(DayCalculation, CountLines) {
    const DayCalcResult zero = calculateCount(at(2024, 1, 1, 8, 30, 0), true, {});
    EXPECT_EQ(zero.lines, (Lines{"2024/01/01 (月) 08:30:00 から", "0日 0時間 0分 0秒後の日時",
                                 kRule, "2024/01/01 (月) 08:30:00"}));

    // 99999 hours carry into days: 4166 days 15 hours.
    const DayCalcResult hours = calculateCount(at(2024, 1, 1), true, {0, 99999, 0, 0});
    EXPECT_EQ(hours.lines[1], "0日 99,999時間 0分 0秒後の日時");
    EXPECT_EQ(hours.lines[3], "2035/05/29 (火) 15:00:00");

    const DayCalcResult before = calculateCount(at(2024, 3, 1), false, {1, 0, 0, 1});
    EXPECT_EQ(before.lines[1], "1日 0時間 0分 1秒前の日時");
    EXPECT_EQ(before.lines[3], "2024/02/28 (水) 23:59:59");

    // Across the Julian/Gregorian change nothing is skipped: 1582-10-04 + 1
    // day is 1582-10-05 in the proleptic calendar.
    const DayCalcResult gregorian = calculateCount(at(1582, 10, 4), true, {1, 0, 0, 0});
    EXPECT_EQ(gregorian.lines[3], "1582/10/05 (火) 00:00:00");
}

TEST(DayCalculation, FailuresKeepTheLinesBefore) {
    const DayCalcResult past = calculateCount(at(1, 1, 1), false, {0, 0, 0, 1});
    EXPECT_TRUE(past.failed);
    EXPECT_EQ(past.lines.size(), 3u);
    const DayCalcResult beyond = calculateCount(at(9999, 12, 31, 23, 59, 59), true, {0, 0, 0, 1});
    EXPECT_TRUE(beyond.failed);
    EXPECT_EQ(beyond.lines.size(), 3u);
    const DayCalcResult last = calculateCount(at(9999, 12, 31, 23, 59, 58), true, {0, 0, 0, 1});
    EXPECT_FALSE(last.failed);
    EXPECT_EQ(last.lines[3], "9999/12/31 (金) 23:59:59");

    const DayCalcResult impossible = calculatePeriod(at(2023, 2, 29), at(2023, 3, 1));
    EXPECT_TRUE(impossible.failed);
    EXPECT_TRUE(impossible.lines.empty());
    EXPECT_TRUE(calculateCount(at(2024, 1, 1), true, {kMaxOffsetDays + 1, 0, 0, 0}).failed);

    // The widest span there is.
    const DayCalcResult widest = calculatePeriod(at(1, 1, 1), at(9999, 12, 31, 23, 59, 59));
    EXPECT_FALSE(widest.failed);
    EXPECT_EQ(widest.lines.back(), "315,537,897,599秒");
    EXPECT_EQ(widest.lines[3], "3,652,058日 23時間 59分 59秒");
}

TEST(DayCalculation, ImpossibleDaysStepDown) {
    struct Case {
        int year, month, day, expected;
    } cases[] = {{2023, 2, 29, 28}, {2024, 2, 31, 29}, {1900, 2, 29, 28}, {2000, 2, 30, 29},
                 {2024, 4, 31, 30}, {2024, 1, 31, 31}, {2024, 13, 5, 1}};
    for (const Case& c : cases)
        EXPECT_EQ(validDay(c.year, c.month, c.day), c.expected) << c.year << "-" << c.month;
}

TEST(DayCalculation, GroupDigits) {
    struct Case {
        std::int64_t value;
        const char* text;
    } cases[] = {{0, "0"},
                 {999, "999"},
                 {1000, "1,000"},
                 {123456789, "123,456,789"},
                 {9999999, "9,999,999"}};
    for (const Case& c : cases)
        EXPECT_EQ(groupDigits(c.value), c.text);
}

// Random date-times over the whole range against the standard library's
// civil calendar, with a local time zone that has daylight saving time: the
// results must not depend on it.
TEST(DayCalculation, RandomCasesAgreeWithSysDays) {
    ::setenv("TZ", "America/New_York", 1);
    ::tzset();
    using namespace std::chrono;
    std::mt19937_64 random(20261210);
    const auto first = sys_days{year{1} / January / 1};
    const auto last = sys_days{year{9999} / December / 31};
    std::uniform_int_distribution<long long> day(first.time_since_epoch().count(),
                                                 last.time_since_epoch().count());
    std::uniform_int_distribution<long long> second(0, 86399);
    auto fieldsFrom = [](sys_seconds t) {
        const auto days = floor<std::chrono::days>(t);
        const year_month_day ymd{days};
        const hh_mm_ss time{t - days};
        return DateTimeFields{
            int(ymd.year()),           int(unsigned(ymd.month())),  int(unsigned(ymd.day())),
            int(time.hours().count()), int(time.minutes().count()), int(time.seconds().count())};
    };
    for (int i = 0; i < 20000; ++i) {
        const sys_seconds a = sys_days{std::chrono::days{day(random)}} + seconds{second(random)};
        const sys_seconds b = sys_days{std::chrono::days{day(random)}} + seconds{second(random)};
        const DateTimeFields fa = fieldsFrom(a);
        const DateTimeFields fb = fieldsFrom(b);
        const DayCalcResult period = calculatePeriod(fa, fb);
        ASSERT_FALSE(period.failed);
        const long long span = std::llabs((b - a).count());
        EXPECT_EQ(period.lines.back(), groupDigits(span) + "秒");

        const long long offset = std::uniform_int_distribution<long long>(0, 9999999)(random);
        const DayOffset parts{offset / 86400 % 10000, offset / 3600 % 24, offset / 60 % 60,
                              offset % 60};
        const long long total =
            ((parts.days * 24 + parts.hours) * 60 + parts.minutes) * 60 + parts.seconds;
        const bool after = (i % 2) == 0;
        const sys_seconds target = after ? a + seconds{total} : a - seconds{total};
        const DayCalcResult count = calculateCount(fa, after, parts);
        if (target < sys_seconds{first} || target >= sys_seconds{last + std::chrono::days{1}}) {
            EXPECT_TRUE(count.failed);
            continue;
        }
        ASSERT_FALSE(count.failed);
        EXPECT_EQ(count.lines.back(), formatDayCalcDateTime(fieldsFrom(target)));
        const weekday wd{floor<std::chrono::days>(target)};
        static const char* kNames[] = {"日", "月", "火", "水", "木", "金", "土"};
        EXPECT_NE(count.lines.back().find(std::string("(") + kNames[wd.c_encoding()] + ")"),
                  std::string::npos);
    }
}

}  // namespace
}  // namespace hinagiku::tools
