#pragma once

#include <string>
#include <string_view>

#include "calendar/date_time.h"

namespace hinagiku::birthday {

// The register's almanac: fixed tables keyed by the birth date, one table for
// the window, hinagikuctl and the tests. Texts are UTF-8 and kept exactly as
// the register shows them.

struct ZodiacSign {
    std::string_view name;     // "水瓶座"
    std::string_view range;    // "1/20～2/18", the label's hint
    std::string_view picture;  // "midugame"
};

// The sign of a birth month and day; `thirteenSigns` is [Birthday] Seiza != 0.
ZodiacSign zodiacSign(int month, int day, bool thirteenSigns);

struct TwelveYearAnimal {
    std::string_view name;     // "子"
    std::string_view picture;  // "ne"
};

// The animal of a Gregorian birth year (any year, also before 1).
TwelveYearAnimal twelveYearAnimal(int year);

struct MonthFacts {
    std::string_view name;        // "(睦月)"
    std::string_view birthstone;  // "ガーネット"
    std::string_view picture;     // "one"
    std::string_view flowerText;  // "１月の誕生花 シンビジューム／スイセン"
};

// Month 1..12; a month outside gives January's facts.
const MonthFacts& monthFacts(int month);

// "(志学)" and the like for the age in whole years; empty for other ages.
std::string_view ageName(int age);
// "(還暦)" and the like; empty for other ages.
std::string_view celebrationName(int age);

struct BirthFlower {
    int key = 0;  // month * 100 + day
    std::string_view flower;
    std::string_view language;
};

// The 366 rows, 101 .. 1231 in date order (229 included).
inline constexpr int kBirthFlowerRows = 366;
const BirthFlower* birthFlowerTable();
// The flower and language of a month and day of a leap year; an empty row
// for a day that does not exist.
BirthFlower birthFlower(int month, int day);

// Names of the 37 pictures: 13 zodiac, 12 animal, 12 birthstone.
inline constexpr std::string_view kPictureNames[37] = {
    "midugame", "uo",     "ohituji", "ousi",   "hutago",    "kani", "sisi", "otome",
    "tenbin",   "sasori", "ite",     "yagi",   "hebitukai", "ne",   "usi",  "tora",
    "u",        "tatu",   "mi",      "uma",    "hituji",    "saru", "tori", "inu",
    "i",        "one",    "two",     "three",  "four",      "five", "six",  "seven",
    "eight",    "nine",   "ten",     "eleven", "twelve"};

// Everything the register shows for one birth date seen on `today`.
struct Almanac {
    CivilDate birth;
    int age = 0;
    std::string_view ageName;
    std::string_view celebration;
    ZodiacSign sign;
    TwelveYearAnimal animal;
    MonthFacts month;
    BirthFlower flower;
    std::string rokuyo;     // bare name ("大安")
    std::string entryName;  // "BORNmmdd.yyyy"
};

// `birth` must be a valid date of the years 1 to 9999.
Almanac almanacFor(const CivilDate& birth, const CivilDate& today, bool thirteenSigns);

}  // namespace hinagiku::birthday
