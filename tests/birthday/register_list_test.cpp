#include "birthday/register_list.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_home.h"

namespace hinagiku::birthday {
namespace {

using testing::TempHome;

TEST(RegisterList, OnlyRealBirthDatesAreEntries) {
    const std::pair<const char*, bool> cases[] = {
        {"BORN0315.1980", true},   {"born0315.1980", true},  {"Born1231.9999", true},
        {"BORN0229.1980", true},   {"BORN0315.txt", false},  {"BORN0230.1990", false},
        {"BORN0229.1981", false},  {"BORN0101.0000", false}, {"BORN1301.1990", false},
        {"BORN0315.19800", false}, {"BORN0315_1980", false}, {"BORNab15.1980", false},
        {"XORN0315.1980", false},  {"BORN0315.-980", false},
    };
    for (const auto& [name, entry] : cases)
        EXPECT_EQ(birthDateOfEntry(name).has_value(), entry) << name;
    EXPECT_EQ(*birthDateOfEntry("born0315.1980"), (CivilDate{1980, 3, 15}));
}

TEST(RegisterList, ItemTextsAndOrder) {
    const std::vector<std::string> names = {"BORN0305.1980", "BORN0229.2000", "BORN0315.txt",
                                            "born0305.1970", "BORN0101.0000", "BORN0306.1980",
                                            "BORN0305.1970", "readme.txt"};
    const auto items = registerItems(names, {2024, 3, 5});
    std::vector<std::string> texts, files;
    for (const auto& item : items) {
        texts.push_back(item.text);
        files.push_back(item.name);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{
                         "02月29日【2000年】あと 361日", "03月05日【1970年】あと 0日",
                         "03月05日【1970年】あと 0日", "03月05日【1980年】あと 0日",
                         "03月06日【1980年】あと 1日"}));
    // Equal texts go by name.
    EXPECT_EQ(files[1], "BORN0305.1970");
    EXPECT_EQ(files[2], "born0305.1970");
    EXPECT_EQ(items[0].next, (CivilDate{2025, 3, 1}));
}

TEST(RegisterList, ReadsOneFolderAndSkipsFolders) {
    TempHome home;
    home.writeFile("data/BORN0305.1980", "a");
    home.writeFile("data/BORN0305.1990/inner", "a folder, not an entry");
    home.writeFile("data/TODO0305.txt", "other");
    const auto items = registerItems(home.path() / "data", {2024, 3, 5});
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].name, "BORN0305.1980");
}

TEST(Greeting, LinesForEveryEntryOfToday) {
    TempHome home;
    home.writeFile("data/BORN0305.1980", "Yamada Hanako\r\nfriend\r\n");
    home.writeFile("data/born0305.1970", "Sato");
    home.writeFile("data/BORN0305.txt", "no year here");
    home.writeFile("data/BORN0305.1990/x", "folder");
    home.writeFile("data/BORN0306.1980", "tomorrow");
    home.writeFile("data/BORN0229.2000", "leap");
    const auto greeting = greetingFor(home.path() / "data", *encodeDate(2024, 3, 5));
    EXPECT_EQ(greeting.entries, 3);
    EXPECT_TRUE(greeting.errors.empty());
    EXPECT_EQ(greeting.lines, (std::vector<std::string>{
                                  "【44歳の誕生日】1980/03/05 (水)", "Yamada Hanako", "friend",
                                  "no year here", "【54歳の誕生日】1970/03/05 (木)", "Sato"}));
    // 29 February births are greeted only on 29 February.
    EXPECT_EQ(greetingFor(home.path() / "data", *encodeDate(2023, 3, 1)).entries, 0);
    EXPECT_EQ(greetingFor(home.path() / "data", *encodeDate(2024, 2, 29)).entries, 1);
}

// An entry that exists but cannot be read (root reads any file, so the test
// points the name at a file no one can read from its start).
TEST(Greeting, UnreadableEntryIsReportedAndTheOthersShown) {
    TempHome home;
    home.writeFile("data/BORN0305.1980", "Yamada");
    std::filesystem::create_symlink("/proc/self/mem", home.path() / "data" / "BORN0305.1990");
    const auto greeting = greetingFor(home.path() / "data", *encodeDate(2024, 3, 5));
    EXPECT_EQ(greeting.entries, 1);
    ASSERT_EQ(greeting.errors.size(), 1u);
    EXPECT_NE(greeting.errors[0].find("BORN0305.1990"), std::string::npos);
    EXPECT_EQ(greeting.lines,
              (std::vector<std::string>{"【44歳の誕生日】1980/03/05 (水)", "Yamada"}));
    // The register lists it: it is an entry, only its text cannot be shown.
    EXPECT_EQ(registerItems(home.path() / "data", {2024, 3, 5}).size(), 2u);
}

}  // namespace
}  // namespace hinagiku::birthday
