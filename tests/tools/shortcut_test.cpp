#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/command_line.h"
#include "platform/cp932.h"
#include "platform/recording_program_launcher.h"
#include "support/process_run.h"
#include "support/temp_home.h"
#include "tools/launch_request.h"
#include "tools/shortcut_files.h"
#include "tools/shortcut_folder.h"

namespace hinagiku::tools {
namespace {

namespace fs = std::filesystem;
using testing::TempHome;

fs::path fixture(const std::string& name) {
    const char* source = std::getenv("HINAGIKU_SOURCE_DIR");
    return fs::path(source != nullptr ? source : ".") / "tests/tools/fixtures/lnk" / name;
}

TEST(ShortcutFolder, ExtensionsAsNamesSpellThem) {
    struct Case {
        const char* name;
        const char* extension;
    } cases[] = {{"report.TXT", ".TXT"}, {".bashrc", ""},    {"archive.tar.gz", ".gz"},
                 {"noext", ""},          {"dir.d/file", ""}, {"/a/b.c/.profile", ""},
                 {"trailing.", "."}};
    for (const Case& c : cases)
        EXPECT_EQ(fileExtension(c.name), c.extension) << c.name;
}

TEST(ShortcutFolder, ListsFilesWithDecodedNamesAndMatchesLiterally) {
    TempHome home;
    const fs::path folder = home.path() / "Shortcut";
    home.writeFile("Shortcut/Editor.desktop", "");
    home.writeFile("Shortcut/a*.sh", "");
    home.writeFile("Shortcut/abc.txt", "");
    home.writeFile("Shortcut/Abd.lnk", "");
    home.writeFile("Shortcut/" + platform::toCp932("メモ帳") + ".txt",
                   "");  // a Windows archive's name
    fs::create_directories(folder / "sub.folder");
    fs::create_symlink(folder / "nowhere", folder / "dangling.lnk");
    fs::create_symlink(folder / "abc.txt", folder / "alias.txt");

    ShortcutFolder shortcuts(folder);
    ASSERT_TRUE(shortcuts.refresh());
    std::vector<std::string> shown;
    for (const ShortcutName& name : shortcuts.names())
        shown.push_back(name.display);
    EXPECT_EQ(shown, (std::vector<std::string>{"Abd", "Editor", "a*", "abc", "alias", "メモ帳"}));

    struct Case {
        const char* typed;
        std::vector<std::string> completions;
        bool grey;
    } cases[] = {
        {"a", {"Abd", "a*", "abc", "alias"}, false},
        {"AB", {"Abd", "abc"}, false},
        {"a*", {"a*"}, true},  // a name, not a wildcard
        {"abd", {"Abd"}, true},
        {"../x", {}, false},
        {"メ", {"メモ帳"}, false},
        {"メモ帳", {"メモ帳"}, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(shortcuts.completions(c.typed), c.completions) << c.typed;
        EXPECT_EQ(shortcuts.firstCompletionEquals(c.typed), c.grey) << c.typed;
    }
    // Enter finds the file by its bytes on disk.
    EXPECT_EQ(shortcuts.find("メモ帳"), folder / (platform::toCp932("メモ帳") + ".txt"));
    EXPECT_EQ(shortcuts.find("EDITOR"), folder / "Editor.desktop");
    EXPECT_TRUE(shortcuts.find("a").empty());
    EXPECT_TRUE(shortcuts.find("dangling").empty());
}

TEST(ShortcutFolder, MissingFolderIsCreatedAndUnreadableOneReported) {
    TempHome home;
    ShortcutFolder created(home.path() / "Shortcut");
    EXPECT_TRUE(created.refresh());
    EXPECT_TRUE(fs::is_directory(home.path() / "Shortcut"));
    home.writeFile("blocker", "a file where the folder should be");
    ShortcutFolder blocked(home.path() / "blocker");
    std::string problem;
    EXPECT_FALSE(blocked.refresh(&problem));
    EXPECT_NE(problem.find("blocker"), std::string::npos);
    EXPECT_TRUE(blocked.names().empty());
}

TEST(ShortcutFiles, UrlShortcuts) {
    struct Case {
        std::string bytes;
        std::optional<std::string> url;
    } cases[] = {
        {"[InternetShortcut]\r\nURL=https://example.org/a?b=1\r\n", "https://example.org/a?b=1"},
        {"[{000214A0-0000-0000-C000-000000000046}]\r\nProp3=19,2\r\n[InternetShortcut]\r\n"
         "IDList=\r\nurl = http://x.test/ \r\n",
         "http://x.test/"},
        {"[Other]\r\nURL=http://wrong/\r\n", std::nullopt},
        {"URL=file:///tmp/" + platform::toCp932("資料") + "\n", "file:///tmp/資料"},
        {"[InternetShortcut]\r\nURL=\r\n", std::nullopt},
        {std::string("\0\x01\x02garbage", 10), std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(readUrlShortcut(c.bytes), c.url) << c.bytes;
}

// The fixtures are made by make_lnk_fixtures.py; lnkinfo (liblnk-utils)
// reads them as Windows would.
TEST(ShortcutFiles, LnkFixturesAreWhatLnkinfoReads) {
    if (!fs::exists("/usr/bin/lnkinfo"))
        GTEST_SKIP() << "lnkinfo is not installed";
    struct Case {
        const char* name;
        std::vector<std::string> expected;
    } cases[] = {
        {"unicode_relative.lnk",
         {"Relative path\t\t\t: .\\docs\\ターゲット.txt",
          "Command line arguments\t\t: -a \"b c\" é"}},
        {"ansi_relative.lnk", {"Local path\t\t\t: C:\\Users\\hana\\メモ帳.txt", "/view ソフト"}},
        {"local_only.lnk", {"Working directory\t\t: C:\\Program Files\\App"}},
    };
    for (const Case& c : cases) {
        const auto outcome = testing::runProcess(
            {"/usr/bin/lnkinfo", "-c", "windows-932", fixture(c.name).string()});
        EXPECT_EQ(outcome.status, 0) << c.name << outcome.err;
        for (const std::string& line : c.expected)
            EXPECT_NE(outcome.out.find(line), std::string::npos) << c.name << ": " << line;
    }
}

class LnkTargets : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"unicode_relative.lnk", "ansi_relative.lnk", "local_only.lnk",
                                 "missing.lnk", "garbage.lnk"})
            fs::copy_file(fixture(name), links() / name);
        // One folder in another letter case than the links spell it; the
        // ANSI link's target named in CP932 bytes, as a Windows archive leaves it.
        home_.writeFile("Shortcut/DOCS/ターゲット.txt", "x");
        home_.writeFile("Shortcut/DOCS/" + platform::toCp932("メモ帳") + ".txt", "x");
        home_.writeFile("wine/dosdevices/c:/Program Files/App/app.sh", "#!/bin/sh\n");
    }
    fs::path links() const {
        fs::create_directories(home_.path() / "Shortcut");
        return home_.path() / "Shortcut";
    }
    fs::path prefix() const { return home_.path() / "wine"; }
    TempHome home_;
};

TEST_F(LnkTargets, FollowRelativePathsThenTheWinePrefix) {
    const ShortcutTarget unicode = readLnkShortcut(links() / "unicode_relative.lnk", prefix());
    EXPECT_EQ(unicode.error, "");
    EXPECT_EQ(unicode.program, (links() / "DOCS/ターゲット.txt").string());
    EXPECT_EQ(platform::splitCommandLine(unicode.parameters),
              (std::vector<std::string>{"-a", "b c", "é"}));

    const ShortcutTarget local = readLnkShortcut(links() / "local_only.lnk", prefix());
    EXPECT_EQ(local.error, "");
    EXPECT_EQ(local.program, (prefix() / "dosdevices/c:/Program Files/App/app.sh").string());
    EXPECT_EQ(local.workingFolder, (prefix() / "dosdevices/c:/Program Files/App").string());

    const ShortcutTarget missing = readLnkShortcut(links() / "missing.lnk", prefix());
    EXPECT_NE(missing.error.find("C:\\nothere\\gone.txt"), std::string::npos) << missing.error;
    EXPECT_EQ(missing.program, "");

    const ShortcutTarget garbage = readLnkShortcut(links() / "garbage.lnk", prefix());
    EXPECT_NE(garbage.error.find("garbage.lnk"), std::string::npos);
}

TEST_F(LnkTargets, AnsiLinksDecodeAsCodePage932) {
    // The relative path is decoded to UTF-8; the file on disk has the CP932
    // name and its folder another letter case: it is found by its bytes.
    const ShortcutTarget ansi = readLnkShortcut(links() / "ansi_relative.lnk", prefix());
    EXPECT_EQ(ansi.error, "");
    EXPECT_EQ(ansi.program, (links() / ("DOCS/" + platform::toCp932("メモ帳") + ".txt")).string());
    EXPECT_EQ(ansi.parameters, "/view ソフト");
}

TEST(LaunchRequests, CommandBoxAndShortcutFiles) {
    TempHome home;
    const fs::path folder = home.path() / "Shortcut";
    home.writeFile("Shortcut/site.url", "[InternetShortcut]\r\nURL=https://example.org/?q=%7D\r\n");
    home.writeFile("Shortcut/empty.url", "[InternetShortcut]\r\n");
    home.writeFile("Shortcut/run.sh", "#!/bin/sh\n");
    home.writeFile("Shortcut/memo.txt", "text");
    ShortcutFolder shortcuts(folder);
    ASSERT_TRUE(shortcuts.refresh());
    const std::string base = folder.string();

    struct Case {
        const char* typed;
        std::string program, parameters, workingFolder;
        bool error;
    } cases[] = {
        {"site", "https://example.org/?q=%7D", "", "", false},
        {"SITE", "https://example.org/?q=%7D", "", "", false},
        {"empty", "", "", "", true},
        {"run", base + "/run.sh", "", base + "/", false},
        {"memo", base + "/memo.txt", "", base + "/", false},
        {".", base, "", base.substr(0, base.rfind('/') + 1), false},
        {"run.sh?-v \"a b\"", base + "/run.sh", "-v \"a b\"", base + "/", false},
        {"firefox?https://e.org/?q=1", "firefox", "https://e.org/?q=1", "", false},
        {"https://e.org/?q=1", "https://e.org/?q=1", "", "", false},
    };
    for (const Case& c : cases) {
        const LaunchRequest request = commandBoxRequest(shortcuts, c.typed);
        EXPECT_EQ(!request.error.empty(), c.error) << c.typed << request.error;
        if (c.error)
            continue;
        EXPECT_EQ(request.program, c.program) << c.typed;
        EXPECT_EQ(request.parameters, c.parameters) << c.typed;
        EXPECT_EQ(request.workingFolder, c.workingFolder) << c.typed;
    }

    platform::RecordingProgramLauncher launcher;
    EXPECT_FALSE(startRequest(commandBoxRequest(shortcuts, "empty"), launcher).started);
    EXPECT_TRUE(launcher.calls().empty());
}

TEST(LaunchRequests, DroppedPathsSurviveAsOneArgument) {
    // Whatever the name holds, the quoting and the Windows-style split give
    // it back exactly.
    std::mt19937 random(7);
    const std::string alphabet = "ab \t\"\\$()`;|&*?'\x7f\xe3\x81\x82";
    for (int i = 0; i < 3000; ++i) {
        std::string name;
        const int length = static_cast<int>(random() % 12);
        for (int k = 0; k < length; ++k)
            name.push_back(alphabet[random() % alphabet.size()]);
        LaunchRequest request;
        request.program = "/bin/true";
        request.parameters = "-x \"y z\"";
        request.extraArguments = {name};
        platform::RecordingProgramLauncher launcher;
        startRequest(request, launcher);
        ASSERT_EQ(launcher.calls().size(), 1u);
        const auto arguments = platform::splitCommandLine(launcher.calls()[0].parameters);
        ASSERT_EQ(arguments, (std::vector<std::string>{"-x", "y z", name})) << name;
    }
}

TEST(LaunchRequests, PlanLinesEscapeTheirFields) {
    platform::LaunchPlan plan;
    plan.kind = platform::LaunchPlan::Kind::Run;
    plan.program = "/opt/a\tb";
    plan.workingFolder = "/opt/";
    plan.arguments = {"x\\y", "line\nfeed", "cr\r"};
    EXPECT_EQ(planLine(plan), "run\t/opt/a\\tb\t/opt/\tx\\\\y\tline\\nfeed\tcr\\r");
    plan.kind = platform::LaunchPlan::Kind::Desktop;
    plan.arguments.clear();
    EXPECT_EQ(planLine(plan), "desktop\t/opt/a\\tb\t/opt/");
}

}  // namespace
}  // namespace hinagiku::tools
