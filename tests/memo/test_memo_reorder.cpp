// The reorder window's working state and the one-read index of the memo
// menu and tree, on both settings stores.
#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "memo/memo_index.h"
#include "memo/memo_reorder.h"
#include "memo/memo_store.h"
#include "platform/memory_settings.h"
#include "platform/profile_file.h"
#include "support/temp_home.h"

namespace hinagiku::memo {
namespace {

std::vector<std::string> keysOf(const std::vector<MemoEntry>& entries) {
    std::vector<std::string> keys;
    keys.reserve(entries.size());
    for (const MemoEntry& e : entries)
        keys.push_back(e.key);
    return keys;
}
using Keys = std::vector<std::string>;

class MemoReorderTest : public ::testing::TestWithParam<bool> {
  protected:
    void SetUp() override {
        if (GetParam())
            settings = std::make_unique<platform::ProfileFile>(home.iniPath());
        else
            settings = std::make_unique<platform::MemorySettings>();
        store = std::make_unique<MemoStore>(*settings, home.path() / "Memo");
        // Category 0: Memo1..Memo4; category 2: Memo5.
        for (int i = 0; i < 4; ++i)
            store->create(0);
        store->create(2);
        store->setTitle("Memo3", 0, "  third \"quoted\" ");
    }
    MemoReorder reorder(const std::set<std::string>& open = {}) {
        return {*settings,
                [open](std::string_view key) { return open.count(std::string(key)) > 0; }};
    }
    Keys category(int c) const { return keysOf(listCategory(*settings, c)); }

    testing::TempHome home;
    std::unique_ptr<platform::Settings> settings;
    std::unique_ptr<MemoStore> store;
};

INSTANTIATE_TEST_SUITE_P(Stores, MemoReorderTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "File" : "Memory"; });

TEST_P(MemoReorderTest, WithinACategoryTheMovedMemosComeFirst) {
    const std::string storedTitle = settings->listEntries("0_Memo")[2].value;
    // An open memo moves freely within its own category.
    auto r = reorder({"Memo3"});
    r.setSource(0);
    EXPECT_TRUE(r.sameCategory());
    EXPECT_TRUE(r.targetList().empty());
    EXPECT_TRUE(r.canMove(2));
    EXPECT_EQ(r.moveSelected(2), MemoReorder::Result::Done);
    EXPECT_EQ(keysOf(r.sourceList()), (Keys{"Memo1", "Memo2", "Memo4"}));
    EXPECT_EQ(r.save(*store), MemoReorder::Result::Done);
    EXPECT_FALSE(r.canSave());
    EXPECT_EQ(category(0), (Keys{"Memo3", "Memo1", "Memo2", "Memo4"}));
    EXPECT_EQ(category(2), (Keys{"Memo5"}));
    // The title travels as stored, blanks and quotes included.
    EXPECT_EQ(settings->listEntries("0_Memo")[0].value, storedTitle);
}

TEST_P(MemoReorderTest, AClosedMemoMovesToTheEndOfAnotherCategory) {
    auto r = reorder({"Memo1"});
    r.setSource(0);
    r.setTarget(2);
    EXPECT_EQ(keysOf(r.targetList()), (Keys{"Memo5"}));
    EXPECT_EQ(r.moveSelected(1), MemoReorder::Result::Done);
    EXPECT_EQ(r.save(*store), MemoReorder::Result::Done);
    EXPECT_EQ(category(0), (Keys{"Memo1", "Memo3", "Memo4"}));
    EXPECT_EQ(category(2), (Keys{"Memo5", "Memo2"}));
    EXPECT_EQ(categoryOf(*settings, "Memo2"), 2);
}

TEST_P(MemoReorderTest, AnOpenMemoNeverLeavesItsCategory) {
    std::set<std::string> open = {"Memo1"};
    MemoReorder r(*settings,
                  [&open](std::string_view key) { return open.count(std::string(key)); });
    r.setSource(0);
    r.setTarget(1);
    EXPECT_FALSE(r.canMove(0));
    EXPECT_EQ(r.moveSelected(0), MemoReorder::Result::RefusedOpen);
    EXPECT_EQ(keysOf(r.sourceList()).size(), 4u);
    // Moved while closed, opened before the save: nothing is written.
    EXPECT_EQ(r.moveSelected(1), MemoReorder::Result::Done);
    open.insert("Memo2");
    EXPECT_EQ(r.save(*store), MemoReorder::Result::RefusedOpen);
    EXPECT_EQ(category(0), (Keys{"Memo1", "Memo2", "Memo3", "Memo4"}));
    EXPECT_TRUE(category(1).empty());
}

TEST_P(MemoReorderTest, StartingAgainAndChangingTheTargetPutEverythingBack) {
    auto r = reorder();
    r.setSource(0);
    r.moveSelected(0);
    r.moveSelected(0);
    r.restart();
    EXPECT_EQ(keysOf(r.sourceList()).size(), 4u);
    EXPECT_TRUE(r.targetList().empty());
    r.moveSelected(0);
    r.setTarget(2);
    EXPECT_EQ(keysOf(r.sourceList()).size(), 4u);
    EXPECT_EQ(keysOf(r.targetList()), (Keys{"Memo5"}));
    EXPECT_EQ(r.moveSelected(99), MemoReorder::Result::Nothing);
}

TEST_P(MemoReorderTest, AMemoCreatedMeanwhileStaysAtTheEnd) {
    auto r = reorder();
    r.setSource(0);
    r.moveSelected(3);
    store->create(0);  // another process: Memo6
    EXPECT_EQ(r.save(*store), MemoReorder::Result::Done);
    EXPECT_EQ(category(0), (Keys{"Memo4", "Memo1", "Memo2", "Memo3", "Memo6"}));
}

TEST_P(MemoReorderTest, TheIndexNamesCategoriesForMenusAndTree) {
    settings->writeText("Memo_bun", "1", "仕事");
    settings->writeText("Memo_bun", "3", "");
    const MemoIndex index = readMemoIndex(*settings);
    EXPECT_EQ(index[0].name, "メモ１");
    EXPECT_EQ(index[0].treeName, "メモ1");
    EXPECT_EQ(index[9].name, "メモ１０");
    EXPECT_EQ(index[9].treeName, "メモ10");
    EXPECT_EQ(index[1].name, "仕事");
    EXPECT_EQ(index[1].treeName, "仕事");
    EXPECT_EQ(index[3].treeName, "メモ4");
    for (int c = 0; c < kCategoryCount; ++c)
        EXPECT_EQ(index[static_cast<std::size_t>(c)].memos, listCategory(*settings, c)) << c;
}

// A settings store that counts how it is read.
class CountingSettings final : public platform::Settings {
  public:
    std::string readText(std::string_view s, std::string_view k,
                         std::string_view d) const override {
        ++reads;
        return inner.readText(s, k, d);
    }
    void writeText(std::string_view s, std::string_view k, std::string_view v) override {
        inner.writeText(s, k, v);
    }
    std::vector<std::string> listKeys(std::string_view s) const override {
        ++reads;
        return inner.listKeys(s);
    }
    void eraseSection(std::string_view s) override { inner.eraseSection(s); }
    std::vector<platform::SettingsEntry> listEntries(std::string_view s) const override {
        ++reads;
        return inner.listEntries(s);
    }
    void edit(const std::function<void(platform::SettingsEdit&)>& change) override {
        ++edits;
        inner.edit(change);
    }
    platform::MemorySettings inner;
    mutable int reads = 0;
    int edits = 0;
};

TEST(MemoIndex, OneReadOfTheSettingsPerRebuild) {
    CountingSettings settings;
    testing::TempHome home;
    MemoStore store(settings, home.path() / "Memo");
    for (int i = 0; i < 30; ++i)
        store.create(i % kCategoryCount);
    settings.reads = 0;
    settings.edits = 0;
    const MemoIndex index = readMemoIndex(settings);
    EXPECT_EQ(settings.reads, 0);
    EXPECT_EQ(settings.edits, 1);
    EXPECT_EQ(index[4].memos.size(), 3u);
}

}  // namespace
}  // namespace hinagiku::memo
