#include "birthday/almanac.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "birthday/biorhythm.h"
#include "birthday/birth_dates.h"
#include "calendar/lunisolar.h"

namespace hinagiku::birthday {
namespace {

struct SignCase {
    int month, day;
    bool thirteen;
    const char* name;
    const char* range;
    const char* picture;
};

TEST(Almanac, SignBoundaries) {
    const SignCase cases[] = {
        {1, 19, false, "山羊座", "12/22～1/19", "yagi"},
        {1, 20, false, "水瓶座", "1/20～2/18", "midugame"},
        {2, 18, false, "水瓶座", "1/20～2/18", "midugame"},
        {2, 19, false, "魚座", "2/19～3/20", "uo"},
        {2, 29, false, "魚座", "2/19～3/20", "uo"},
        {11, 25, false, "射手座", "11/23～12/21", "ite"},
        {12, 21, false, "射手座", "11/23～12/21", "ite"},
        {12, 22, false, "山羊座", "12/22～1/19", "yagi"},
        {1, 18, true, "新射手座", "12/18～1/18", "ite"},
        {1, 19, true, "新山羊座", "1/19～2/15", "yagi"},
        {11, 25, true, "新蠍座", "11/23～11/29", "sasori"},
        {11, 29, true, "新蠍座", "11/23～11/29", "sasori"},
        {11, 30, true, "蛇遣い座", "11/30～12/17", "hebitukai"},
        {12, 17, true, "蛇遣い座", "11/30～12/17", "hebitukai"},
        {12, 18, true, "新射手座", "12/18～1/18", "ite"},
        {10, 30, true, "新乙女座", "9/16～10/30", "otome"},
    };
    for (const auto& c : cases) {
        const auto sign = zodiacSign(c.month, c.day, c.thirteen);
        SCOPED_TRACE(std::to_string(c.month) + "/" + std::to_string(c.day));
        EXPECT_EQ(sign.name, c.name);
        EXPECT_EQ(sign.range, c.range);
        EXPECT_EQ(sign.picture, c.picture);
    }
    // The range texts use the full-width tilde U+FF5E.
    EXPECT_EQ(zodiacSign(1, 20, false).range,
              "1/20\xEF\xBD\x9E"
              "2/18");
}

TEST(Almanac, AnimalsByYear) {
    const std::pair<int, const char*> cases[] = {{1992, "申"}, {2000, "辰"}, {2020, "子"},
                                                 {2021, "丑"}, {1, "酉"},    {9999, "亥"}};
    for (const auto& [year, name] : cases)
        EXPECT_EQ(twelveYearAnimal(year).name, name) << year;
    EXPECT_EQ(twelveYearAnimal(2000).picture, "tatu");
}

TEST(Almanac, MonthTextsAsShown) {
    EXPECT_EQ(monthFacts(1).flowerText, "１月の誕生花 シンビジューム／スイセン");
    EXPECT_EQ(monthFacts(8).flowerText, "８の誕生花 アンスリウム／ヒマワリ");
    EXPECT_EQ(monthFacts(12).name, "(師走)");
    EXPECT_EQ(monthFacts(10).birthstone, "ピンクトルマリン");
    EXPECT_EQ(monthFacts(6).picture, "six");
}

struct AgeCase {
    CivilDate birth, today;
    int age;
    const char* name;
    const char* celebration;
};

TEST(Almanac, AgesAndTheirNames) {
    const AgeCase cases[] = {
        {{1964, 6, 15}, {1978, 6, 15}, 14, "", ""},
        {{1964, 6, 15}, {1979, 6, 14}, 14, "", ""},
        {{1964, 6, 15}, {1979, 6, 15}, 15, "(志学)", ""},
        {{1964, 6, 15}, {1980, 6, 15}, 16, "", ""},
        {{1964, 6, 15}, {2024, 6, 14}, 59, "", ""},
        {{1964, 6, 15}, {2024, 6, 15}, 60, "(耳順)", "(還暦)"},
        {{1964, 6, 15}, {2025, 6, 15}, 61, "", ""},
        {{1945, 1, 1}, {2024, 1, 1}, 79, "", "(傘樹)"},
        {{1925, 1, 1}, {2024, 1, 1}, 99, "", "(上寿)"},
        // 29 February: the age rises on 1 March in a common year.
        {{2000, 2, 29}, {2023, 2, 28}, 22, "", ""},
        {{2000, 2, 29}, {2023, 3, 1}, 23, "", ""},
        {{2000, 2, 29}, {2024, 2, 28}, 23, "", ""},
        {{2000, 2, 29}, {2024, 2, 29}, 24, "", ""},
        // A birth date after today.
        {{2030, 5, 1}, {2024, 5, 2}, -6, "", ""},
    };
    for (const auto& c : cases) {
        const auto a = almanacFor(c.birth, c.today, false);
        SCOPED_TRACE(std::to_string(c.birth.year) + " on " + std::to_string(c.today.year));
        EXPECT_EQ(a.age, c.age);
        EXPECT_EQ(a.ageName, c.name);
        EXPECT_EQ(a.celebration, c.celebration);
    }
}

TEST(Almanac, OneBirthDateWhole) {
    const auto a = almanacFor({1980, 3, 5}, {2024, 3, 5}, false);
    EXPECT_EQ(a.age, 44);
    EXPECT_EQ(a.sign.name, "魚座");
    EXPECT_EQ(a.animal.name, "申");
    EXPECT_EQ(a.month.name, "(弥生)");
    EXPECT_EQ(a.entryName, "BORN0305.1980");
    EXPECT_EQ(a.rokuyo, Rokuyo(*encodeDate(1980, 3, 5)));
    EXPECT_EQ(almanacFor({2000, 2, 29}, {2024, 1, 1}, false).flower.flower, "ハナムギ");
}

// The register's own day count for the rokuyo is the calendar's day number:
// one count serves both.
TEST(Almanac, RegisterDayCountEqualsLunisolarDayNumber) {
    auto partCount = [](int y, int m, int d) {
        if (m < 3) {
            m += 12;
            y -= 1;
        }
        return static_cast<int>(365.25 * y) + static_cast<int>(0.0025 * y) -
               static_cast<int>(0.01 * y) + static_cast<int>(30.59 * (m - 2)) + 1721088 + d;
    };
    for (int n = *encodeDate(1, 1, 1); n <= *encodeDate(9999, 12, 31); n += 13) {
        const CivilDate c = decodeDate(n);
        ASSERT_EQ(partCount(c.year, c.month, c.day), lunisolarDayNumber(n))
            << c.year << "-" << c.month << "-" << c.day;
    }
}

TEST(Almanac, FlowerTableHasEveryDayOfALeapYear) {
    const BirthFlower* rows = birthFlowerTable();
    int index = 0;
    for (int m = 1; m <= 12; ++m) {
        for (int d = 1; d <= daysInMonth(2000, m); ++d, ++index) {
            ASSERT_LT(index, kBirthFlowerRows);
            EXPECT_EQ(rows[index].key, m * 100 + d);
            EXPECT_FALSE(rows[index].flower.empty()) << rows[index].key;
            EXPECT_FALSE(rows[index].language.empty()) << rows[index].key;
        }
    }
    EXPECT_EQ(index, kBirthFlowerRows);
    const std::tuple<int, int, const char*, const char*> telling[] = {
        {1, 1, "フクジュソウ", "幸運を招く"},
        {1, 2, "ロウバイ", "慈愛心を持っている"},
        {1, 3, "マツ", "不老長寿"},
        {2, 29, "ハナムギ", "清らかな愛情"},
        {12, 25, "ポインセチア(赤)", "私の心は燃えている"},
        {12, 31, "センリョウ", "可憐"}};
    for (const auto& [m, d, flower, language] : telling) {
        EXPECT_EQ(birthFlower(m, d).flower, flower);
        EXPECT_EQ(birthFlower(m, d).language, language);
    }
    EXPECT_TRUE(birthFlower(2, 30).flower.empty());
}

TEST(Almanac, PictureNamesAreTheTablesNames) {
    std::set<std::string_view> names(std::begin(kPictureNames), std::end(kPictureNames));
    EXPECT_EQ(names.size(), 37u);
    for (int m = 1; m <= 12; ++m) {
        EXPECT_TRUE(names.count(monthFacts(m).picture));
        for (int d = 1; d <= daysInMonth(2000, m); ++d) {
            EXPECT_TRUE(names.count(zodiacSign(m, d, false).picture));
            EXPECT_TRUE(names.count(zodiacSign(m, d, true).picture));
        }
    }
    for (int y = 0; y < 12; ++y)
        EXPECT_TRUE(names.count(twelveYearAnimal(y).picture));
}

struct DateBoxCase {
    int y, m, d;
    CivilDate want;
};

TEST(BirthDates, RegisterDateRules) {
    const DateBoxCase cases[] = {
        {2023, 2, 30, {2023, 2, 28}}, {2024, 2, 31, {2024, 2, 29}},  {2023, 4, 31, {2023, 4, 30}},
        {0, 13, 5, {1, 12, 5}},       {10000, 4, 31, {9999, 4, 30}}, {1750, 1, 1, {1750, 1, 1}},
        {2023, 1, 0, {2023, 1, 1}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(registerDate(c.y, c.m, c.d), c.want) << c.y << "-" << c.m << "-" << c.d;
    }
}

struct NextCase {
    int month, day;
    CivilDate today, next;
    int days;
};

TEST(BirthDates, NextBirthday) {
    const NextCase cases[] = {
        {3, 5, {2024, 3, 5}, {2024, 3, 5}, 0},      {3, 5, {2024, 3, 6}, {2025, 3, 5}, 364},
        {2, 29, {2023, 1, 10}, {2023, 3, 1}, 50},   {2, 29, {2023, 3, 1}, {2023, 3, 1}, 0},
        {2, 29, {2023, 3, 10}, {2024, 2, 29}, 356}, {2, 29, {2024, 1, 10}, {2024, 2, 29}, 50},
        {2, 29, {2024, 3, 1}, {2025, 3, 1}, 365},   {12, 31, {9999, 12, 31}, {9999, 12, 31}, 0},
        {1, 1, {9999, 12, 31}, {10000, 1, 1}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.month) + "/" + std::to_string(c.day) + " on " +
                     std::to_string(c.today.year) + "-" + std::to_string(c.today.month) + "-" +
                     std::to_string(c.today.day));
        EXPECT_EQ(nextBirthday(c.month, c.day, c.today), c.next);
        EXPECT_EQ(daysUntilNextBirthday(c.month, c.day, c.today), c.days);
    }
}

TEST(BirthDates, YearFromAge) {
    // The birthday counts as come on the day itself.
    EXPECT_EQ(birthYearForAge(44, 3, 5, {2024, 3, 5}), 1980);
    EXPECT_EQ(birthYearForAge(44, 3, 5, {2024, 3, 4}), 1979);
    EXPECT_EQ(birthYearForAge(44, 2, 10, {2024, 3, 4}), 1980);
    EXPECT_EQ(birthYearForAge(0, 12, 31, {2024, 1, 1}), 2023);
    // 29 February "comes" on 1 March in a common year.
    EXPECT_EQ(birthYearForAge(23, 2, 29, {2023, 2, 28}), 1999);
    EXPECT_EQ(birthYearForAge(23, 2, 29, {2023, 3, 1}), 2000);
}

struct BioCase {
    CivilDate birth;
    int year, month, width, height;
    int n;
    int i;
    int red, blue, green;
};

TEST(Biorhythm, PointsTruncateTowardZeroAndPhasesBeforeBirthAreNegative) {
    const BioCase cases[] = {
        // A month before the birth: n is negative and so is every phase.
        {{2000, 1, 1}, 1999, 12, 300, 100, -32, 0, 81, 89, 41},
        {{2000, 1, 1}, 1999, 12, 300, 100, -32, 1, 90, 81, 32},
        {{2000, 1, 1}, 1999, 12, 300, 100, -32, 31, 63, 61, 59},
        // The birth day itself is the zero of every cycle.
        {{2000, 1, 1}, 2000, 1, 300, 100, -1, 1, 50, 50, 50},
        {{1980, 3, 5}, 2024, 3, 310, 121, 16066, 0, 68, 118, 108},
        {{1980, 3, 5}, 2024, 3, 310, 121, 16066, 31, 103, 97, 118},
    };
    for (const auto& c : cases) {
        const auto chart = biorhythmFor(c.birth, c.year, c.month, c.width, c.height);
        SCOPED_TRACE(std::to_string(c.year) + "-" + std::to_string(c.month) + " i " +
                     std::to_string(c.i));
        EXPECT_EQ(chart.n, c.n);
        EXPECT_EQ(chart.columnWidth, c.width / 30);
        EXPECT_EQ(chart.physical[c.i].x, c.i * (c.width / 30));
        EXPECT_EQ(chart.physical[c.i].y, c.red);
        EXPECT_EQ(chart.emotional[c.i].y, c.blue);
        EXPECT_EQ(chart.intellectual[c.i].y, c.green);
    }
}

TEST(Biorhythm, MonthsStopAtTheCalendarsEnds) {
    EXPECT_EQ(stepMonth({1, 1}, -1), (YearMonth{1, 1}));
    EXPECT_EQ(stepMonth({9999, 12}, 1), (YearMonth{9999, 12}));
    EXPECT_EQ(stepMonth({2023, 12}, 1), (YearMonth{2024, 1}));
    EXPECT_EQ(stepMonth({2024, 1}, -1), (YearMonth{2023, 12}));
}

}  // namespace
}  // namespace hinagiku::birthday
