#include "birthday/almanac.h"

#include <array>

#include "birthday/birth_dates.h"
#include "calendar/lunisolar.h"
#include "schedule/entry_name.h"

namespace hinagiku::birthday {
namespace {

struct SignRow {
    int from;
    int to;
    ZodiacSign sign;
};

// Rows in order of v = month * 100 + day; a v in none of them is the last
// sign, the one that spans the turn of the year.
constexpr std::array<SignRow, 11> kTwelve{{
    {120, 218, {"水瓶座", "1/20～2/18", "midugame"}},
    {219, 320, {"魚座", "2/19～3/20", "uo"}},
    {321, 419, {"牡羊座", "3/21～4/19", "ohituji"}},
    {420, 520, {"牡牛座", "4/20～5/20", "ousi"}},
    {521, 621, {"双子座", "5/21～6/21", "hutago"}},
    {622, 722, {"蟹座", "6/22～7/22", "kani"}},
    {723, 822, {"獅子座", "7/23～8/22", "sisi"}},
    {823, 922, {"乙女座", "8/23～9/22", "otome"}},
    {923, 1023, {"天秤座", "9/23～10/23", "tenbin"}},
    {1024, 1122, {"蠍座", "10/24～11/22", "sasori"}},
    {1123, 1221, {"射手座", "11/23～12/21", "ite"}},
}};
constexpr ZodiacSign kTwelveOtherwise{"山羊座", "12/22～1/19", "yagi"};

constexpr std::array<SignRow, 12> kThirteen{{
    {119, 215, {"新山羊座", "1/19～2/15", "yagi"}},
    {216, 311, {"新水瓶座", "2/16～3/11", "midugame"}},
    {312, 418, {"新魚座", "3/12～4/18", "uo"}},
    {419, 513, {"新牡羊座", "4/19～5/13", "ohituji"}},
    {514, 620, {"新牡牛座", "5/14～6/20", "ousi"}},
    {621, 719, {"新双子座", "6/21～7/19", "hutago"}},
    {720, 819, {"新蟹座", "7/20～8/19", "kani"}},
    {820, 915, {"新獅子座", "8/20～9/15", "sisi"}},
    {916, 1030, {"新乙女座", "9/16～10/30", "otome"}},
    {1031, 1122, {"新天秤座", "10/31～11/22", "tenbin"}},
    {1123, 1129, {"新蠍座", "11/23～11/29", "sasori"}},
    {1130, 1217, {"蛇遣い座", "11/30～12/17", "hebitukai"}},
}};
constexpr ZodiacSign kThirteenOtherwise{"新射手座", "12/18～1/18", "ite"};

// Indexed by year mod 12.
constexpr std::array<TwelveYearAnimal, 12> kAnimals{{
    {"申", "saru"},
    {"酉", "tori"},
    {"戌", "inu"},
    {"亥", "i"},
    {"子", "ne"},
    {"丑", "usi"},
    {"寅", "tora"},
    {"卯", "u"},
    {"辰", "tatu"},
    {"巳", "mi"},
    {"午", "uma"},
    {"未", "hituji"},
}};

// The August flower text reads "８の誕生花" (without "月") in the window the
// register copies; it is kept as shown there.
constexpr std::array<MonthFacts, 12> kMonths{{
    {"(睦月)", "ガーネット", "one", "１月の誕生花 シンビジューム／スイセン"},
    {"(如月)", "アメジスト", "two", "２月の誕生花 マーガレット／フリージア"},
    {"(弥生)", "アクアマリン", "three", "３月の誕生花 スイートピー／チューリップ"},
    {"(卯月)", "ダイヤモンド", "four", "４月の誕生花 カスミソウ／ミヤコワスレ"},
    {"(皐月)", "エメラルド", "five", "５月の誕生花 カーネーション／スズラン"},
    {"(水無月)", "ムーンストーン", "six", "６月の誕生花 バラ／グラジオラス"},
    {"(文月)", "ルビー", "seven", "７月の誕生花 ユリ／リシアンサス"},
    {"(葉月)", "ペリドット", "eight", "８の誕生花 アンスリウム／ヒマワリ"},
    {"(長月)", "サファイア", "nine", "９月の誕生花 クジャクソウ／リンドウ"},
    {"(神無月)", "ピンクトルマリン", "ten", "１０月の誕生花 ガーベラ／コスモス"},
    {"(霜月)", "シトリン", "eleven", "１１月の誕生花 ブバリア／キク"},
    {"(師走)", "トルコ石", "twelve", "１２月の誕生花 ストレリチア／カトレア"},
}};

}  // namespace

ZodiacSign zodiacSign(int month, int day, bool thirteenSigns) {
    const int v = month * 100 + day;
    if (thirteenSigns) {
        for (const auto& row : kThirteen) {
            if (v >= row.from && v <= row.to)
                return row.sign;
        }
        return kThirteenOtherwise;
    }
    for (const auto& row : kTwelve) {
        if (v >= row.from && v <= row.to)
            return row.sign;
    }
    return kTwelveOtherwise;
}

TwelveYearAnimal twelveYearAnimal(int year) {
    return kAnimals[static_cast<std::size_t>(((year % 12) + 12) % 12)];
}

const MonthFacts& monthFacts(int month) {
    if (month < 1 || month > 12)
        return kMonths[0];
    return kMonths[static_cast<std::size_t>(month - 1)];
}

std::string_view ageName(int age) {
    switch (age) {
        case 15:
            return "(志学)";
        case 20:
            return "(弱冠)";
        case 30:
            return "(而立)";
        case 40:
            return "(不惑)";
        case 50:
            return "(知命)";
        case 60:
            return "(耳順)";
        default:
            return {};
    }
}

std::string_view celebrationName(int age) {
    switch (age) {
        case 60:
            return "(還暦)";
        case 69:
            return "(古希)";
        case 76:
            return "(喜寿)";
        // "傘樹" (not "傘寿") is the text the register has always shown.
        case 79:
            return "(傘樹)";
        case 87:
            return "(米寿)";
        case 89:
            return "(卆寿)";
        case 98:
            return "(白寿)";
        case 99:
            return "(上寿)";
        default:
            return {};
    }
}

BirthFlower birthFlower(int month, int day) {
    if (month < 1 || month > 12 || day < 1 || day > daysInMonth(2000, month))
        return {};
    int index = day - 1;
    for (int m = 1; m < month; ++m)
        index += daysInMonth(2000, m);  // 2000 is a leap year: 29 February has a row
    return birthFlowerTable()[index];
}

Almanac almanacFor(const CivilDate& birth, const CivilDate& today, bool thirteenSigns) {
    Almanac a;
    a.birth = birth;
    a.age = ageOn(birth, today);
    a.ageName = ageName(a.age);
    a.celebration = celebrationName(a.age);
    a.sign = zodiacSign(birth.month, birth.day, thirteenSigns);
    a.animal = twelveYearAnimal(birth.year);
    a.month = monthFacts(birth.month);
    a.flower = birthFlower(birth.month, birth.day);
    const DateTime day = dayNumberOf(birth);
    a.rokuyo = Rokuyo(day);
    a.entryName = schedule::BirthdayEntryName(day);
    return a;
}

}  // namespace hinagiku::birthday
