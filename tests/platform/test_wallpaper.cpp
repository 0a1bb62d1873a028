#include "platform/wallpaper.h"

#include <QImage>
#include <QString>
#include <QUrl>

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "platform/recording_command_runner.h"
#include "support/temp_home.h"

namespace hinagiku::platform {
namespace {

namespace fs = std::filesystem;
using Commands = std::vector<WallpaperCommand>;

const std::string kPath = "/home/u/Hinagiku/Kiv_Wallpaper.BMP";
const std::string kUri = "'file:///home/u/Hinagiku/Kiv_Wallpaper.BMP'";

TEST(PlanWallpaper, ChoosesTheCommandsOfTheRunningDesktop) {
    const std::set<std::string> everything{"gsettings",    "plasma-apply-wallpaperimage",
                                           "qdbus",        "dbus-send",
                                           "xfconf-query", "pcmanfm-qt",
                                           "pcmanfm",      "feh",
                                           "xwallpaper",   "hsetroot",
                                           "xsetbg"};
    struct Case {
        const char* desktop;
        bool x11;
        std::set<std::string> available;
        Commands expected;
        bool xfce = false;
    };
    const Commands gnome{
        {"gsettings", {"set", "org.gnome.desktop.background", "picture-uri", kUri}},
        {"gsettings", {"set", "org.gnome.desktop.background", "picture-uri-dark", kUri}}};
    const Case cases[] = {
        {"GNOME", false, everything, gnome},
        {"ubuntu:GNOME", true, everything, gnome},
        {"Budgie:GNOME", true, everything, gnome},
        {"Unity", true, everything, gnome},
        {"X-Cinnamon",
         true,
         everything,
         {{"gsettings", {"set", "org.cinnamon.desktop.background", "picture-uri", kUri}}}},
        {"MATE",
         true,
         everything,
         {{"gsettings", {"set", "org.mate.background", "picture-filename", "'" + kPath + "'"}}}},
        {"KDE", true, everything, {{"plasma-apply-wallpaperimage", {kPath}}}},
        {"XFCE", true, everything, {}, true},
        {"LXQt", true, everything, {{"pcmanfm-qt", {"--set-wallpaper=" + kPath}}}},
        {"LXDE", true, everything, {{"pcmanfm", {"--set-wallpaper=" + kPath}}}},
        // A plain X11 session: the first root window setter there is.
        {"", true, everything, {{"feh", {"--bg-scale", kPath}}}},
        {"i3", true, {"hsetroot", "xsetbg"}, {{"hsetroot", {"-fill", kPath}}}},
        {"", true, {"xsetbg"}, {{"xsetbg", {kPath}}}},
        {"GNOME", true, {"xwallpaper"}, {{"xwallpaper", {"--stretch", kPath}}}},
        // Nothing applies: nothing is run.
        {"", true, {}, {}},
        {"sway", false, everything, {}},
        {"GNOME", false, {"feh"}, {}},
    };
    for (const auto& c : cases) {
        const WallpaperPlan plan = planWallpaper(
            {c.desktop, c.x11}, kPath, [&](const std::string& p) { return c.available.count(p); });
        EXPECT_EQ(plan.commands, c.expected) << c.desktop;
        EXPECT_EQ(plan.listXfceProperties, c.xfce) << c.desktop;
    }
}

TEST(PlanWallpaper, PlasmaScriptingCarriesTheFileAsAScriptString) {
    const WallpaperPlan plan = planWallpaper({"KDE", true}, "/tmp/a \"b\".BMP",
                                             [](const std::string& p) { return p == "dbus-send"; });
    ASSERT_EQ(plan.commands.size(), 1u);
    const auto& args = plan.commands[0].arguments;
    ASSERT_EQ(args.size(), 6u);
    EXPECT_EQ(args[1], "--dest=org.kde.plasmashell");
    EXPECT_EQ(args[4], "org.kde.PlasmaShell.evaluateScript");
    EXPECT_TRUE(args[5].starts_with("string:var all = desktops();"));
    EXPECT_NE(args[5].find("d.writeConfig(\"Image\", \"file:///tmp/a%20%22b%22.BMP\")"),
              std::string::npos)
        << args[5];
}

TEST(PlanWallpaper, GsettingsValuesAreQuotedVariantStrings) {
    const WallpaperPlan plan =
        planWallpaper({"MATE", true}, "/tmp/it's\\.BMP", [](const std::string&) { return true; });
    ASSERT_EQ(plan.commands.size(), 1u);
    EXPECT_EQ(plan.commands[0].arguments[3], "'/tmp/it\\'s\\\\.BMP'");
}

TEST(XfceWallpaperCommands, SetsEveryLastImageOrCreatesTheFirst) {
    const std::string listing =
        "/backdrop/screen0/monitorHDMI-1/workspace0/color-style\n"
        "/backdrop/screen0/monitorHDMI-1/workspace0/last-image\n"
        "/backdrop/screen0/monitorHDMI-1/workspace1/last-image\n"
        "/desktop-icons/style\n";
    const Commands expected{
        {"xfconf-query",
         {"-c", "xfce4-desktop", "-p", "/backdrop/screen0/monitorHDMI-1/workspace0/last-image",
          "-s", kPath}},
        {"xfconf-query",
         {"-c", "xfce4-desktop", "-p", "/backdrop/screen0/monitorHDMI-1/workspace1/last-image",
          "-s", kPath}}};
    EXPECT_EQ(xfceWallpaperCommands(listing, kPath), expected);

    const Commands created{
        {"xfconf-query",
         {"-c", "xfce4-desktop", "-p", "/backdrop/screen0/monitor0/workspace0/last-image",
          "--create", "-t", "string", "-s", kPath}}};
    EXPECT_EQ(xfceWallpaperCommands("", kPath), created);
}

QImage testPicture() {
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(qRgb(10, 200, 30));
    image.setPixel(0, 0, qRgb(255, 0, 0));
    return image;
}

TEST(SetWallpaper, SavesABitmapAndAppliesItOnTheDesktop) {
    testing::TempHome home;
    const std::string bmp = (home.path() / "Kiv_Wallpaper.BMP").string();
    home.writeFile("Kiv_Wallpaper.BMP", "old picture");
    RecordingCommandRunner runner({"gsettings"});
    const WallpaperResult result = SetWallpaper(testPicture(), bmp, runner, {"GNOME", true});
    EXPECT_EQ(result.status, WallpaperResult::Status::Applied) << result.message;

    const std::string bytes = home.readFile("Kiv_Wallpaper.BMP");
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    QImage back;
    ASSERT_TRUE(back.load(QString::fromStdString(bmp), "BMP"));
    EXPECT_EQ(back.size(), QSize(40, 30));
    EXPECT_EQ(back.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(back.pixel(39, 29), qRgb(10, 200, 30));

    ASSERT_EQ(runner.calls().size(), 2u);
    EXPECT_EQ(
        runner.calls()[0].arguments.back(),
        "'" + QUrl::fromLocalFile(QString::fromStdString(bmp)).toString().toStdString() + "'");
}

TEST(SetWallpaper, XfceIsAskedForItsPropertiesFirst) {
    testing::TempHome home;
    const std::string bmp = (home.path() / "w.BMP").string();
    RecordingCommandRunner runner({"xfconf-query"});
    runner.setOutcome("xfconf-query",
                      {true, 0, "/backdrop/screen0/monitor1/workspace0/last-image\n"});
    const WallpaperResult result = SetWallpaper(testPicture(), bmp, runner, {"XFCE", true});
    EXPECT_EQ(result.status, WallpaperResult::Status::Applied);
    ASSERT_EQ(runner.calls().size(), 2u);
    EXPECT_EQ(runner.calls()[0].arguments, (std::vector<std::string>{"-c", "xfce4-desktop", "-l"}));
    EXPECT_EQ(runner.calls()[1].arguments.back(), bmp);
}

TEST(SetWallpaper, WithoutAWayToApplyItTheFileIsStillSavedSilently) {
    testing::TempHome home;
    const std::string bmp = (home.path() / "w.BMP").string();
    RecordingCommandRunner runner;
    const WallpaperResult result = SetWallpaper(testPicture(), bmp, runner, {"sway", false});
    EXPECT_EQ(result.status, WallpaperResult::Status::SavedOnly);
    EXPECT_TRUE(runner.calls().empty());
    EXPECT_TRUE(fs::exists(bmp));
}

TEST(SetWallpaper, AFailingToolLeavesItSavedOnly) {
    testing::TempHome home;
    const std::string bmp = (home.path() / "w.BMP").string();
    RecordingCommandRunner runner({"feh"});
    runner.setOutcome("feh", {true, 2, {}});
    EXPECT_EQ(SetWallpaper(testPicture(), bmp, runner, {"", true}).status,
              WallpaperResult::Status::SavedOnly);
}

TEST(SetWallpaper, ReportsAPictureThatCannotBeWritten) {
    testing::TempHome home;
    RecordingCommandRunner runner({"feh"});
    const std::string bmp = (home.path() / "no such folder" / "w.BMP").string();
    const WallpaperResult result = SetWallpaper(testPicture(), bmp, runner, {"", true});
    EXPECT_EQ(result.status, WallpaperResult::Status::NotSaved);
    EXPECT_NE(result.message.find("w.BMP"), std::string::npos) << result.message;
    EXPECT_TRUE(runner.calls().empty());

    EXPECT_EQ(SetWallpaper(QImage(), (home.path() / "w.BMP").string(), runner, {"", true}).status,
              WallpaperResult::Status::NotSaved);
}

}  // namespace
}  // namespace hinagiku::platform
