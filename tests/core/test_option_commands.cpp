// hinagikuctl option and privacy commands as a script runs them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/process_run.h"
#include "support/temp_home.h"

namespace {

using hinagiku::testing::ProcessOutcome;
using hinagiku::testing::TempHome;

ProcessOutcome ctl(const std::vector<std::string>& words) {
    std::vector<std::string> argv{hinagiku::testing::builtProgram("hinagikuctl")};
    argv.insert(argv.end(), words.begin(), words.end());
    return hinagiku::testing::runProcess(argv);
}

// Passwords go through standard input, never through the arguments.
ProcessOutcome ctlWithInput(const std::string& input, const std::string& words) {
    return hinagiku::testing::runProcess({"/bin/sh", "-c", "printf '%s' \"$1\" | \"$2\" " + words,
                                          "sh", input,
                                          hinagiku::testing::builtProgram("hinagikuctl")});
}

TEST(OptionCommands, ListShowsWhatTheDialogLoads) {
    TempHome home;
    home.writeFile("hinagiku.ini",
                   "[Calendar]\r\nbefore=75\r\n[Setup]\r\nCal_DBLC=9\r\n[TelePhone]\r\n"
                   "CloseTitle=\r\n[Form]\r\nToday_pop=1\r\n");
    const ProcessOutcome out = ctl({"option", "list"});
    ASSERT_EQ(out.status, 0) << out.err;
    EXPECT_EQ(out.out.rfind("Setup\tCal_DBLC\t0\n", 0), 0u);
    for (const char* line :
         {"Calendar\tbefore\t59\n", "TelePhone\tCloseTitle\tダイヤラ\n", "Form\tToday_pop\t0\n",
          "CalendarEx\tPopView\t1\n", "To_do\tFutureBackColor\t-2147483644\n"}) {
        EXPECT_NE(out.out.find(line), std::string::npos) << line;
    }
    // Listing writes nothing.
    EXPECT_EQ(home.readFile("hinagiku.ini").find("59"), std::string::npos);
}

TEST(OptionCommands, SetAndItsStatuses) {
    TempHome home;
    const struct {
        std::vector<std::string> words;
        int status;
        const char* out;
    } cases[] = {
        {{"option", "set", "calendar", "BEFORE", "75"}, 0, "Calendar\tbefore\t59\n"},
        {{"option", "set", "Setup", "Reboot", "1"}, 0, "Setup\tReboot\t1\nSetup\tReboot_exec\t0\n"},
        {{"option", "set", "Setup", "Reboot_exec", "1"}, 3, ""},
        {{"option", "set", "Form", "Hotkey", "2"}, 3, ""},
        {{"option", "set", "Password", "Use", "1"}, 3, ""},
        {{"option", "set", "Form", "Nothing", "1"}, 2, ""},
        {{"option", "set", "Calendar", "Directory", "/no/such"}, 3, ""},
    };
    for (const auto& c : cases) {
        const ProcessOutcome out = ctl(c.words);
        EXPECT_EQ(out.status, c.status) << c.words[3] << ": " << out.err;
        EXPECT_EQ(out.out, c.out) << c.words[3];
    }
}

TEST(PrivacyCommands, SetVerifyOpen) {
    TempHome home;
    const std::string data = (home.path() / "data").string();
    home.writeFile("data/keep", "");
    home.writeFile("hinagiku.ini", "[Calendar]\r\nDirectory=" + data + "\r\n");

    ProcessOutcome out = ctlWithInput("\nsecret\nsecret\n", "privacy set --tel 1");
    ASSERT_EQ(out.status, 0) << out.err;
    EXPECT_EQ(out.out, "changed\n");
    EXPECT_EQ(out.err.find("secret"), std::string::npos);

    out = ctlWithInput("wrong\nnew\nnew\n", "privacy set");
    EXPECT_EQ(out.status, 3);
    EXPECT_EQ(out.out, "wrong-current\n");
    out = ctlWithInput("secret\n\"q\"\n\"q\"\n", "privacy set");
    EXPECT_EQ(out.status, 3);
    EXPECT_EQ(out.out, "invalid\n");

    EXPECT_EQ(ctlWithInput("secret\n", "privacy verify").out, "match\n");
    out = ctlWithInput("Secret\n", "privacy verify");
    EXPECT_EQ(out.status, 3);
    EXPECT_EQ(out.out, "mismatch\n");

    // Lock off: no line is read, the access is still recorded.
    out = ctlWithInput("", "privacy open diary");
    EXPECT_EQ(out.status, 0);
    EXPECT_EQ(out.out.rfind("open\t", 0), 0u);
    ASSERT_EQ(ctl({"ini", "set", "Password", "Use", "1"}).status, 0);
    out = ctlWithInput("nope\n", "privacy open telephone");
    EXPECT_EQ(out.status, 3);
    EXPECT_EQ(out.out, "refused\n");
    out = ctlWithInput("secret\n", "privacy open telephone");
    EXPECT_EQ(out.status, 0);

    out = ctl({"privacy", "status"});
    EXPECT_EQ(out.out.rfind("use\t1\npassword\tset\ntel\t1\ndiary\t", 0), 0u) << out.out;
    EXPECT_NE(out.out.find("period\tアクセスありません。\n"), std::string::npos);
    EXPECT_EQ(out.out.find("secret"), std::string::npos);
}

TEST(PrivacyCommands, PasswordFolderThatCannotBeMade) {
    TempHome home;
    home.writeFile("plain", "x");
    home.writeFile("hinagiku.ini",
                   "[Calendar]\r\nDirectory=" + (home.path() / "plain").string() + "\r\n");
    const ProcessOutcome out = ctlWithInput("\na\na\n", "privacy set");
    EXPECT_EQ(out.status, 1);
    EXPECT_NE(out.err.find("保存先ディレクトリが無いので"), std::string::npos);
}

}  // namespace
