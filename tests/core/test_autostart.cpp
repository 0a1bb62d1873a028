#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "core/autostart.h"
#include "platform/atomic_file.h"
#include "support/temp_home.h"

namespace hinagiku::core {
namespace {

namespace fs = std::filesystem;

struct QuoteCase {
    const char* argument;
    const char* exec;
};

class QuoteExec : public ::testing::TestWithParam<QuoteCase> {};

TEST_P(QuoteExec, FollowsTheDesktopEntryRules) {
    EXPECT_EQ(Autostart::quoteExecArgument(GetParam().argument), GetParam().exec);
}

INSTANTIATE_TEST_SUITE_P(Cases, QuoteExec,
                         ::testing::Values(QuoteCase{"/usr/bin/hinagiku", "/usr/bin/hinagiku"},
                                           QuoteCase{"/opt/My Apps/hinagiku",
                                                     "\"/opt/My Apps/hinagiku\""},
                                           QuoteCase{"/opt/100%/hinagiku", "/opt/100%%/hinagiku"},
                                           QuoteCase{"/opt/a$b/h", "\"/opt/a\\\\$b/h\""},
                                           QuoteCase{"/opt/a\"b/h", "\"/opt/a\\\\\"b/h\""},
                                           QuoteCase{"/opt/a\\b/h", "\"/opt/a\\\\\\\\b/h\""},
                                           QuoteCase{"/opt/ひなぎく/h", "/opt/ひなぎく/h"}));

class AutostartTest : public ::testing::Test {
  protected:
    testing::TempHome home;
    Autostart autostart{home.path() / "config"};
    const fs::path program = "/opt/My Apps/bin/hinagiku";
};

TEST_F(AutostartTest, OnWritesTheEntryAndOffRemovesIt) {
    EXPECT_EQ(autostart.state(), AutostartState::Off);
    EXPECT_TRUE(autostart.set(false, program).ok);  // nothing to remove

    ASSERT_TRUE(autostart.set(true, program).ok);
    EXPECT_EQ(autostart.entryPath(),
              home.path() / "config" / "autostart" / "org.hinagiku.Hinagiku.desktop");
    EXPECT_EQ(autostart.state(), AutostartState::On);
    std::string text;
    ASSERT_TRUE(platform::readWholeFile(autostart.entryPath(), text));
    EXPECT_NE(text.find("\nExec=\"/opt/My Apps/bin/hinagiku\"\n"), std::string::npos);
    if (std::system("command -v desktop-file-validate >/dev/null 2>&1") == 0) {
        const std::string command =
            "desktop-file-validate '" + autostart.entryPath().string() + "' >/dev/null";
        EXPECT_EQ(std::system(command.c_str()), 0) << text;
    }

    ASSERT_TRUE(autostart.set(false, program).ok);
    EXPECT_FALSE(fs::exists(autostart.entryPath()));
    EXPECT_EQ(autostart.state(), AutostartState::Off);
}

// The desktop's own switch reads as off; turning it on again replaces it.
TEST_F(AutostartTest, AnEntryTheDesktopDisabledReadsAsOff) {
    ASSERT_TRUE(autostart.set(true, program).ok);
    std::string text;
    platform::readWholeFile(autostart.entryPath(), text);
    platform::writeFileAtomically(autostart.entryPath(), text + "Hidden=true\n");
    EXPECT_EQ(autostart.state(), AutostartState::Disabled);
    ASSERT_TRUE(autostart.set(true, program).ok);
    EXPECT_EQ(autostart.state(), AutostartState::On);
}

// A stray entry of the same name, or one that cannot be read, is reported and
// never overwritten or removed.
TEST_F(AutostartTest, ForeignAndUnreadableEntriesAreLeftAlone) {
    fs::create_directories(autostart.entryPath().parent_path());
    const std::string stray = "[Desktop Entry]\nType=Application\nName=Mine\nExec=mine\n";
    platform::writeFileAtomically(autostart.entryPath(), stray);
    EXPECT_EQ(autostart.state(), AutostartState::Foreign);
    for (const bool on : {true, false}) {
        const AutostartResult result = autostart.set(on, program);
        EXPECT_FALSE(result.ok);
        EXPECT_NE(result.message.find("org.hinagiku.Hinagiku.desktop"), std::string::npos);
    }
    std::string text;
    platform::readWholeFile(autostart.entryPath(), text);
    EXPECT_EQ(text, stray);

    fs::remove(autostart.entryPath());
    fs::create_directory(autostart.entryPath());
    EXPECT_EQ(autostart.state(), AutostartState::Unreadable);
    EXPECT_FALSE(autostart.set(true, program).ok);
    EXPECT_TRUE(fs::is_directory(autostart.entryPath()));
}

}  // namespace
}  // namespace hinagiku::core
