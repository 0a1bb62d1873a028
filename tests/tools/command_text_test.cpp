#include "core/command_text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/recording_program_launcher.h"
#include "support/temp_home.h"

namespace hinagiku::core {
namespace {

TEST(CommandText, SplitsAsWindowsSettingsHoldThem) {
    struct Case {
        const char* text;
        CommandText expected;
    } cases[] = {
        {"notepad.exe?C:\\memo.txt", {"notepad.exe", "C:\\memo.txt", ""}},
        {"?C:\\memo.txt", {"C:\\memo.txt", "", "C:\\"}},
        {"C:\\Tools\\viewer.exe?/view", {"C:\\Tools\\viewer.exe", "/view", "C:\\Tools\\"}},
        {"D:viewer.exe", {"D:viewer.exe", "", "D:"}},
        {"/usr/bin/app?a?b", {"/usr/bin/app", "a?b", "/usr/bin/"}},
        {"/opt/アプリ/app?\"x y\"", {"/opt/アプリ/app", "\"x y\"", "/opt/アプリ/"}},
        {"https://example.org/find?q=1&r=2", {"https://example.org/find?q=1&r=2", "", ""}},
        {"?https://example.org/?q=1", {"https://example.org/?q=1", "", ""}},
        {"firefox?https://example.org/?q=1", {"firefox", "https://example.org/?q=1", ""}},
        {"/bin/echo?$(rm -rf ~) `x` ; | > *", {"/bin/echo", "$(rm -rf ~) `x` ; | > *", "/bin/"}},
        {"", {"", "", ""}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(splitCommandText(c.text), c.expected) << c.text;
}

TEST(CommandText, RelativeProgramsResolveAgainstTheBaseFolder) {
    testing::TempHome home;
    home.writeFile("Shortcut/tool.sh", "#!/bin/sh\n");
    const std::string base = (home.path() / "Shortcut").string();
    EXPECT_EQ(splitCommandText(".", base).program, base);
    EXPECT_EQ(splitCommandText("tool.sh?-x", base),
              (CommandText{base + "/tool.sh", "-x", base + "/"}));
    // Not in the folder: left for the launcher (PATH).
    EXPECT_EQ(splitCommandText("gedit", base).program, "gedit");
}

TEST(CommandText, RunReachesTheLauncherUnchanged) {
    platform::RecordingProgramLauncher launcher;
    EXPECT_TRUE(RunCommandText("/bin/rec?a \"b c\" $(x)", launcher).started);
    ASSERT_EQ(launcher.calls().size(), 1u);
    EXPECT_EQ(launcher.calls()[0].program, "/bin/rec");
    EXPECT_EQ(launcher.calls()[0].parameters, "a \"b c\" $(x)");
    EXPECT_EQ(launcher.calls()[0].workingFolder, "/bin/");
    launcher.clear();
    EXPECT_FALSE(RunCommandText("", launcher).started);
    EXPECT_TRUE(launcher.calls().empty());
    launcher.setResult({false, "no"});
    EXPECT_EQ(RunCommandText("x", launcher).message, "no");
}

TEST(CommandText, LongParametersAreCutAtWholeCharacters) {
    std::string parameters = "a";
    for (int i = 0; i < 600; ++i)
        parameters += "あ";
    EXPECT_EQ(splitCommandText("/bin/app?" + parameters).parameters,
              parameters.substr(0, 1 + 511 * 3));
}

}  // namespace
}  // namespace hinagiku::core
