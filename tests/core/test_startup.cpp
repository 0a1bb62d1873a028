#include <gtest/gtest.h>

#include "core/data_folders.h"
#include "core/home_folder.h"
#include "core/startup.h"
#include "platform/atomic_file.h"
#include "platform/profile_file.h"
#include "support/temp_home.h"

namespace hinagiku::core {
namespace {

using testing::TempHome;

TEST(Startup, FirstStartWithAnEmptySettingsFile) {
    TempHome home;
    home.writeFile("hinagiku.ini", "");
    platform::ProfileFile ini(settingsFilePath());
    ASSERT_EQ(ini.path(), home.iniPath());

    checkDataFolder(ini);
    EXPECT_TRUE(runFirstStart(ini, homeFolder()));
    EXPECT_TRUE(checkVersion(ini));

    EXPECT_EQ(ini.readInt("Horiday", "Set", 0), 1);
    EXPECT_EQ(ini.listKeys("Horiday").size(), 12u);  // Set and the eleven holidays
    EXPECT_EQ(ini.readText("CalendarEx", "Law", ""), "1");
    EXPECT_EQ(DataFolder(ini), (home.path() / "Schedule").string());
    EXPECT_TRUE(std::filesystem::is_directory(home.path() / "Schedule"));
    EXPECT_EQ(ini.readText("Tokeiya", "Ver", ""), "Version 2.70");

    // The second start changes nothing and opens no dialog.
    const std::string before = home.readFile("hinagiku.ini");
    checkDataFolder(ini);
    EXPECT_FALSE(runFirstStart(ini, homeFolder()));
    EXPECT_FALSE(checkVersion(ini));
    EXPECT_EQ(home.readFile("hinagiku.ini"), before);
}

// A settings file that names an existing data folder before the first start
// keeps it; the first start still writes the holiday table.
TEST(Startup, FirstStartKeepsADataFolderAlreadySet) {
    TempHome home;
    const auto data = home.path() / "mine";
    std::filesystem::create_directories(data);
    home.writeFile("hinagiku.ini", "[Calendar]\r\nDirectory=" + data.string() + "\r\n");
    platform::ProfileFile ini(settingsFilePath());
    checkDataFolder(ini);
    EXPECT_TRUE(runFirstStart(ini, homeFolder()));
    EXPECT_EQ(DataFolder(ini), data.string());
    EXPECT_FALSE(std::filesystem::exists(home.path() / "Schedule"));
    EXPECT_EQ(ini.readInt("Horiday", "Set", 0), 1);
}

TEST(Startup, SettingsFromAnOlderInstallationKeepTheTableRules) {
    TempHome home;
    const std::string windowsFile = "[Horiday]\r\nSet=1\r\n[CalendarEx]\r\nHappy_Monday=1\r\n";
    home.writeFile("hinagiku.ini", windowsFile);
    platform::ProfileFile ini(home.iniPath());
    EXPECT_FALSE(runFirstStart(ini, homeFolder()));
    EXPECT_EQ(ini.readText("CalendarEx", "Law", "absent"), "absent");
    EXPECT_EQ(home.readFile("hinagiku.ini"), windowsFile);
}

TEST(Startup, VanishedDataFolderBecomesUnset) {
    TempHome home;
    platform::ProfileFile ini(home.iniPath());
    ini.writeText("Calendar", "Directory", (home.path() / "gone").string());
    checkDataFolder(ini);
    EXPECT_EQ(DataFolder(ini), ".");
    // An unset folder stays as it is.
    checkDataFolder(ini);
    EXPECT_EQ(ini.readText("Calendar", "Directory", "x"), ".");
}

TEST(Startup, NewVersionOpensTheSettingsAgain) {
    TempHome home;
    platform::ProfileFile ini(home.iniPath());
    ini.writeText("Tokeiya", "Ver", "Version 2.60");
    EXPECT_TRUE(checkVersion(ini));
    EXPECT_EQ(ini.readText("Tokeiya", "Ver", ""), "Version 2.70");
}

TEST(Startup, TimerInterval) {
    TempHome home;
    platform::ProfileFile ini(home.iniPath());
    EXPECT_EQ(mainTimerInterval(ini), 1000);
    ini.writeInt("Form", "Interval", 5000);
    EXPECT_EQ(mainTimerInterval(ini), 5000);
    ini.writeInt("Form", "Interval", 0);
    EXPECT_EQ(mainTimerInterval(ini), 1000);
}

TEST(DataFolders, PrivateFolderFallsBackToTheDataFolder) {
    TempHome home;
    platform::ProfileFile ini(home.iniPath());
    EXPECT_EQ(DataFolder(ini), ".");
    EXPECT_EQ(PrivateFolder(ini), ".");
    ini.writeText("Calendar", "Directory", "/data");
    EXPECT_EQ(PrivateFolder(ini), "/data");
    ini.writeText("Privacy", "Directory", "/media/usb");
    EXPECT_EQ(PrivateFolder(ini), "/media/usb");
}

TEST(DataFolders, RequireDataFolderOpensTheSettingsDialogWhenUnset) {
    TempHome home;
    platform::ProfileFile ini(home.iniPath());
    int opened = 0;
    setFolderHooks({[&] { ++opened; }, {}});
    EXPECT_FALSE(RequireDataFolder(ini));
    EXPECT_EQ(opened, 1);
    ini.writeText("Calendar", "Directory", home.path().string());
    EXPECT_TRUE(RequireDataFolder(ini));
    EXPECT_EQ(opened, 1);
    setFolderHooks({});
}

TEST(DataFolders, EnsureSubfolderCreatesOrStops) {
    TempHome home;
    std::string shown;
    setFolderHooks({{}, [&](std::string_view m) { shown = m; }});
    EXPECT_TRUE(EnsureSubfolder(home.path().string(), "Memo"));
    EXPECT_TRUE(std::filesystem::is_directory(home.path() / "Memo"));
    EXPECT_TRUE(EnsureSubfolder(home.path().string(), "Memo"));  // already there
    EXPECT_TRUE(shown.empty());

    // A file in the way: the folder cannot come into being.
    home.writeFile("Todo", "not a folder");
    EXPECT_FALSE(EnsureSubfolder(home.path().string(), "Todo"));
    EXPECT_EQ(shown, "保存先ディレクトリが無いので\r処理を中断します。");

    // A base that does not exist: the system refuses and the error names the folder.
    try {
        EnsureSubfolder((home.path() / "none").string(), "Tel");
        FAIL() << "no error";
    } catch (const platform::IoError& e) {
        EXPECT_NE(std::string(e.what()).find("none/Tel"), std::string::npos);
    }
    setFolderHooks({});
}

TEST(HomeFolder, FollowsTheEnvironment) {
    TempHome home;
    EXPECT_EQ(homeFolder(), home.path());
    unsetenv("HINAGIKU_HOME");
    setenv("XDG_DATA_HOME", "/xdg/data", 1);
    // Tests do not run from a folder holding a hinagiku.ini.
    EXPECT_EQ(homeFolder(), std::filesystem::path("/xdg/data/hinagiku"));
    unsetenv("XDG_DATA_HOME");
    setenv("HOME", "/home/u", 1);
    EXPECT_EQ(homeFolder(), std::filesystem::path("/home/u/.local/share/hinagiku"));
    setenv("HINAGIKU_HOME", home.path().c_str(), 1);
}

}  // namespace
}  // namespace hinagiku::core
