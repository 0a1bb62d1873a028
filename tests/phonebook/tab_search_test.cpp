#include <gtest/gtest.h>

#include "phonebook/tab_file.h"
#include "phonebook/tab_search.h"
#include "platform/atomic_file.h"
#include "support/temp_home.h"

namespace hinagiku::phonebook {
namespace {

TEST(Search, MatchesOnlyAtCharacterStarts) {
    struct Case {
        std::string haystack;
        std::string needle;
        bool want;
    };
    const Case cases[] = {
        {"\x83\x40", "@", false},  // "ァ" holds 40 as its trail byte
        {"a@b", "@", true},
        {"\x83\x40@", "@", true},
        {"\x83\x40\x83\x40", "\x40\x83", false},
        {"\x93\xfa\x96\x7b", "\x96\x7b", true},  // 日本: 本
        {"abc", "", false},
        {"ab", "abc", false},
        {"\"x,y\"", "x,y", true},  // raw record: quotes and commas included
        {"Tanaka", "tanaka", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(containsAtCharacterStart(c.haystack, c.needle), c.want)
            << c.haystack << " / " << c.needle;
}

TEST(Search, TabOrderRawRecordsAndTheResultsFile) {
    testing::TempHome home;
    home.writeFile("Tel/0.CSV", "\"Sato, A\",x\r\nno\r\n");
    home.writeFile("Tel/2.csv", "other\r\n\"multi\r\nline Sato\",y\r\n");
    home.writeFile("Tel/12.CSV", "stale\r\n");
    // A damaged tab (open quote) is searched too, line by line.
    home.writeFile("Tel/5.CSV", "Sato here\r\n\"open\r\n");
    const auto folder = home.path() / "Tel";
    const SearchResult r = searchAndStore(folder, "Sato");
    ASSERT_EQ(r.hits.size(), 3u);
    EXPECT_EQ(r.hits[0].tab, 0);
    EXPECT_EQ(r.hits[0].record, 0);
    EXPECT_EQ(r.hits[1].tab, 2);
    EXPECT_EQ(r.hits[1].record, 1);
    EXPECT_EQ(r.hits[2].tab, 5);
    EXPECT_EQ(home.readFile("Tel/12.CSV"),
              "\"Sato, A\",x\r\n\"multi\r\nline Sato\",y\r\nSato here\r\n");
    const TabFile results = readTabFile(folder, kSearchTab);
    EXPECT_FALSE(results.damaged());
    EXPECT_EQ(results.content.grid.cell(1, 0), "multi\r\nline Sato");
}

TEST(Search, AtMost256ResultsAndTheRestCounted) {
    testing::TempHome home;
    std::string many;
    for (int i = 0; i < 200; ++i)
        many += "hit" + std::to_string(i) + "\r\n";
    home.writeFile("Tel/1.CSV", many);
    home.writeFile("Tel/4.CSV", many);
    const SearchResult r = searchAndStore(home.path() / "Tel", "hit");
    EXPECT_EQ(r.hits.size(), 256u);
    EXPECT_EQ(r.leftOut, 144);
    EXPECT_EQ(r.hits.back().tab, 4);
    EXPECT_EQ(r.hits.back().record, 55);
}

TEST(Search, ResultsNameThatIsAFolderIsReported) {
    testing::TempHome home;
    home.writeFile("Tel/0.CSV", "a\r\n");
    std::filesystem::create_directories(home.path() / "Tel" / "12.csv");
    EXPECT_THROW(searchAndStore(home.path() / "Tel", "a"), platform::IoError);
    EXPECT_TRUE(std::filesystem::is_directory(home.path() / "Tel" / "12.csv"));
}

}  // namespace
}  // namespace hinagiku::phonebook
