#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "core/home_folder.h"
#include "core/privacy_lock.h"
#include "platform/memory_settings.h"
#include "platform/profile_file.h"
#include "support/temp_home.h"

namespace hinagiku::core {
namespace {

using platform::MemorySettings;
using testing::TempHome;

struct MatchCase {
    const char* line;  // the [Password] lines as stored (CP932 bytes), or ""
    const char* typed;
    bool matches;
};

TEST(PrivacyLock, ComparesTheFilesCodePageBytes) {
    const MatchCase cases[] = {
        {"Password=\x81\x60x\r\n", "\xE3\x80\x9Cx", true},  // U+301C against 0x8160
        {"Password=\x81\x60x\r\n", "\xEF\xBD\x9Ex", true},  // U+FF5E too
        {"Password=?\r\n", "\xC3\xA9", false},              // "é" is no "?"
        {"Password=?\r\n", "?", true},
        {"", "", false},  // absent: nothing matches
        {"", "anything", false},
        {"Password=\r\n", "", false},           // empty: nothing matches
        {"Password=\"abc\"\r\n", "abc", true},  // the file drops the quotes
        {"Password=\"abc\"\r\n", "\"abc\"", false},
        {"Password=  abc \t\r\n", "abc", true},  // and the blanks
        {"Password=abc\r\n", "ABC", false},
        {"Password=\x93\xfa\x8b\x4c\r\n", "日記", true},
    };
    for (const auto& c : cases) {
        TempHome home;
        home.writeFile("hinagiku.ini", std::string("[Password]\r\n") + c.line);
        platform::ProfileFile ini(settingsFilePath());
        EXPECT_EQ(passwordMatches(ini, c.typed), c.matches) << c.line << " / " << c.typed;
    }
}

TEST(PrivacyLock, OnlyPasswordsTheFileGivesBack) {
    const struct {
        std::string password;
        bool storable;
    } cases[] = {
        {"secret", true},
        {"日本語〜", true},
        {"", false},
        {" secret", false},
        {"secret\t", false},
        {"\"secret\"", false},
        {"'secret'", false},
        {"\"secret", true},
        {"se\ncret", false},
        {"caf\xC3\xA9", false},
        {std::string(1023, 'x'), true},
        {std::string(1024, 'x'), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(passwordStorable(c.password), c.storable) << c.password;
}

TEST(PrivacyLock, ChangingThePassword) {
    TempHome home;
    home.writeFile("hinagiku.ini", "[Form]\r\nWaveplay=0\r\n");
    std::filesystem::permissions(home.iniPath(), std::filesystem::perms(0644));
    platform::ProfileFile ini(settingsFilePath());

    EXPECT_EQ(changePassword(ini, "", "new", "other", false), PasswordChange::Invalid);
    EXPECT_EQ(changePassword(ini, "", "", "", false), PasswordChange::Invalid);
    EXPECT_EQ(changePassword(ini, "", " pad", " pad", false), PasswordChange::Invalid);
    EXPECT_FALSE(passwordStored(ini));

    EXPECT_EQ(changePassword(ini, "ignored", "first", "first", true), PasswordChange::Changed);
    EXPECT_TRUE(passwordMatches(ini, "first"));
    EXPECT_TRUE(ini.readBool("Password", "tel", false));
    struct stat st {};
    ASSERT_EQ(::stat(home.iniPath().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(ini.readText("Form", "Waveplay", ""), "0");  // content kept

    EXPECT_EQ(changePassword(ini, "wrong", "second", "second", false),
              PasswordChange::WrongCurrent);
    EXPECT_TRUE(passwordMatches(ini, "first"));
    EXPECT_EQ(changePassword(ini, "first", "second", "second", false), PasswordChange::Changed);
    EXPECT_TRUE(passwordMatches(ini, "second"));
    EXPECT_FALSE(ini.readBool("Password", "tel", true));
}

TEST(PrivacyLock, GuardsAndAccessRecord) {
    MemorySettings settings;
    const GuardedFeature all[] = {GuardedFeature::Diary, GuardedFeature::Telephone,
                                  GuardedFeature::Period};
    for (const auto f : all) {
        EXPECT_FALSE(isGuarded(settings, f));
        EXPECT_EQ(lastAccess(settings, f), kNoAccess);
    }
    settings.writeText("Password", "Use", "1");
    EXPECT_TRUE(isGuarded(settings, GuardedFeature::Diary));
    EXPECT_TRUE(isGuarded(settings, GuardedFeature::Period));
    EXPECT_FALSE(isGuarded(settings, GuardedFeature::Telephone));
    settings.writeText("Password", "TEL", "1");
    EXPECT_TRUE(isGuarded(settings, GuardedFeature::Telephone));

    const DateTime when = 46000.0 + (13 * 3600 + 4 * 60 + 5) / 86400.0;  // 2025/12/09
    EXPECT_EQ(recordAccess(settings, GuardedFeature::Telephone, when), "2025/12/09 13:04:05");
    EXPECT_EQ(settings.readText("Password", "Telephone", ""), "2025/12/09 13:04:05");
    EXPECT_EQ(lastAccess(settings, GuardedFeature::Telephone), "2025/12/09 13:04:05");
    EXPECT_EQ(lastAccess(settings, GuardedFeature::Diary), kNoAccess);
}

TEST(PrivacyLock, PasswordFolder) {
    TempHome home;
    MemorySettings settings;
    EXPECT_FALSE(passwordFolder(settings));  // "." is no folder to create in
    EXPECT_FALSE(ensurePasswordFolder(settings));
    EXPECT_FALSE(std::filesystem::exists("Password"));

    const auto data = home.path() / "data";
    std::filesystem::create_directories(data);
    settings.writeText("Calendar", "Directory", data.string());
    EXPECT_TRUE(ensurePasswordFolder(settings));
    EXPECT_TRUE(std::filesystem::is_directory(data / "Password"));

    // A data folder that vanished, and one that is a file: nothing is made.
    settings.writeText("Calendar", "Directory", (home.path() / "gone" / "deeper").string());
    EXPECT_FALSE(ensurePasswordFolder(settings));
    EXPECT_FALSE(std::filesystem::exists(home.path() / "gone"));
    home.writeFile("plain", "x");
    settings.writeText("Calendar", "Directory", (home.path() / "plain").string());
    EXPECT_FALSE(ensurePasswordFolder(settings));
}

}  // namespace
}  // namespace hinagiku::core
