#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/cp932.h"
#include "platform/memory_settings.h"
#include "platform/profile_file.h"
#include "support/temp_home.h"
#include "tools/launcher_levels.h"
#include "tools/launcher_menu.h"

namespace hinagiku::tools {
namespace {

using Kind = LauncherItem::Kind;

// The settings file as Windows writes it: CP932, CR LF, section names in
// whatever case the user left them.
std::string windowsIni(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += platform::toCp932(line) + "\r\n";
    return text;
}

struct Flat {
    std::string level;
    Kind kind;
    std::string title;
    std::string command;
    int number;
    friend bool operator==(const Flat&, const Flat&) = default;
};

void flatten(const std::vector<LauncherItem>& items, std::vector<Flat>& out) {
    for (const LauncherItem& item : items) {
        out.push_back({item.level, item.kind, item.title, item.command, item.number});
        flatten(item.children, out);
    }
}

std::vector<Flat> flat(const LauncherMenu& menu) {
    std::vector<Flat> out;
    flatten(menu.items, out);
    return out;
}

TEST(LauncherMenu, BuildsFromAWindowsSettingsFile) {
    testing::TempHome home;
    home.writeFile("hinagiku.ini", windowsIni({
                                       "[ExecTitle_Main]",
                                       "Count=5",
                                       "0=エディタ",
                                       "1=-",
                                       "2=ソフト",
                                       "3=Web",
                                       "4=ゾーン",
                                       "[execcommand_main]",
                                       "0=C:\\Windows\\notepad.exe?C:\\memo.txt",
                                       "1=",
                                       "3=https://example.org/?q=1",
                                       "[EXECSUB_MAIN]",
                                       "0=0",
                                       "1=1",
                                       "2=1",
                                       "4=1",
                                       "[ExecTitle_Main-ソフト]",
                                       "Count=2",
                                       "0=表計算",
                                       "1=ゾ層",
                                       "[ExecCommand_Main-ソフト]",
                                       "0=/usr/bin/calc",
                                       "[ExecSub_Main-ソフト]",
                                       "1=1",
                                       "[ExecTitle_Main-ソフト-ゾ層]",
                                       "Count=2",
                                       "0=深い",
                                       "1=-",
                                       "[ExecCommand_Main-ソフト-ゾ層]",
                                       "0=deep?x",
                                       "[ExecSub_Main-ソフト-ゾ層]",
                                       "0=1",  // not consulted: no third level
                                       "[ExecTitle_Main--]",
                                       "Count=1",
                                       "0=never read",
                                       "[ExecCommand]",
                                       "0=stale",
                                       "99=stale",
                                   }));
    platform::ProfileFile settings(home.iniPath());
    const LauncherMenu menu = BuildLauncherMenu(settings);
    const std::vector<Flat> expected{
        {"Main", Kind::Item, "エディタ", "C:\\Windows\\notepad.exe?C:\\memo.txt", 8},
        {"Main", Kind::Separator, "-", "", 7},
        {"Main", Kind::Submenu, "ソフト", "", 2},
        {"Main-ソフト", Kind::Item, "表計算", "/usr/bin/calc", 6},
        {"Main-ソフト", Kind::Submenu, "ゾ層", "", 3},
        {"Main-ソフト-ゾ層", Kind::Item, "深い", "deep?x", 5},
        {"Main-ソフト-ゾ層", Kind::Separator, "-", "", 4},
        {"Main", Kind::Item, "Web", "https://example.org/?q=1", 1},
        {"Main", Kind::Submenu, "ゾーン", "", 0},
    };
    EXPECT_EQ(flat(menu), expected);

    // [ExecCommand] now holds exactly the items of this build.
    EXPECT_EQ(settings.listKeys("ExecCommand"), (std::vector<std::string>{"1", "5", "6", "8"}));
    for (const Flat& item : expected) {
        if (item.kind == Kind::Item) {
            EXPECT_EQ(launcherCommand(settings, item.number), item.command) << item.title;
        }
    }
    EXPECT_EQ(launcherCommand(settings, 99), "");
}

TEST(LauncherMenu, DamagedCountsNeverRunAway) {
    struct Case {
        const char* count;
        std::size_t items;
    } cases[] = {{"2000000000", 3}, {"-7", 0}, {"abc", 0}, {"2", 2}, {"0x3", 3}, {"", 0}};
    for (const Case& c : cases) {
        platform::MemorySettings settings;
        settings.writeText("ExecTitle_Main", "Count", c.count);
        settings.writeText("ExecTitle_Main", "0", "a");
        settings.writeText("ExecTitle_Main", "1", "b");
        settings.writeText("ExecCommand_Main", "2", "c-command");
        EXPECT_EQ(readLauncherMenu(settings).items.size(), c.items) << c.count;
    }
}

TEST(LauncherMenu, EmptySubmenuAndSeparatorFlags) {
    platform::MemorySettings settings;
    settings.writeText("ExecTitle_Main", "Count", "2");
    settings.writeText("ExecTitle_Main", "0", "Empty");
    settings.writeText("ExecSub_Main", "0", "1");
    settings.writeText("ExecTitle_Main", "1", "-");
    settings.writeText("ExecCommand_Main", "1", "/bin/never");
    const LauncherMenu menu = readLauncherMenu(settings);
    ASSERT_EQ(menu.items.size(), 2u);
    EXPECT_EQ(menu.items[0].kind, Kind::Submenu);
    EXPECT_TRUE(menu.items[0].children.empty());
    EXPECT_EQ(menu.items[1].kind, Kind::Separator);
    EXPECT_TRUE(menu.commands.empty());
}

TEST(LauncherLevels, SavingTheTopLevelWithASubmenu) {
    testing::TempHome home;
    platform::ProfileFile settings(home.iniPath());
    saveLauncherLevel(settings, "Main-Tools", {{"Calc", "/usr/bin/calc", false}});
    saveLauncherLevel(settings, "Main",
                      {{"Edit", "/usr/bin/gedit", false},
                       {"Tools", "", true},
                       {"Doc", "?/tmp/what?.txt", false}});
    EXPECT_EQ(settings.readText("ExecTitle_Main", "Count", ""), "3");
    EXPECT_EQ(settings.readText("ExecSub_Main", "1", ""), "1");
    EXPECT_EQ(settings.readText("ExecSub_Main", "0", ""), "0");
    EXPECT_EQ(settings.readText("ExecTitle_Main-Tools", "Count", ""), "1");
    EXPECT_EQ(settings.readText("ExecTitle", "Count", ""), "3");
    EXPECT_EQ(settings.readText("ExecTitle", "2", ""), "Doc");
    EXPECT_EQ(settings.readText("ExecCommand", "0", ""), "/usr/bin/gedit");
    EXPECT_EQ(readLauncherLevel(settings, "Main")[2].command, "?/tmp/what?.txt");

    // Saving fewer items leaves no stale keys behind.
    saveLauncherLevel(settings, "Main", {{"Only", "/bin/true", false}});
    EXPECT_EQ(settings.listKeys("ExecTitle_Main"), (std::vector<std::string>{"Count", "0"}));
    EXPECT_EQ(readLauncherLevel(settings, "Main"),
              (std::vector<LevelItem>{{"Only", "/bin/true", false}}));

    // The file is CP932 with CR LF, as Windows reads it.
    std::string bytes = home.readFile("hinagiku.ini");
    EXPECT_NE(bytes.find("[ExecTitle_Main]\r\n"), std::string::npos);
}

TEST(LauncherLevels, StoredTexts) {
    EXPECT_EQ(commandForPath("/opt/a?b/run"), "?/opt/a?b/run");
    EXPECT_EQ(commandForPath("/usr/bin/x"), "/usr/bin/x");
    struct Case {
        const char* text;
        bool refused;
    } cases[] = {{"メモ帳", false}, {"ｾﾊﾟﾚｰﾀ", false}, {"café", true},
                 {"한국", true},    {"😀", true},       {"a\nb", true}};
    for (const Case& c : cases)
        EXPECT_EQ(launcherTextProblem(c.text).has_value(), c.refused) << c.text;
    EXPECT_NE(launcherTextProblem("/tmp/é.sh")->find("/tmp/é.sh"), std::string::npos);
}

}  // namespace
}  // namespace hinagiku::tools
