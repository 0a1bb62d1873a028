#include <gtest/gtest.h>

#include <algorithm>

#include <stdexcept>

#include "richtext/utf8.h"
#include "schedule/entry_decoder.h"
#include "schedule/entry_name.h"
#include "schedule/memory_store.h"

namespace hinagiku::schedule {
namespace {

using testing::day;

// Friday 2024-03-15, the examples' date.
const int kFriday = day(2024, 3, 15);
const double k0730 = *encodeTime(7, 30);

struct ToDoCase {
    ToDoKind kind;
    int date;
    ShiftKind shift;
    WeekMask weeks;
    const char* name;
};

TEST(EntryNameTest, ToDoNames) {
    const ToDoCase cases[] = {
        {ToDoKind::Dated, kFriday, ShiftKind::NextDay, kEveryWeek, "____0315.24"},
        {ToDoKind::Yearly, kFriday, ShiftKind::None, kEveryWeek, "____0315.__"},
        {ToDoKind::Yearly, kFriday, ShiftKind::NextDaySaturdayOff, kEveryWeek, "_~~~0315.__"},
        {ToDoKind::Yearly, kFriday, ShiftKind::PreviousDaySaturdayOff, kEveryWeek, "~_~~0315.__"},
        {ToDoKind::Monthly, kFriday, ShiftKind::None, kEveryWeek, "______15.__"},
        {ToDoKind::Monthly, kFriday, ShiftKind::PreviousDay, kEveryWeek, "~_____15.__"},
        {ToDoKind::Weekday, kFriday, ShiftKind::None, kEveryWeek, "________.FRI"},
        {ToDoKind::Weekday, day(2024, 3, 4), ShiftKind::None, 1 | 4, "_~_~~___.MON"},
        {ToDoKind::Weekday, kFriday, ShiftKind::None, kLastWeek, "~~~~~___.FRI"},
        {ToDoKind::Weekday, day(2024, 3, 3), ShiftKind::None, 15, "____~___.SUN"},
        {ToDoKind::Weekday, day(2024, 3, 3), ShiftKind::None, 1 | 16, "_~~~____.SUN"},
        {ToDoKind::Weekday, day(2024, 3, 3), ShiftKind::None, 16, "~~~~____.SUN"},
        {ToDoKind::Weekday, day(2024, 3, 3), ShiftKind::None, kLastWeek, "~~~~~___.SUN"},
        {ToDoKind::Dated, day(1999, 1, 2), ShiftKind::None, kEveryWeek, "____0102.99"},
        {ToDoKind::Dated, day(2000, 12, 31), ShiftKind::None, kEveryWeek, "____1231.00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToDoEntryName(c.kind, c.date, c.shift, c.weeks), c.name);
    }
}

struct PopupCase {
    double time;
    PopupKind kind;
    int date;
    ShiftKind shift;
    WeekMask weeks;
    const char* name;
};

TEST(EntryNameTest, PopupNames) {
    const double k0005 = *encodeTime(0, 5);
    const PopupCase cases[] = {
        {k0730, PopupKind::Daily, kFriday, ShiftKind::None, kEveryWeek, "0730____.__"},
        {k0730, PopupKind::Dated, kFriday, ShiftKind::None, kEveryWeek, "07300315.24"},
        {k0730, PopupKind::Yearly, kFriday, ShiftKind::None, kEveryWeek, "07300315.__"},
        {k0730, PopupKind::Yearly, kFriday, ShiftKind::PreviousDaySaturdayOff, kEveryWeek,
         "07300315.-~"},
        {k0730, PopupKind::Monthly, kFriday, ShiftKind::None, kEveryWeek, "0730__15.__"},
        {k0730, PopupKind::Monthly, kFriday, ShiftKind::NextDay, kEveryWeek, "0730__15.~_"},
        {k0730, PopupKind::Monthly, kFriday, ShiftKind::PreviousDay, kEveryWeek, "0730__15.-_"},
        {k0730, PopupKind::Yearly, kFriday, ShiftKind::NextDaySaturdayOff, kEveryWeek,
         "07300315.~~"},
        {k0730, PopupKind::Weekday, kFriday, ShiftKind::None, kEveryWeek, "0730____.FRI"},
        {k0730, PopupKind::Weekday, kFriday, ShiftKind::None, 1 | 4, "0730__05.FRI"},
        {k0730, PopupKind::Weekday, kFriday, ShiftKind::None, 16, "0730__16.FRI"},
        {*encodeTime(18, 0), PopupKind::Weekday, day(2024, 3, 4), ShiftKind::None, kLastWeek,
         "1800__32.MON"},
        // The last Monday at 00:05, and every Monday: never "0005__31.MON".
        {k0005, PopupKind::Weekday, day(2024, 3, 4), ShiftKind::None, kLastWeek, "0005__32.MON"},
        {k0005, PopupKind::Weekday, day(2024, 3, 4), ShiftKind::None, kEveryWeek, "0005____.MON"},
        {*encodeTime(23, 59, 59), PopupKind::Daily, kFriday, ShiftKind::None, kEveryWeek,
         "2359____.__"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PopupEntryName(c.time, c.kind, c.date, c.shift, c.weeks), c.name);
    }
}

TEST(EntryNameTest, WeeksThatCannotBeWrittenAreRefused) {
    for (WeekMask bad : {0, 33, 48, 64, -1}) {
        EXPECT_THROW(ToDoEntryName(ToDoKind::Weekday, kFriday, ShiftKind::None, bad),
                     std::invalid_argument)
            << bad;
        EXPECT_THROW(PopupEntryName(k0730, PopupKind::Weekday, kFriday, ShiftKind::None, bad),
                     std::invalid_argument)
            << bad;
    }
    EXPECT_THROW(ToDoEntryName(ToDoKind::Dated, -700000), std::invalid_argument);
}

TEST(EntryNameTest, UptimeAndBirthdayNames) {
    EXPECT_EQ(UptimeEntryName(3600), "W0003600.__");
    EXPECT_EQ(UptimeEntryName(kMaxUptimeSeconds), "W3456000.__");
    EXPECT_THROW(UptimeEntryName(-10), std::invalid_argument);
    EXPECT_EQ(BirthdayEntryName(day(1970, 3, 15)), "BORN0315.1970");
    EXPECT_EQ(BirthdayEntryName(day(800, 1, 2)), "BORN0102.0800");
    EXPECT_EQ(birthdayPattern(day(2024, 12, 24)), "BORN1224.*");
}

TEST(EntryNameTest, UptimeValueIsCutThenClamped) {
    const std::pair<long long, int> cases[] = {
        {125, 120},         {30, 60},           {5000000, 3456000}, {60, 60}, {69, 60},
        {3456009, 3456000}, {3455999, 3455990}, {-5, 60},           {0, 60},  {1LL << 40, 3456000},
    };
    for (const auto& [typed, stored] : cases)
        EXPECT_EQ(roundUptimeSeconds(typed), stored) << typed;
    EXPECT_EQ(UptimeEntryName(roundUptimeSeconds(125)), "W0000120.__");
}

TEST(EntryNameTest, TwoDigitYears) {
    const std::pair<int, int> cases[] = {{30, 1930}, {99, 1999}, {0, 2000}, {29, 2029}, {24, 2024}};
    for (const auto& [yy, year] : cases)
        EXPECT_EQ(fullYearFromTwoDigits(yy), year);
}

TEST(EntryNameTest, ShiftCodesRoundTrip) {
    for (ShiftKind kind :
         {ShiftKind::None, ShiftKind::PreviousDay, ShiftKind::PreviousDaySaturdayOff,
          ShiftKind::NextDay, ShiftKind::NextDaySaturdayOff}) {
        EXPECT_EQ(shiftFromToDoPrefix(toDoShiftPrefix(kind)), kind);
        EXPECT_EQ(shiftFromPopupMark(popupShiftMark(kind)), kind);
    }
    EXPECT_EQ(shiftDescription(ShiftKind::PreviousDaySaturdayOff), "(土曜/休日:前日)");
    EXPECT_EQ(shiftDescription(ShiftKind::NextDay), "(休日:翌日)");
    EXPECT_FALSE(shiftFromToDoPrefix("~~__"));
    EXPECT_FALSE(shiftFromPopupMark("_-"));
}

struct DecodeCase {
    const char* name;
    EntryFamily family;
    EntryKind kind;
    const char* description;
};

TEST(EntryDecoderTest, FamiliesKindsAndDescriptions) {
    const DecodeCase cases[] = {
        {"W0003600.__", EntryFamily::Uptime, EntryKind::Uptime,
         "Win98 :    3600秒経過（Windows起動後）"},
        {"________.MON", EntryFamily::ToDo, EntryKind::Weekday, "Week2 : 月曜日"},
        {"_~_~~___.FRI", EntryFamily::ToDo, EntryKind::Weekday,
         "Week6 : 金曜日(第１　　第３　　　　)"},
        {"~~~~____.SAT", EntryFamily::ToDo, EntryKind::Weekday,
         "Week7 : 土曜日(　　　　　　　　第５)"},
        {"~~~~~___.FRI", EntryFamily::ToDo, EntryKind::Weekday,
         "Week6 : 金曜日(　　　　　　　　最終)"},
        {"____0315.24", EntryFamily::ToDo, EntryKind::Dated, "To_do : 24年03月15日 "},
        {"____0315.__", EntryFamily::ToDo, EntryKind::Yearly, "To_do : 毎年03月15日 "},
        {"~___0315.__", EntryFamily::ToDo, EntryKind::Yearly, "To_do : 毎年03月15日 (休日:前日)"},
        {"_~~~0720.__", EntryFamily::ToDo, EntryKind::Yearly,
         "To_do : 毎年07月20日 (土曜/休日:翌日)"},
        {"______15.__", EntryFamily::ToDo, EntryKind::Monthly, "To_do : 毎月15日 "},
        {"~_~~__15.__", EntryFamily::ToDo, EntryKind::Monthly, "To_do : 毎月15日 (土曜/休日:前日)"},
        {"07300315.24", EntryFamily::Popup, EntryKind::Dated, "Popup : 24年03月15日 07時30分"},
        {"07300315.~_", EntryFamily::Popup, EntryKind::Yearly,
         "Popup : 毎年03月15日 07時30分 (休日:翌日)"},
        {"07300315.__", EntryFamily::Popup, EntryKind::Yearly, "Popup : 毎年03月15日 07時30分"},
        {"0730__15.__", EntryFamily::Popup, EntryKind::Monthly, "Popup : 毎月15日 07時30分"},
        {"0730__15.-~", EntryFamily::Popup, EntryKind::Monthly,
         "Popup : 毎月15日 07時30分 (土曜/休日:前日)"},
        {"0730____.__", EntryFamily::Popup, EntryKind::Daily, "Popup : 毎日 07時30分"},
        {"0730____.FRI", EntryFamily::Popup, EntryKind::Weekday, "Popw6 : 金曜日(毎週) 07時30分"},
        {"0730__05.FRI", EntryFamily::Popup, EntryKind::Weekday,
         "Popw6 : 金曜日(第１　　第３　　　　) 07時30分"},
        {"1800__32.MON", EntryFamily::Popup, EntryKind::Weekday, "Popw2 : 月曜日(最終) 18時00分"},
        {"BORN0315.1970", EntryFamily::Birthday, EntryKind::Birthday, "Birth : 03月15日【1970年】"},
        // Letters compare without regard to case.
        {"born0315.1970", EntryFamily::Birthday, EntryKind::Birthday, "Birth : 03月15日【1970年】"},
        {"w0000600.__", EntryFamily::Uptime, EntryKind::Uptime,
         "Win98 :     600秒経過（Windows起動後）"},
        {"0730____.fri", EntryFamily::Popup, EntryKind::Weekday, "Popw6 : 金曜日(毎週) 07時30分"},
    };
    for (const auto& c : cases) {
        const DecodedEntry entry = decodeEntryName(c.name);
        EXPECT_EQ(entry.family, c.family) << c.name;
        EXPECT_EQ(entry.kind, c.kind) << c.name;
        EXPECT_EQ(describeEntry(c.name), c.description) << c.name;
    }
}

TEST(EntryDecoderTest, Fields) {
    const DecodedEntry dated = decodeEntryName("____0315.99");
    EXPECT_EQ(dated.year, 1999);
    EXPECT_EQ(dated.month, 3);
    EXPECT_EQ(dated.day, 15);
    EXPECT_EQ(decodeEntryName("____0315.29").year, 2029);
    EXPECT_EQ(decodeEntryName("____0315.30").year, 1930);

    const DecodedEntry popup = decodeEntryName("23590101.24");
    EXPECT_EQ(popup.hour, 23);
    EXPECT_EQ(popup.minute, 59);
    EXPECT_EQ(popup.year, 2024);

    const DecodedEntry weeks = decodeEntryName("_~_~~___.MON");
    EXPECT_EQ(weeks.weekday, 2);
    EXPECT_FALSE(weeks.everyWeek);
    EXPECT_EQ(weeks.weeks, 1 | 4);
    EXPECT_EQ(decodeEntryName("~~~~~___.MON").weeks, kLastWeek);
    EXPECT_EQ(decodeEntryName("0730__32.MON").weeks, kLastWeek);
    EXPECT_TRUE(decodeEntryName("0730____.MON").everyWeek);

    EXPECT_EQ(decodeEntryName("_~~~0720.__").shift, ShiftKind::NextDaySaturdayOff);
    EXPECT_EQ(decodeEntryName("0720__20.-_").shift, ShiftKind::PreviousDay);
    EXPECT_EQ(decodeEntryName("W0003600.__").seconds, 3600);
    EXPECT_EQ(decodeEntryName("BORN0315.1970").year, 1970);
    EXPECT_EQ(decodeEntryName("BORN0315.txt").year, 0);
}

TEST(EntryDecoderTest, NamesOffTheCodeDecodeWithoutHarm) {
    // Whatever the characters are, decoding and describing stay inside the name.
    const std::string names[] = {
        "",
        "x",
        ".",
        "W",
        "BORN",
        "~",
        "_",
        "readme.txt",
        "____",
        "____.",
        "W12x.__",
        "_abc.def",
        "0730",
        "0730__ab.MON",
        "\xE3\x81\x82\xE3\x81\x84.txt",
        std::string("\x82\xA0\x00\xFF", 4),
        "~~~~~~~~~~~~~~~~~~~~~~.xyz",
        "07300315.-_.24",
    };
    for (const auto& name : names) {
        const DecodedEntry entry = decodeEntryName(name);
        const std::string description = describeEntry(name);
        // Shown in a window: valid UTF-8 without control characters.
        EXPECT_EQ(richtext::validUtf8(description), description) << name;
        EXPECT_EQ(std::count_if(description.begin(), description.end(),
                                [](char c) { return static_cast<unsigned char>(c) < 0x20; }),
                  0)
            << name;
        (void)entry;
    }
    EXPECT_EQ(decodeEntryName("W12x.__").seconds, -1);
    EXPECT_EQ(describeEntry("W12x.__"), "Win98 :      12秒経過（Windows起動後）");
    EXPECT_EQ(decodeEntryName("0730__ab.MON").weeks, 0);
}

}  // namespace
}  // namespace hinagiku::schedule
