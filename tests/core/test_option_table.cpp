#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "core/option_table.h"
#include "platform/memory_settings.h"
#include "support/temp_home.h"

namespace hinagiku::core {
namespace {

using platform::MemorySettings;
using testing::TempHome;

TEST(OptionTable, RowsAreUniqueAndInPageOrder) {
    const auto& rows = optionTable();
    std::set<std::string> seen;
    for (const auto& row : rows)
        EXPECT_TRUE(seen.insert(row.section + "/" + row.key).second) << row.key;
    ASSERT_GT(rows.size(), 100u);
    EXPECT_EQ(rows.front().key, "Cal_DBLC");
    EXPECT_EQ(rows[rows.size() - 2].section, "Calendar");  // the folder panel ends the list
    EXPECT_EQ(rows.back().section, "Privacy");
    EXPECT_NE(findOption("telephone", "11section_4"), nullptr);
    EXPECT_NE(findOption("CALENDAREX", "weekdaycolor"), nullptr);
    EXPECT_EQ(findOption("Memo", "Width"), nullptr);  // placement of new memos is not a row
}

struct LoadCase {
    const char* section;
    const char* key;
    const char* stored;  // nullptr: absent
    const char* expected;
};

TEST(OptionTable, ValueTheDialogLoads) {
    const LoadCase cases[] = {
        {"Setup", "Cal_DBLC", "7", "0"},   // outside the list: default, never -1
        {"Setup", "Cal_DBLC", "-1", "0"},  //
        {"Setup", "Cal_DBLC", "4", "4"},
        {"Setup", "Period", nullptr, "1"},
        {"Setup", "Period", "abc", "1"},
        {"Calendar", "before", "75", "59"},
        {"Calendar", "before", "-3", "0"},
        {"Form", "Interval", "500", "1000"},
        {"Form", "Interval", "0x7D0", "2000"},
        {"Memo", "FontSize", "200", "200"},  // no bounds
        {"Memo", "FontSize", "-4", "-4"},
        {"Form", "BirthPop", "5", "1"},
        {"CalendarEx", "PopView", nullptr, "1"},
        {"CalendarEx", "PopView", "junk", "1"},
        {"Form", "Today_pop", "1", "0"},  // no data folder
        {"To_do", "PastBackColor", nullptr, "-2147483646"},
        {"Nikki", "FontColor", "0x80000008", "-2147483640"},
        {"CalendarEx", "SundayColor", nullptr, "255"},
        {"TelePhone", "CloseTitle", "", "ダイヤラ"},
        {"TelePhone", "CloseTitle", "端末", "端末"},
        {"TelePhone", "Title_11", nullptr, "他"},
        {"TelePhone", "3Section_2", nullptr, "電話番号"},
        {"Memo", "FontName", nullptr, "ＭＳ Ｐゴシック"},
        {"Calendar", "Directory", nullptr, "."},
        {"Form", "Period_Cap", "", ""},
    };
    for (const auto& c : cases) {
        MemorySettings settings;
        if (c.stored != nullptr)
            settings.writeText(c.section, c.key, c.stored);
        const OptionRow* row = findOption(c.section, c.key);
        ASSERT_NE(row, nullptr) << c.key;
        EXPECT_EQ(loadedValue(settings, *row), c.expected) << c.section << " " << c.key;
    }
}

TEST(OptionTable, HappyMondayIsOffWhileTheLawRules) {
    MemorySettings settings;
    EXPECT_EQ(changeOption(settings, "CalendarEx", "Law", "1").status,
              OptionChange::Status::Written);
    EXPECT_EQ(changeOption(settings, "CalendarEx", "Happy_Monday", "0").status,
              OptionChange::Status::Refused);
    EXPECT_EQ(changeOption(settings, "CalendarEx", "Law", "0").status,
              OptionChange::Status::Written);
    EXPECT_EQ(changeOption(settings, "CalendarEx", "Happy_Monday", "0").status,
              OptionChange::Status::Written);
}

TEST(OptionTable, StartUpOptionsFollowTheDataFolder) {
    MemorySettings settings;
    settings.writeText("Form", "Today_pop", "1");
    const OptionRow& row = *findOption("Form", "Today_pop");
    EXPECT_FALSE(optionEnabled(settings, row));
    EXPECT_EQ(loadedValue(settings, row), "0");
    settings.writeText("Calendar", "Directory", "/data");
    EXPECT_TRUE(optionEnabled(settings, row));
    EXPECT_EQ(loadedValue(settings, row), "1");
}

struct ChangeCase {
    const char* section;
    const char* key;
    const char* value;
    OptionChange::Status status;
    const char* written;  // "Key=value;Key=value" as written, in order
};

std::string describe(const OptionChange& change) {
    std::string s;
    for (const auto& [row, value] : change.written)
        s += (s.empty() ? "" : ";") + row->key + "=" + value;
    return s;
}

TEST(OptionTable, ChangesTheUsersWay) {
    using S = OptionChange::Status;
    const ChangeCase cases[] = {
        {"calendar", "BEFORE", "75", S::Written, "before=59"},
        {"Form", "Interval", "20", S::Written, "Interval=1000"},
        {"Form", "Interval", "2000", S::Written, "Interval=2000"},
        {"Form", "Interval", "2k", S::Refused, ""},
        {"Setup", "Reboot", "1", S::Written, "Reboot=1;Reboot_exec=0"},
        {"Setup", "Reboot", "2", S::Refused, ""},
        {"Setup", "Reboot_exec", "1", S::Refused, ""},  // disabled while Reboot is 1
        {"Form", "Waveplay", "2", S::Refused, ""},
        {"Form", "Waveplay", "0", S::Written, "Waveplay=0"},
        {"Form", "Today_pop", "1", S::Refused, ""},  // no data folder
        {"Password", "Use", "1", S::Refused, ""},
        {"To_do", "PastColor", "0x80000005", S::Written, "PastColor=-2147483643"},
        {"To_do", "PastColor", "-2147483640", S::Written, "PastColor=-2147483640"},
        {"To_do", "PastColor", "blue", S::Refused, ""},
        {"TelePhone", "CloseTitle", "", S::Written, "CloseTitle=ダイヤラ"},
        {"TelePhone", "Title_0", "é", S::Refused, ""},
        {"TelePhone", "Title_0", "😀", S::Refused, ""},
        {"Calendar", "bitmap", "/no/such/picture.bmp", S::Written, "bitmap="},
        {"Memo", "FontName", "ＭＳ Ｐゴシック", S::Written, "FontName=ＭＳ Ｐゴシック"},
        {"Memo", "FontSize", "-3", S::Written, "FontSize=-3"},
        {"Nikki", "Auto_H", "24", S::Written, "Auto_H=23"},
        {"No", "Such", "1", S::NoSuchSetting, ""},
        {"Privacy", "Directory", "/tmp", S::Refused, ""},  // no data folder
        {"Calendar", "Directory", "relative/path", S::Refused, ""},
        {"Calendar", "Directory", "/no/such/folder", S::Refused, ""},
    };
    for (const auto& c : cases) {
        MemorySettings settings;
        const OptionChange change = changeOption(settings, c.section, c.key, c.value);
        EXPECT_EQ(change.status, c.status) << c.key << "=" << c.value << ": " << change.message;
        EXPECT_EQ(describe(change), c.written) << c.key << "=" << c.value;
        if (c.status != S::Written) {
            EXPECT_EQ(settings.writeCount(), 0) << c.key;
        }
        for (const auto& [row, value] : change.written)
            EXPECT_EQ(settings.readText(row->section, row->key, "?"), value);
    }
}

TEST(OptionTable, TextsUpTo1023BytesOfTheFilesCodePage) {
    std::string text;
    for (int i = 0; i < 511; ++i)
        text += "あ";  // two bytes each
    EXPECT_FALSE(unstorableTextReason(text + "a"));
    EXPECT_TRUE(unstorableTextReason(text + "ab"));
    EXPECT_TRUE(unstorableTextReason("caf\xC3\xA9"));
    EXPECT_TRUE(unstorableTextReason("bad \xFF byte"));
    EXPECT_FALSE(unstorableTextReason("〜"));
}

TEST(OptionTable, FolderRules) {
    TempHome home;
    const std::string data = (home.path() / "data").string();
    const std::string other = (home.path() / "other").string();
    std::filesystem::create_directories(data);
    std::filesystem::create_directories(other);
    MemorySettings settings;

    OptionChange change = changeOption(settings, "Calendar", "Directory", data + "//");
    EXPECT_EQ(describe(change), "Directory=" + data);
    EXPECT_TRUE(change.warning.empty());

    change = changeOption(settings, "Privacy", "Directory", data + "/");
    EXPECT_EQ(describe(change), "Directory=");  // the data folder itself
    change = changeOption(settings, "Privacy", "Directory", other);
    EXPECT_EQ(describe(change), "Directory=" + other);
    change = changeOption(settings, "Privacy", "Directory", "/");
    EXPECT_EQ(describe(change), "Directory=/");  // never the empty text
    EXPECT_TRUE(change.warning.empty());

    change = changeOption(settings, "Calendar", "Directory", "/");
    EXPECT_EQ(describe(change), "Directory=/");
    EXPECT_EQ(change.warning, kRootFolderWarning);

    const std::string accented = (home.path() / "jos\xC3\xA9").string();
    std::filesystem::create_directories(accented);
    change = changeOption(settings, "Calendar", "Directory", accented);
    EXPECT_EQ(change.status, OptionChange::Status::Refused);
    EXPECT_EQ(settings.readText("Calendar", "Directory", ""), "/");
}

}  // namespace
}  // namespace hinagiku::core
