#include <gtest/gtest.h>

#include <sys/stat.h>
#include <stdexcept>

#include "platform/atomic_file.h"
#include "platform/cp932.h"
#include "platform/memory_settings.h"
#include "platform/profile_file.h"
#include "support/temp_home.h"

namespace hinagiku::platform {
namespace {

using testing::TempHome;

std::string fileText(const TempHome& home) {
    std::string bytes;
    readWholeFile(home.iniPath(), bytes);
    return fromCp932(bytes);
}

struct ReplaceCase {
    const char* name;
    const char* before;
    std::vector<SettingsEntry> entries;
    const char* after;
};

class ReplaceSection : public ::testing::TestWithParam<ReplaceCase> {};

// Keys are replaced where the first one stood; comments, other sections and
// their line ends stay as they were.
TEST_P(ReplaceSection, PutsTheKeysWhereTheFirstOneStood) {
    const ReplaceCase& c = GetParam();
    TempHome home;
    home.writeFile("hinagiku.ini", toCp932(c.before));
    ProfileFile ini(home.iniPath());
    ini.edit([&](SettingsEdit& e) { e.replaceSection("Memo", c.entries); });
    EXPECT_EQ(fileText(home), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplaceSection,
    ::testing::Values(
        ReplaceCase{"reorder",
                    "[A]\r\nx=1\r\n[memo]\r\n;c\r\nb=2\r\na=1\r\n[B]\n y=2\n",
                    {{"a", "1"}, {"b", "2"}},
                    "[A]\r\nx=1\r\n[memo]\r\n;c\r\na=1\r\nb=2\r\n[B]\n y=2\n"},
        ReplaceCase{"emptySection",
                    "[Memo]\r\n\r\n[B]\r\n",
                    {{"k", " v "}},
                    "[Memo]\r\nk= v \r\n\r\n[B]\r\n"},
        ReplaceCase{"headerWithoutLineEnd", "[Memo]", {{"k", "v"}}, "[Memo]\r\nk=v\r\n"},
        ReplaceCase{
            "missingSection", "[A]\r\nx=1", {{"k", "v"}}, "[A]\r\nx=1\r\n[Memo]\r\nk=v\r\n"},
        ReplaceCase{"toNothing", "[Memo]\r\na=1\r\n;keep\r\nb=2\r\n", {}, "[Memo]\r\n;keep\r\n"},
        ReplaceCase{"onlyTheFirstOfTwo",
                    "[Memo]\r\na=1\r\n[MEMO]\r\nb=2\r\n",
                    {{"c", "3"}},
                    "[Memo]\r\nc=3\r\n[MEMO]\r\nb=2\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// The stored value as it is: blanks, quotes and more than 1023 bytes; and
// far more keys than the 8192-byte key list holds.
TEST(SettingsEdit, ListsEveryEntryAsStored) {
    TempHome home;
    std::string text =
        "[MemoIndex0]\r\nquoted=\"  a  \"\r\nlong=" + std::string(1500, 'x') + "\r\n";
    for (int i = 0; i < 2000; ++i)
        text += "Memo" + std::to_string(i) + "=t\r\n";
    home.writeFile("hinagiku.ini", text);
    ProfileFile ini(home.iniPath());
    const auto entries = ini.listEntries("memoindex0");
    ASSERT_EQ(entries.size(), 2002u);
    EXPECT_EQ(entries[0], (SettingsEntry{"quoted", "\"  a  \""}));
    EXPECT_EQ(entries[1].value.size(), 1500u);
    EXPECT_EQ(entries.back().key, "Memo1999");
    EXPECT_LT(ini.listKeys("MemoIndex0").size(), entries.size());
}

// Several changes reach the file in one replacement, and a change that
// throws writes nothing.
TEST(SettingsEdit, AppliesAllChangesOrNone) {
    TempHome home;
    const std::string before = "[MemoCount]\r\nCount=3\r\n[Memo3]\r\nShow=1\r\n";
    home.writeFile("hinagiku.ini", before);
    ProfileFile ini(home.iniPath());

    EXPECT_THROW(ini.edit([](SettingsEdit& e) {
        e.writeText("MemoCount", "Count", "4");
        e.eraseSection("Memo3");
        throw std::runtime_error("stop");
    }),
                 std::runtime_error);
    std::string bytes;
    readWholeFile(home.iniPath(), bytes);
    EXPECT_EQ(bytes, before);

    struct stat statBefore {};
    ::stat(home.iniPath().c_str(), &statBefore);
    ini.edit([](SettingsEdit& e) {
        e.writeText("MemoCount", "Count", "4");
        EXPECT_EQ(e.readText("MemoCount", "Count", ""), "4");  // reads see the edit so far
        e.eraseSection("Memo3");
        e.writeText("MemoIndex0", "Memo4", "メモ");
        e.eraseKey("MemoCount", "nothing");
        EXPECT_EQ(e.sectionNames(), (std::vector<std::string>{"MemoCount", "MemoIndex0"}));
    });
    EXPECT_EQ(fileText(home), "[MemoCount]\r\nCount=4\r\n[MemoIndex0]\r\nMemo4=メモ\r\n");
    struct stat statAfter {};
    ::stat(home.iniPath().c_str(), &statAfter);
    EXPECT_NE(statBefore.st_ino, statAfter.st_ino);

    // An edit that changes nothing leaves the file as it is.
    ini.edit([](SettingsEdit& e) { e.writeText("MemoCount", "Count", "4"); });
    struct stat statSame {};
    ::stat(home.iniPath().c_str(), &statSame);
    EXPECT_EQ(statSame.st_ino, statAfter.st_ino);
}

// The test store behaves as the file does for the same edit.
TEST(SettingsEdit, MemoryStoreMatchesTheFile) {
    TempHome home;
    ProfileFile file(home.iniPath());
    MemorySettings memory;
    for (Settings* store : {static_cast<Settings*>(&file), static_cast<Settings*>(&memory)}) {
        store->writeText("Memo", "a", "1");
        store->writeText("Memo", "b", "2");
        store->writeText("Other", "x", "y");
        store->edit([](SettingsEdit& e) {
            e.eraseKey("memo", "A");
            e.replaceSection("MEMO", {{"c", "3"}, {"b", "2"}});
            e.eraseSection("other");
        });
    }
    EXPECT_EQ(file.listEntries("Memo"), memory.listEntries("Memo"));
    EXPECT_EQ(memory.listEntries("Memo"), (std::vector<SettingsEntry>{{"c", "3"}, {"b", "2"}}));
    EXPECT_TRUE(file.listEntries("Other").empty());
    EXPECT_TRUE(memory.listEntries("Other").empty());
    const int writes = memory.writeCount();
    EXPECT_THROW(memory.edit([](SettingsEdit& e) {
        e.eraseSection("Memo");
        throw std::runtime_error("stop");
    }),
                 std::runtime_error);
    EXPECT_EQ(memory.writeCount(), writes);
    EXPECT_EQ(memory.listEntries("Memo").size(), 2u);
}

}  // namespace
}  // namespace hinagiku::platform
