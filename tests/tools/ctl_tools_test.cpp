// hinagikuctl's tool commands, run as a process on a fixture home folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/cp932.h"
#include "support/process_run.h"
#include "support/temp_home.h"

namespace hinagiku::tools {
namespace {

namespace fs = std::filesystem;

testing::ProcessOutcome ctl(std::vector<std::string> args) {
    args.insert(args.begin(), testing::builtProgram("hinagikuctl"));
    return testing::runProcess(args);
}

TEST(CtlTools, DayCalcPrintsTheLinesExactly) {
    testing::TempHome home;
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string out;
        bool message;
    } cases[] = {
        {{"daycalc", "period", "2024-05-01T00:00:00", "2024-05-01T00:01:00"},
         0,
         "2024/05/01 (水) 00:00:00 から\n2024/05/01 (水) 00:01:00 迄の時間\n" +
             std::string(34, '=') + "\n1分 \n60秒\n",
         false},
        // 31 February steps down to 29 February in a leap year.
        {{"daycalc", "count", "2024-02-31T12:00:00", "after", "1", "0", "0", "0"},
         0,
         "2024/02/29 (木) 12:00:00 から\n1日 0時間 0分 0秒後の日時\n" + std::string(34, '=') +
             "\n2024/03/01 (金) 12:00:00\n",
         false},
        {{"daycalc", "count", "0001-01-01T00:00:00", "before", "0", "0", "0", "1"},
         3,
         "0001/01/01 (月) 00:00:00 から\n0日 0時間 0分 1秒前の日時\n" + std::string(34, '=') + "\n",
         true},
        {{"daycalc", "period", "2024-13-01T00:00:00", "2024-01-01T00:00:00"}, 2, "", true},
        {{"daycalc", "count", "2024-01-01T00:00:00", "after", "10000000", "0", "0", "0"},
         2,
         "",
         true},
        {{"daycalc", "period", "2024-01-01"}, 2, "", true},
        {{"daycalc", "count", "2024-01-01T24:00:00", "after", "1", "0", "0", "0"}, 2, "", true},
    };
    for (const Case& c : cases) {
        const auto outcome = ctl(c.args);
        EXPECT_EQ(outcome.status, c.status) << c.args[1] << " " << c.args[2] << outcome.err;
        EXPECT_EQ(outcome.out, c.out) << c.args[2];
        EXPECT_EQ(!outcome.err.empty(), c.message) << c.args[2];
    }
    const auto failed = ctl(cases[2].args);
    EXPECT_EQ(failed.err, "計算できませんでした。\n他の値で計算してください。\n");
}

TEST(CtlTools, WebSearchLinesAndUsage) {
    testing::TempHome home;
    const auto outcome = ctl({"websearch", "本 a"});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < outcome.out.size()) {
        const auto end = outcome.out.find('\n', start);
        lines.push_back(outcome.out.substr(start, end - start));
        start = end + 1;
    }
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0].substr(0, lines[0].find('\t')), "Google 日本語");
    EXPECT_TRUE(lines[5].ends_with("&q=%83%84%83}%83g+%96%7B%20%61")) << lines[5];
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"websearch"}, {"websearch", "--open", "9", "x"}, {"websearch", "--open", "0", "x"}}) {
        const auto bad = ctl(args);
        EXPECT_EQ(bad.status, 2);
        EXPECT_EQ(bad.out, "");
    }
}

TEST(CtlTools, LauncherMenuAndLaunch) {
    testing::TempHome home;
    home.writeFile(
        "hinagiku.ini",
        platform::toCp932("[ExecTitle_Main]\r\nCount=3\r\n0=エディタ\r\n1=-\r\n2=道具\r\n"
                          "[ExecCommand_Main]\r\n0=/usr/bin/ed?a\tb\r\n"
                          "[ExecSub_Main]\r\n2=1\r\n"
                          "[ExecTitle_Main-道具]\r\nCount=1\r\n0=計算\r\n"
                          "[ExecCommand_Main-道具]\r\n0=C:\\calc.exe\r\n"));
    const std::string before = home.readFile("hinagiku.ini");
    const auto menu = ctl({"launcher", "menu"});
    EXPECT_EQ(menu.status, 0) << menu.err;
    EXPECT_EQ(menu.out,
              "Main\titem\tエディタ\t/usr/bin/ed?a\\tb\n"
              "Main\tseparator\t-\t\n"
              "Main\tsubmenu\t道具\t\n"
              "Main-道具\titem\t計算\tC:\\\\calc.exe\n");
    EXPECT_EQ(home.readFile("hinagiku.ini"), before);  // writes nothing

    home.writeFile("Shortcut/tool.sh", "#!/bin/sh\n");
    fs::permissions(home.path() / "Shortcut/tool.sh", fs::perms::owner_all);
    home.writeFile("Shortcut/page.url", "[InternetShortcut]\r\nURL=https://example.org/\r\n");
    const std::string folder = (home.path() / "Shortcut").string();
    const auto tool = ctl({"launch", "--dry-run", "TOOL"});
    EXPECT_EQ(tool.status, 0) << tool.err;
    EXPECT_EQ(tool.out, "run\t" + folder + "/tool.sh\t" + folder + "/\n");
    const auto args = ctl({"launch", "--dry-run", "tool.sh?-x \"a b\" $(id)"});
    EXPECT_EQ(args.out, "run\t" + folder + "/tool.sh\t" + folder + "/\t-x\ta b\t$(id)\n");
    // Documents and URLs go to the desktop's opener on PATH: ours here.
    home.writeFile("bin/xdg-open", "#!/bin/sh\n");
    fs::permissions(home.path() / "bin/xdg-open", fs::perms::owner_all);
    const std::string path = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
    ::setenv("PATH", ((home.path() / "bin").string() + ":" + path).c_str(), 1);
    const auto page = ctl({"launch", "--dry-run", "page"});
    ::setenv("PATH", path.c_str(), 1);
    EXPECT_EQ(page.status, 0) << page.err;
    EXPECT_EQ(page.out,
              "open\t" + (home.path() / "bin/xdg-open").string() + "\t\thttps://example.org/\n");
    const auto missing = ctl({"launch", "--dry-run", "no-such-program-here"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err.find("no-such-program-here"), std::string::npos);
    EXPECT_EQ(ctl({"launch"}).status, 2);
}

TEST(CtlTools, DropDryRun) {
    testing::TempHome home;
    home.writeFile("bin/viewer", "#!/bin/sh\n");
    fs::permissions(home.path() / "bin/viewer", fs::perms::owner_all);
    const std::string viewer = (home.path() / "bin/viewer").string();
    home.writeFile("hinagiku.ini",
                   "[Ext_Exec]\r\n.txt=" + viewer + "?--view\r\n.bad=/nowhere/x\r\n");
    const auto outcome = ctl(
        {"drop", "--dry-run", "/d/REPORT.TXT", "/d/skip.none", "/d/it's \"$(x)\".txt", "/d/b.bad"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out, "run\t" + viewer + "\t" + (home.path() / "bin").string() +
                               "/\t--view\t/d/REPORT.TXT\n" + "run\t" + viewer + "\t" +
                               (home.path() / "bin").string() +
                               "/\t--view\t/d/it's \"$(x)\".txt\n");
    EXPECT_NE(outcome.err.find("/nowhere/x"), std::string::npos);
}

}  // namespace
}  // namespace hinagiku::tools
