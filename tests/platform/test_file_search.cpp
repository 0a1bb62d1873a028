#include <gtest/gtest.h>

#include <random>

#include "platform/file_search.h"
#include "support/temp_home.h"

namespace hinagiku::platform {
namespace {

struct MatchCase {
    const char* pattern;
    const char* name;
    bool matches;
};

class Wildcard : public ::testing::TestWithParam<MatchCase> {};

TEST_P(Wildcard, Matches) {
    EXPECT_EQ(wildcardMatch(GetParam().pattern, GetParam().name), GetParam().matches)
        << GetParam().pattern << " vs " << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Wildcard,
    ::testing::Values(
        MatchCase{"20241231*", "202412310900", true}, MatchCase{"20241231*", "2024123", false},
        MatchCase{"????1231*", "20241231A", true}, MatchCase{"????1231*", "2024131A", false},
        MatchCase{"a?c", "abc", true}, MatchCase{"a?c", "ac", false},
        MatchCase{"*MON*", "xxmonyy", true}, MatchCase{"*.TXT", "a.txt", true},
        MatchCase{"*", "", true}, MatchCase{"", "", true}, MatchCase{"", "a", false},
        MatchCase{"a*b*c", "aXXbYYc", true}, MatchCase{"a*b*c", "aXXcYYb", false},
        MatchCase{"**x", "x", true}, MatchCase{"WEEK_MON????", "week_mon0900", true}));

TEST(FileSearch, FindsFilesOnlySortedAndWithoutRegardToCase) {
    testing::TempHome home;
    home.writeFile("b_1", "");
    home.writeFile("A_2", "");
    home.writeFile("a_1", "");
    std::filesystem::create_directory(home.path() / "a_dir");
    EXPECT_EQ(findFiles(home.path(), "A_*"), (std::vector<std::string>{"A_2", "a_1"}));
    EXPECT_EQ(findFiles(home.path() / "missing", "*"), std::vector<std::string>{});
    std::string onDisk;
    EXPECT_TRUE(fileExists(home.path(), "B_1", &onDisk));
    EXPECT_EQ(onDisk, "b_1");
    EXPECT_FALSE(fileExists(home.path(), "a_dir"));
    EXPECT_FALSE(fileExists(home.path(), "c_1"));
    home.writeFile("C_1", "");  // appears after the folder was listed once
    EXPECT_TRUE(fileExists(home.path(), "c_1"));
    std::filesystem::remove(home.path() / "C_1");
    EXPECT_FALSE(fileExists(home.path(), "c_1"));
    EXPECT_FALSE(fileExists(home.path(), ""));
    EXPECT_FALSE(fileExists(home.path(), "../x"));
}

TEST(DirectorySnapshot, AnswersExactlyAsSingleProbes) {
    testing::TempHome home;
    std::mt19937 random(7);
    const char alphabet[] = "aAbB01_";
    std::vector<std::string> probes;
    for (int i = 0; i < 300; ++i) {
        std::string name;
        for (int j = 0; j < 4; ++j)
            name.push_back(alphabet[random() % 7]);
        probes.push_back(name);
        if (i % 2 == 0)
            home.writeFile(name, "");
        if (i % 37 == 0)
            std::filesystem::create_directories(home.path() / (name + "d"));
    }
    const DirectorySnapshot snapshot(home.path());
    for (const auto& probe : probes) {
        std::string a, b;
        ASSERT_EQ(snapshot.exists(probe, &a), fileExists(home.path(), probe, &b)) << probe;
        EXPECT_EQ(a, b);
    }
    for (const char* pattern : {"a*", "A?0*", "*_", "0*", "1?", "*", "__*", "b*B"}) {
        EXPECT_EQ(snapshot.find(pattern), findFiles(home.path(), pattern)) << pattern;
    }
}

}  // namespace
}  // namespace hinagiku::platform
