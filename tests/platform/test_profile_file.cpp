#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/atomic_file.h"
#include "platform/cp932.h"
#include "platform/profile_file.h"
#include "support/temp_home.h"

namespace hinagiku::platform {
namespace {

using testing::TempHome;

// Writes `content` (given in UTF-8, stored as CP932) as the settings file.
void store(const TempHome& home, const std::string& utf8) {
    home.writeFile("hinagiku.ini", toCp932(utf8));
}

struct ReadCase {
    const char* name;
    const char* file;
    const char* section;
    const char* key;
    const char* defaultValue;
    const char* expected;
};

class ReadText : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadText, FollowsTheProfileRules) {
    const ReadCase& c = GetParam();
    TempHome home;
    store(home, c.file);
    ProfileFile ini(home.iniPath());
    EXPECT_EQ(ini.readText(c.section, c.key, c.defaultValue), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadText,
    ::testing::Values(
        ReadCase{"plain", "[Form]\r\nTop=10\r\n", "Form", "Top", "x", "10"},
        ReadCase{"sectionCase", "[Form]\r\nTop=10\r\n", "FORM", "top", "x", "10"},
        ReadCase{"keyCase", "[CalendarEx]\r\nWeekDayColor=5\r\n", "CalendarEx", "WeekdayColor", "x",
                 "5"},
        ReadCase{"absent", "[Form]\r\nTop=10\r\n", "Form", "Left", "dflt", "dflt"},
        ReadCase{"noFile", "", "Form", "Top", "dflt", "dflt"},
        ReadCase{"emptyValue", "[Form]\r\nTop=\r\n", "Form", "Top", "dflt", ""},
        ReadCase{"blanks", "[Form]\r\n  Top  =  a b  \r\n", "Form", "Top", "", "a b"},
        ReadCase{"doubleQuotes", "[A]\r\nk=\" x \"\r\n", "A", "k", "", " x "},
        ReadCase{"singleQuotes", "[A]\r\nk='y'\r\n", "A", "k", "", "y"},
        ReadCase{"unmatchedQuotes", "[A]\r\nk=\"y'\r\n", "A", "k", "", "\"y'"},
        ReadCase{"loneQuote", "[A]\r\nk=\"\r\n", "A", "k", "", "\""},
        ReadCase{"lfOnly", "[A]\nk=v\n", "A", "k", "", "v"},
        ReadCase{"noFinalLineEnd", "[A]\r\nk=v", "A", "k", "", "v"},
        ReadCase{"comment", "[A]\r\n;k=v\r\n", "A", "k", "d", "d"},
        ReadCase{"indentedComment", "[A]\r\n  ;k=v\r\n", "A", "k", "d", "d"},
        ReadCase{"lineWithoutEquals", "[A]\r\nk\r\n", "A", "k", "d", "d"},
        ReadCase{"beforeFirstSection", "k=v\r\n[A]\r\n", "A", "k", "d", "d"},
        ReadCase{"blanksInBrackets", "[  Form ]\r\nTop=3\r\n", "Form", "Top", "", "3"},
        ReadCase{"headerWithoutBracket", "[A]\r\nk=1\r\n[B\r\nk2=2\r\n", "A", "k2", "d", "2"},
        ReadCase{"duplicateKeyFirstWins", "[A]\r\nk=1\r\nk=2\r\n", "A", "k", "", "1"},
        ReadCase{"duplicateSectionFirstWins", "[A]\r\nk=1\r\n[A]\r\nk=2\r\nj=3\r\n", "A", "j", "d",
                 "d"},
        ReadCase{"valueWithEquals", "[A]\r\nk=a=b\r\n", "A", "k", "", "a=b"},
        ReadCase{"japanese", "[Memo_bun]\r\n0=買い物メモ\r\n", "memo_BUN", "0", "", "買い物メモ"},
        ReadCase{"japaneseSectionNotFolded", "[表]\r\nk=1\r\n", "表", "k", "", "1"},
        ReadCase{"otherSectionLater", "[A]\r\nk=1\r\n[B]\r\nk=2\r\n", "B", "k", "", "2"}),
    [](const ::testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

TEST(ProfileFile, TextIsCutAt1023BytesOnACharacterBoundary) {
    TempHome home;
    ProfileFile ini(home.iniPath());
    ini.writeText("A", "ascii", std::string(2000, 'x'));
    EXPECT_EQ(ini.readText("A", "ascii", ""), std::string(1023, 'x'));
    // 1 ASCII byte then double-byte characters: byte 1023 would split one.
    std::string mixed = "a";
    for (int i = 0; i < 600; ++i)
        mixed += "あ";
    ini.writeText("A", "mixed", mixed);
    const std::string read = ini.readText("A", "mixed", "");
    EXPECT_EQ(toCp932(read).size(), 1023u);
    ini.writeText("A", "dbcs", std::string(mixed.begin() + 1, mixed.end()));
    EXPECT_EQ(toCp932(ini.readText("A", "dbcs", "")).size(), 1022u);
}

struct IntCase {
    const char* value;
    int expected;
};

class ReadInt : public ::testing::TestWithParam<IntCase> {};

TEST_P(ReadInt, ParsesDecimalAndHexadecimal) {
    TempHome home;
    store(home, std::string("[A]\r\nk=") + GetParam().value + "\r\n");
    EXPECT_EQ(ProfileFile(home.iniPath()).readInt("A", "k", -7), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadInt,
    ::testing::Values(IntCase{"31", 31}, IntCase{"-5", -5}, IntCase{"+5", 5}, IntCase{"0x1F", 31},
                      IntCase{"0X1f", 31}, IntCase{"$1F", 31}, IntCase{"12abc", -7},
                      IntCase{"", -7}, IntCase{" 42 ", 42}, IntCase{"0x80000005", -2147483643},
                      IntCase{"-2147483640", -2147483640}, IntCase{"2147483648", -7},
                      IntCase{"0x", -7}, IntCase{"$", -7}, IntCase{"1 2", -7},
                      IntCase{"0x100000000", -7}));

TEST(ProfileFile, BooleansAndAbsentIntegers) {
    TempHome home;
    ProfileFile ini(home.iniPath());
    EXPECT_EQ(ini.readInt("Form", "Interval", 1000), 1000);
    EXPECT_TRUE(ini.readBool("Form", "Waveplay", true));
    ini.writeBool("Form", "Waveplay", false);
    EXPECT_FALSE(ini.readBool("Form", "Waveplay", true));
    ini.writeInt("Form", "Interval", -12);
    EXPECT_EQ(ini.readText("Form", "Interval", ""), "-12");
    EXPECT_EQ(home.readFile("hinagiku.ini"), "[Form]\r\nWaveplay=0\r\nInterval=-12\r\n");
}

TEST(ProfileFile, RewriteKeepsEveryOtherLine) {
    TempHome home;
    const std::string original =
        "; written by hand\r\n"
        "stray line before sections\n"
        "[Form]\r\n"
        "Top=1\r\n"
        "  ; a comment inside\r\n"
        "garbage without equals\r\n"
        "Left = 2\n"
        "\r\n"
        "[Other]\r\n"
        "x=y";
    home.writeFile("hinagiku.ini", original);
    ProfileFile ini(home.iniPath());

    ini.writeText("form", "LEFT", "5");
    EXPECT_EQ(home.readFile("hinagiku.ini"),
              "; written by hand\r\nstray line before sections\n[Form]\r\nTop=1\r\n"
              "  ; a comment inside\r\ngarbage without equals\r\nLeft=5\n\r\n[Other]\r\nx=y");

    ini.writeText("Form", "Height", "72");  // after the last key of its section
    ini.writeText("Other", "z", "1");       // the last line had no line end
    ini.writeText("New", "k", "v");         // a new section at the end
    EXPECT_EQ(home.readFile("hinagiku.ini"),
              "; written by hand\r\nstray line before sections\n[Form]\r\nTop=1\r\n"
              "  ; a comment inside\r\ngarbage without equals\r\nLeft=5\nHeight=72\r\n\r\n"
              "[Other]\r\nx=y\r\nz=1\r\n[New]\r\nk=v\r\n");
}

// Found by fuzzing: a file ending in a header with a lone CR took the new key
// into the header's line, and the value could not be read back.
TEST(ProfileFile, NewKeyAfterALastLineEndingInALoneCr) {
    TempHome home;
    home.writeFile("hinagiku.ini", "[A]\r\nx=1\r\n[Fuzz]\r");
    ProfileFile ini(home.iniPath());
    ini.writeText("Fuzz", "Key", "v");
    EXPECT_EQ(ini.readText("Fuzz", "Key", ""), "v");
    EXPECT_EQ(home.readFile("hinagiku.ini"), "[A]\r\nx=1\r\n[Fuzz]\r\nKey=v\r\n");
    // A key line ending so keeps its value as stored when a section follows.
    home.writeFile("hinagiku.ini", "[A]\r\nx=1\r");
    ini.writeText("B", "y", "2");
    EXPECT_EQ(ini.listEntries("A"), (std::vector<SettingsEntry>{{"x", "1"}}));
    EXPECT_EQ(home.readFile("hinagiku.ini"), "[A]\r\nx=1\r\n[B]\r\ny=2\r\n");
}

TEST(ProfileFile, DuplicatesWriteTheFirstAndEraseRemovesAll) {
    TempHome home;
    home.writeFile("hinagiku.ini", "[A]\r\nk=1\r\nk=2\r\n[B]\r\nb=1\r\n[a]\r\nk=3\r\n");
    ProfileFile ini(home.iniPath());
    ini.writeText("A", "k", "9");
    ini.writeText("A", "n", "new");
    EXPECT_EQ(home.readFile("hinagiku.ini"),
              "[A]\r\nk=9\r\nk=2\r\nn=new\r\n[B]\r\nb=1\r\n[a]\r\nk=3\r\n");
    EXPECT_EQ(ini.listKeys("a"), (std::vector<std::string>{"k", "n"}));
    ini.eraseSection("A");
    EXPECT_EQ(home.readFile("hinagiku.ini"), "[B]\r\nb=1\r\n");
    EXPECT_EQ(ini.readText("A", "k", "gone"), "gone");
}

TEST(ProfileFile, FirstWriteCreatesFileSectionAndKeyInCp932) {
    TempHome home;
    ProfileFile ini(home.iniPath());
    ini.writeText("Memo_bun", "0", "日記");
    EXPECT_EQ(home.readFile("hinagiku.ini"), "[Memo_bun]\r\n0=\x93\xfa\x8b\x4c\r\n");
    EXPECT_EQ(ini.readText("MEMO_BUN", "0", ""), "日記");
}

TEST(ProfileFile, ListKeysStaysWithin8192Bytes) {
    TempHome home;
    ProfileFile ini(home.iniPath());
    std::string file = "[Big]\r\n";
    // 100 names of 99 bytes: each takes 100 bytes with its zero.
    for (int i = 0; i < 100; ++i) {
        std::string name = std::to_string(1000 + i) + std::string(95, 'k');
        file += name + "=1\r\n";
    }
    home.writeFile("hinagiku.ini", file);
    const auto keys = ini.listKeys("Big");
    ASSERT_EQ(keys.size(), 81u);  // 81 * 100 + final zero fits in 8192, 82 do not
    EXPECT_EQ(keys.front().substr(0, 4), "1000");
    EXPECT_EQ(keys.back().substr(0, 4), "1080");
    EXPECT_TRUE(ini.listKeys("Missing").empty());
}

TEST(ProfileFile, BadInputReadsAndWritesKeepTheRest) {
    TempHome home;
    std::string file = "[A]\r\nbad=\x81\xff\x82\r\nnul=a";
    file.push_back('\0');
    file += "b\r\nhuge=" + std::string(1 << 20, 'h') + "\r\n[Open\r\nlast=1";
    home.writeFile("hinagiku.ini", file);
    ProfileFile ini(home.iniPath());
    EXPECT_NE(ini.readText("A", "bad", "").find("\xEF\xBF\xBD"), std::string::npos);
    EXPECT_EQ(ini.readText("A", "nul", "").size(), 3u);
    EXPECT_EQ(ini.readText("A", "huge", "").size(), 1023u);
    EXPECT_EQ(ini.readText("A", "last", ""), "1");
    ini.writeText("A", "added", "x");
    ini.writeText("Z", "z", "1");
    const std::string after = home.readFile("hinagiku.ini");
    EXPECT_EQ(after.substr(0, file.size()), file);
    EXPECT_EQ(after.substr(file.size()), "\r\nadded=x\r\n[Z]\r\nz=1\r\n");
}

TEST(ProfileFile, UnmappableCharactersBecomeAVisibleReplacement) {
    TempHome home;
    ProfileFile ini(home.iniPath());
    ini.writeText("A", "k", "ok😀");
    EXPECT_EQ(ini.readText("A", "k", ""), "ok?");
    ini.writeText("A", "multi", "line1\r\nline2");
    EXPECT_EQ(ini.readText("A", "multi", ""), "line1  line2");
    EXPECT_TRUE(ini.listKeys("A").size() == 2);
}

TEST(ProfileFile, RefusedWriteNamesTheFile) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root may write into a read-only folder";
    TempHome home;
    ProfileFile ini(home.iniPath());
    ini.writeText("A", "k", "1");
    chmod(home.path().c_str(), 0555);
    try {
        ini.writeText("A", "k", "2");
        FAIL() << "write into a read-only folder succeeded";
    } catch (const IoError& e) {
        EXPECT_NE(std::string(e.what()).find("hinagiku.ini"), std::string::npos);
    }
    chmod(home.path().c_str(), 0755);
    EXPECT_EQ(ini.readText("A", "k", ""), "1");
}

TEST(ProfileFile, WriteIntoAMissingFolderNamesTheFile) {
    TempHome home;
    ProfileFile ini(home.path() / "no" / "such" / "hinagiku.ini");
    try {
        ini.writeText("A", "k", "1");
        FAIL() << "write succeeded";
    } catch (const IoError& e) {
        EXPECT_NE(std::string(e.what()).find("hinagiku.ini"), std::string::npos);
    }
}

TEST(ProfileFile, LinkedSettingsFileKeepsItsLink) {
    TempHome home;
    home.writeFile("real/actual.ini", "[A]\r\nk=1\r\n");
    std::filesystem::create_symlink(home.path() / "real" / "actual.ini", home.iniPath());
    ProfileFile ini(home.iniPath());
    ini.writeText("A", "k", "2");
    EXPECT_TRUE(std::filesystem::is_symlink(home.iniPath()));
    EXPECT_EQ(home.readFile("real/actual.ini"), "[A]\r\nk=2\r\n");
}

}  // namespace
}  // namespace hinagiku::platform
