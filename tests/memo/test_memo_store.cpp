#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <set>

#include "memo/memo_store.h"
#include "platform/atomic_file.h"
#include "platform/memory_settings.h"
#include "platform/profile_file.h"
#include "support/temp_home.h"

namespace hinagiku::memo {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> keysOf(const std::vector<MemoEntry>& entries) {
    std::vector<std::string> keys;
    for (const MemoEntry& e : entries)
        keys.push_back(e.key);
    return keys;
}

// Every store case runs on the settings file and on the in-memory store.
class MemoStoreTest : public ::testing::TestWithParam<bool> {
  protected:
    void SetUp() override {
        if (GetParam())
            settings = std::make_unique<platform::ProfileFile>(home.iniPath());
        else
            settings = std::make_unique<platform::MemorySettings>();
        store = std::make_unique<MemoStore>(*settings, home.path() / "Memo");
    }
    testing::TempHome home;
    std::unique_ptr<platform::Settings> settings;
    std::unique_ptr<MemoStore> store;
};

INSTANTIATE_TEST_SUITE_P(Stores, MemoStoreTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "File" : "Memory"; });

TEST_P(MemoStoreTest, KeysOnlyGrowAndNewMemosAreTitledWithTheirKey) {
    EXPECT_EQ(store->create(0), "Memo1");
    EXPECT_TRUE(fs::is_directory(home.path() / "Memo"));
    EXPECT_EQ(store->create(0), "Memo2");
    EXPECT_EQ(store->create(0), "Memo3");
    store->remove("Memo2", 0);
    EXPECT_EQ(store->create(0), "Memo4");
    EXPECT_EQ(listCategory(*settings, 0),
              (std::vector<MemoEntry>{{"Memo1", "Memo1"}, {"Memo3", "Memo3"}, {"Memo4", "Memo4"}}));
    EXPECT_EQ(settings->readInt("MemoCount", "Count", 0), 4);
}

// A damaged or reset Count never hands out a key that is in use anywhere.
TEST_P(MemoStoreTest, ANumberInUseIsNeverHandedOutAgain) {
    const struct {
        const char* count;
        const char* where;
        const char* expected;
    } cases[] = {
        {"12abc", "index", "Memo6"},  // "12abc" reads 0; Memo5 is listed
        {"0", "section", "Memo8"},    // a [Memo7] section of a memo no index lists
        {"-3", "body", "Memo10"},     // a body file Memo9 in the memo folder
        {"2", "picture", "Memo12"},   // a picture memo11.jpg, any case
        {"40", "index", "Memo41"},    // Count ahead of every key
    };
    for (const auto& c : cases) {
        testing::TempHome caseHome;
        platform::ProfileFile ini(caseHome.iniPath());
        MemoStore caseStore(ini, caseHome.path() / "Memo");
        fs::create_directories(caseHome.path() / "Memo");
        ini.writeText("MemoCount", "Count", c.count);
        const std::string where = c.where;
        if (where == "index")
            ini.writeText("3_Memo", "Memo5", "t");
        else if (where == "section")
            ini.writeText("Memo7", "Show", "0");
        else if (where == "body")
            platform::writeFileAtomically(caseHome.path() / "Memo" / "Memo9", "x");
        else
            platform::writeFileAtomically(caseHome.path() / "Memo" / "memo11.jpg", "x");
        EXPECT_EQ(caseStore.create(0), c.expected) << c.count << " " << where;
    }
}

TEST_P(MemoStoreTest, DeletingKeepsTheOrderOfTheRestAndTheOtherCategories) {
    for (int i = 0; i < 4; ++i)
        store->create(i < 3 ? 2 : 5);
    platform::writeFileAtomically(store->bodyPath("Memo2"), "body");
    platform::writeFileAtomically(home.path() / "Memo" / "MEMO2.jpg", "picture");
    settings->writeText("Memo2", "Show", "0");
    store->remove("Memo2", 2);
    EXPECT_EQ(keysOf(listCategory(*settings, 2)), (std::vector<std::string>{"Memo1", "Memo3"}));
    EXPECT_EQ(keysOf(listCategory(*settings, 5)), std::vector<std::string>{"Memo4"});
    EXPECT_FALSE(fs::exists(home.path() / "Memo" / "Memo2"));
    EXPECT_FALSE(fs::exists(home.path() / "Memo" / "MEMO2.jpg"));
    EXPECT_TRUE(settings->listKeys("Memo2").empty());

    // A key two categories list: deleting it in one keeps its body and section.
    settings->writeText("5_Memo", "Memo3", "also here");
    platform::writeFileAtomically(store->bodyPath("Memo3"), "kept");
    settings->writeText("Memo3", "Show", "0");
    store->remove("Memo3", 2);
    EXPECT_TRUE(fs::exists(home.path() / "Memo" / "Memo3"));
    EXPECT_FALSE(settings->listKeys("Memo3").empty());
    EXPECT_EQ(keysOf(listCategory(*settings, 5)), (std::vector<std::string>{"Memo4", "Memo3"}));

    // The last memo of a category takes its section with it.
    store->remove("Memo1", 2);
    EXPECT_TRUE(settings->listKeys("2_Memo").empty());
}

TEST_P(MemoStoreTest, RenamingKeepsThePlace) {
    for (int i = 0; i < 3; ++i)
        store->create(1);
    store->setTitle("Memo2", 1, "買い物");
    EXPECT_EQ(
        listCategory(*settings, 1),
        (std::vector<MemoEntry>{{"Memo1", "Memo1"}, {"Memo2", "買い物"}, {"Memo3", "Memo3"}}));
    EXPECT_EQ(categoryOf(*settings, "memo2"), 1);
    EXPECT_FALSE(categoryOf(*settings, "Memo9"));
}

TEST_P(MemoStoreTest, ReorderWithinACategoryAndMoveToAnother) {
    for (int i = 0; i < 4; ++i)
        store->create(0);
    settings->writeText("0_Memo", "Memo2", "  \"quoted title\"  ");
    // The third memo moved across first: it leads, the others keep their order.
    store->saveOrder(0, {}, 0, {"Memo3", "Memo1", "Memo2", "Memo4"});
    EXPECT_EQ(keysOf(listCategory(*settings, 0)),
              (std::vector<std::string>{"Memo3", "Memo1", "Memo2", "Memo4"}));
    // Titles are copied as stored, blanks and quotes included.
    EXPECT_EQ(settings->listEntries("0_Memo")[2].value, "  \"quoted title\"  ");
    EXPECT_EQ(listCategory(*settings, 0)[2].title, "quoted title");

    // Move Memo1 to category 2 (which holds Memo5): appended there, gone here.
    store->create(2);
    store->saveOrder(0, {"Memo3", "Memo2", "Memo4"}, 2, {"Memo5", "Memo1"});
    EXPECT_EQ(keysOf(listCategory(*settings, 0)),
              (std::vector<std::string>{"Memo3", "Memo2", "Memo4"}));
    EXPECT_EQ(keysOf(listCategory(*settings, 2)), (std::vector<std::string>{"Memo5", "Memo1"}));
}

// The save starts from the file as it is: a memo created meanwhile (by
// hinagikuctl) stays, at the end; one deleted meanwhile does not come back.
TEST_P(MemoStoreTest, ReorderKeepsWhatChangedMeanwhile) {
    for (int i = 0; i < 3; ++i)
        store->create(0);
    const std::vector<std::string> order{"Memo3", "Memo2", "Memo1"};
    store->create(0);           // Memo4, not in the window's list
    store->remove("Memo2", 0);  // gone meanwhile
    store->saveOrder(0, {}, 0, order);
    EXPECT_EQ(keysOf(listCategory(*settings, 0)),
              (std::vector<std::string>{"Memo3", "Memo1", "Memo4"}));
}

TEST_P(MemoStoreTest, ThousandsOfMemosInOneCategory) {
    std::vector<std::string> keys;
    for (int i = 0; i < 1000; ++i)
        keys.push_back(store->create(7));
    EXPECT_EQ(listCategory(*settings, 7).size(), 1000u);
    std::vector<std::string> reversed(keys.rbegin(), keys.rend());
    store->saveOrder(7, {}, 7, reversed);
    EXPECT_EQ(keysOf(listCategory(*settings, 7)), reversed);
}

TEST(MemoNames, CategoriesAndKeys) {
    platform::MemorySettings settings;
    EXPECT_EQ(categoryName(settings, 0), "メモ１");
    EXPECT_EQ(categoryName(settings, 9), "メモ１０");
    EXPECT_EQ(categoryName(settings, 9, false), "メモ10");
    settings.writeText("Memo_bun", "3", "");
    EXPECT_EQ(categoryName(settings, 3), "メモ４");
    settings.writeText("Memo_bun", "3", "仕事");
    EXPECT_EQ(categoryName(settings, 3), "仕事");
    EXPECT_EQ(categorySection(4), "4_Memo");
    EXPECT_EQ(memoNumber("Memo12"), 12);
    EXPECT_EQ(memoNumber("MEMO3"), 3);
    EXPECT_FALSE(memoNumber("Memo"));
    EXPECT_FALSE(memoNumber("Memo1a"));
    EXPECT_FALSE(memoNumber("Memo3.BMP"));
}

// Two processes creating at once get distinct keys, all listed.
TEST(MemoStoreProcesses, ConcurrentCreatesGetDistinctKeys) {
    testing::TempHome home;
    constexpr int kEach = 15;
    pid_t children[2];
    for (pid_t& child : children) {
        child = fork();
        if (child == 0) {
            platform::ProfileFile ini(home.iniPath());
            MemoStore store(ini, home.path() / "Memo");
            for (int i = 0; i < kEach; ++i)
                store.create(0);
            _exit(0);
        }
    }
    for (const pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    platform::ProfileFile ini(home.iniPath());
    const auto keys = keysOf(listCategory(ini, 0));
    EXPECT_EQ(keys.size(), 2u * kEach);
    EXPECT_EQ(std::set<std::string>(keys.begin(), keys.end()).size(), 2u * kEach);
    EXPECT_EQ(ini.readInt("MemoCount", "Count", 0), 2 * kEach);
}

}  // namespace
}  // namespace hinagiku::memo
