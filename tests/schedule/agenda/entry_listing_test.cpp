#include "schedule/agenda/entry_listing.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/atomic_file.h"
#include "platform/file_search.h"
#include "support/memory_settings.h"
#include "support/temp_home.h"

namespace hinagiku::schedule {
namespace {

DateTime at(int y, int m, int d, int h = 0, int n = 0, int s = 0) {
    return makeDateTime(*encodeDate(y, m, d), *encodeTime(h, n, s));
}

std::vector<std::string> names(const std::vector<ListedEntry>& entries) {
    std::vector<std::string> out;
    for (const auto& e : entries)
        out.push_back(e.name);
    return out;
}

TEST(EntryListing, DescriptionTable) {
    struct Case {
        const char* name;
        const char* description;
    };
    const Case cases[] = {
        {"W0003600.__", "Win98 :    3600秒経過（Windows起動後）"},
        {"________.MON", "Week2 : 月曜日"},
        {"_~_~~___.FRI", "Week6 : 金曜日(第１　　第３　　　　)"},
        {"~~~~~___.FRI", "Week6 : 金曜日(　　　　　　　　最終)"},
        {"____0315.24", "To_do : 24年03月15日 "},
        {"~___0315.__", "To_do : 毎年03月15日 (休日:前日)"},
        {"_~~~0315.__", "To_do : 毎年03月15日 (土曜/休日:翌日)"},
        {"______15.__", "To_do : 毎月15日 "},
        {"~_~~__15.__", "To_do : 毎月15日 (土曜/休日:前日)"},
        {"07300315.24", "Popup : 24年03月15日 07時30分"},
        {"07300315.~_", "Popup : 毎年03月15日 07時30分 (休日:翌日)"},
        {"0730__15.__", "Popup : 毎月15日 07時30分"},
        {"0730__15.-~", "Popup : 毎月15日 07時30分 (土曜/休日:前日)"},
        {"0730____.__", "Popup : 毎日 07時30分"},
        {"0730____.FRI", "Popw6 : 金曜日(毎週) 07時30分"},
        {"0730__05.FRI", "Popw6 : 金曜日(第１　　第３　　　　) 07時30分"},
        {"1800__32.MON", "Popw2 : 月曜日(最終) 18時00分"},
        // Control characters and bytes that are no UTF-8 show as U+FFFD.
        {"a\tb\nc.txt",
         "Popup : a\xEF\xBF\xBD\xEF\xBF\xBD"
         "b\xEF\xBF\xBD"
         "c.txt 00時00分"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string d = describeListedName(c.name);
        if (std::string_view(c.name).find('\t') == std::string_view::npos) {
            EXPECT_EQ(d, c.description);
        } else {
            EXPECT_EQ(d.find('\t'), std::string::npos);
            EXPECT_EQ(d.find('\n'), std::string::npos);
        }
    }
    EXPECT_EQ(cleanDisplayText("\x83\x65\x83\x58\x83\x67"),
              "\xEF\xBF\xBD"
              "e\xEF\xBF\xBD"
              "X\xEF\xBF\xBD"
              "g");
}

TEST(EntryListing, SortKeyUpperCasesOnlyWholeAsciiLetters) {
    EXPECT_EQ(listingSortKey("Week2 : 月曜日"), listingSortKey("WEEK2 : 月曜日"));
    // "ニ" is 83 6A in CP932: its trail byte "j" is no letter and stays.
    EXPECT_EQ(listingSortKey("ニa"),
              "\x83\x6A"
              "A");
    EXPECT_LT(listingSortKey("Popup : x"), listingSortKey("Popw1 : y"));
    EXPECT_LT(listingSortKey("To_do : a"), listingSortKey("Week1 : a"));
}

class ListingTest : public ::testing::Test {
  protected:
    void SetUp() override { folder_ = (home_.path() / "data").string(); }
    void file(const std::string& name, const std::string& bytes = "x") {
        home_.writeFile("data/" + name, bytes);
    }
    testing::TempHome home_;
    std::string folder_;
};

TEST_F(ListingTest, AllModeSortedByDescriptionWithoutBirthdaysOrFolders) {
    for (const char* n :
         {"____0315.24", "0730____.__", "________.SUN", "________.mon", "born0101.1970",
          "BORN0315.1970", "W0000060.__", "readme.txt", "0730____.FRI"}) {
        file(n);
    }
    std::filesystem::create_directories(std::filesystem::path(folder_) / "Memo");
    std::filesystem::create_directories(std::filesystem::path(folder_) / "07000101.24");
    const auto all = listEntries(folder_, ListingMode::All, at(2024, 3, 15), at(2024, 3, 15));
    EXPECT_EQ(names(all),
              (std::vector<std::string>{"0730____.__", "readme.txt", "0730____.FRI", "____0315.24",
                                        "________.SUN", "________.mon", "W0000060.__"}));
    EXPECT_EQ(all[0].path, folder_ + "/0730____.__");
}

TEST_F(ListingTest, TiesGoByFileNameBytes) {
    file("____0315.24");
    file("~___0315.24");  // decodes as the same dated entry
    const auto all = listEntries(folder_, ListingMode::All, at(2024, 3, 15), at(2024, 3, 15));
    EXPECT_EQ(names(all), (std::vector<std::string>{"____0315.24", "~___0315.24"}));
}

TEST_F(ListingTest, PastAndDayBoundaries) {
    for (const char* n :
         {"____0315.99", "____0315.29", "____0315.30", "____0314.24", "____0315.24", "____0316.24",
          "23590315.24", "09000315.24", "____0229.23", "25000315.24", "____0315.__", "______15.__",
          "________.FRI", "0730____.__", "W0000060.__"}) {
        file(n);
    }
    struct Case {
        DateTime now;
        ListingMode mode;
        DateTime chosen;
        std::vector<std::string> expected;
    };
    const DateTime noon = at(2024, 3, 15, 12);
    const std::vector<Case> cases = {
        // 1999 and 1930 are past, 2029 is not; the popup at 23:59 today
        // only once that minute has begun to pass.
        {noon,
         ListingMode::Past,
         noon,
         {"____0315.30", "____0315.99", "____0314.24", "09000315.24"}},
        {at(2024, 3, 15, 23, 59, 0),
         ListingMode::Past,
         noon,
         {"____0315.30", "____0315.99", "____0314.24", "09000315.24"}},
        {at(2024, 3, 15, 23, 59, 1),
         ListingMode::Past,
         noon,
         {"____0315.30", "____0315.99", "____0314.24", "09000315.24", "23590315.24"}},
        // The chosen day lists dated entries only, never the recurring ones.
        {noon, ListingMode::Day, at(2024, 3, 15), {"____0315.24", "09000315.24", "23590315.24"}},
        {noon, ListingMode::Day, at(2029, 3, 15), {"____0315.29"}},
        {noon, ListingMode::Day, at(1930, 3, 15), {"____0315.30"}},
        {noon, ListingMode::Day, at(2023, 2, 28), {}},
    };
    for (const auto& c : cases) {
        auto listed = names(listEntries(folder_, c.mode, c.now, c.chosen));
        std::sort(listed.begin(), listed.end());
        auto expected = c.expected;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(listed, expected);
    }
    // Names without a real date or time appear in all mode only.
    const auto all = names(listEntries(folder_, ListingMode::All, noon, noon));
    EXPECT_NE(std::find(all.begin(), all.end(), "____0229.23"), all.end());
    EXPECT_NE(std::find(all.begin(), all.end(), "25000315.24"), all.end());
}

TEST_F(ListingTest, MissingFolderGivesNothing) {
    EXPECT_TRUE(listEntries(folder_ + "/gone", ListingMode::All, 0, 0).empty());
    EXPECT_TRUE(listEntries("", ListingMode::All, 0, 0).empty());
}

TEST_F(ListingTest, HeadingsAndColours) {
    const DateTime now = at(2024, 3, 15);
    struct Case {
        const char* name;
        ListingMode mode;
        const char* heading;
        int colour;
    };
    const Case cases[] = {
        {"____0315.24", ListingMode::Day, "24年3月15日(金)", 0xFF0000},
        {"____0315.24", ListingMode::All, "24年3月15日(金)", 0x008000},
        {"07050315.24", ListingMode::Past, "24年3月15日(金) 7時5分", 0xFF0000},
        {"W0003600.__", ListingMode::All, "   3600秒経過（Windows起動後）", 0x0000FF},
        {"_~_~~___.FRI", ListingMode::All, "金曜日(第１　　第３　　　　)", 0xFF00FF},
        {"0730____.FRI", ListingMode::All, "金曜日(毎週) 07時30分", 0xFF00FF},
        {"~___0315.__", ListingMode::All, "毎年03月15日 (休日:前日)", 0xFF0000},
        {"0730____.__", ListingMode::All, "毎日 07時30分", 0xFF0000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ListedEntry e = listedEntry(folder_, c.name);
        EXPECT_EQ(itemHeading(e), c.heading);
        EXPECT_EQ(itemHeadingColor(c.mode, e), c.colour);
    }
    EXPECT_EQ(emptyHeading(ListingMode::All), "ｽｹｼﾞｭｰﾙはありません｡");
    EXPECT_EQ(emptyHeading(ListingMode::Past), "過去のｽｹｼﾞｭｰﾙはありません｡");
    EXPECT_EQ(emptyHeading(ListingMode::Day), "この日のｽｹｼﾞｭｰﾙはありません｡");
    EXPECT_EQ(listTextColor(ListingMode::All), 0x008000);
    EXPECT_EQ(listTextColor(ListingMode::Past), 0x0000FF);
    EXPECT_EQ(listTextColor(ListingMode::Day), 0xFF0000);
    (void)now;
}

TEST_F(ListingTest, DeleteRemovesTheFileThenTheSection) {
    file("0730____.__");
    file("____0315.24");
    testing::MemorySettings settings;
    const ListedEntry popup = listedEntry(folder_, "0730____.__");
    const ListedEntry todo = listedEntry(folder_, "____0315.24");
    settings.writeText(popup.path, "closetime", "60");
    settings.writeText(todo.path, "closetime", "60");
    settings.writeText("Other", "k", "v");
    EXPECT_EQ(deleteListedEntry(popup, settings), DeleteOutcome::Deleted);
    EXPECT_EQ(deleteListedEntry(todo, settings), DeleteOutcome::Deleted);
    EXPECT_FALSE(std::filesystem::exists(popup.path));
    EXPECT_TRUE(settings.listKeys(popup.path).empty());
    EXPECT_TRUE(settings.listKeys(todo.path).empty());
    EXPECT_EQ(settings.readText("Other", "k", ""), "v");
    EXPECT_EQ(deleteListedEntry(todo, settings), DeleteOutcome::AlreadyGone);
}

TEST_F(ListingTest, RefusedDeleteKeepsFileAndSection) {
    // A directory in the item's place cannot be unlinked: the system refuses.
    std::filesystem::create_directories(std::filesystem::path(folder_) / "0730____.__");
    testing::MemorySettings settings;
    const ListedEntry popup = listedEntry(folder_, "0730____.__");
    settings.writeText(popup.path, "closetime", "60");
    EXPECT_THROW(deleteListedEntry(popup, settings), platform::IoError);
    EXPECT_EQ(settings.readText(popup.path, "closetime", ""), "60");
}

TEST_F(ListingTest, EditTargetsNameTheItemsOwnFile) {
    struct Case {
        const char* name;
        DateTime today;
        EditTarget::Editor editor;
        CivilDate date;
    };
    const DateTime mar2023 = at(2023, 3, 10);
    const Case cases[] = {
        {"____0315.24", mar2023, EditTarget::Editor::ToDo, {2024, 3, 15}},
        {"_~~~0315.__", mar2023, EditTarget::Editor::ToDo, {2023, 3, 15}},
        // 29 February in a common year: the next leap year.
        {"____0229.__", mar2023, EditTarget::Editor::ToDo, {2024, 2, 29}},
        // The 31st in a 30-day month: the next month that has it.
        {"~_____31.__", at(2023, 4, 10), EditTarget::Editor::ToDo, {2023, 5, 31}},
        {"_~_~~___.FRI", mar2023, EditTarget::Editor::ToDo, {2023, 3, 3}},
        {"~~~~~___.mon", mar2023, EditTarget::Editor::ToDo, {2023, 3, 6}},
        {"07300315.24", mar2023, EditTarget::Editor::Popup, {2024, 3, 15}},
        {"07300229.~~", mar2023, EditTarget::Editor::Popup, {2024, 2, 29}},
        {"0730__31.-_", at(2023, 2, 1), EditTarget::Editor::Popup, {2023, 3, 31}},
        {"0730____.__", mar2023, EditTarget::Editor::Popup, {2023, 3, 10}},
        {"0730__05.FRI", mar2023, EditTarget::Editor::Popup, {2023, 3, 3}},
        {"1800__32.MON", mar2023, EditTarget::Editor::Popup, {2023, 3, 6}},
        {"W0003600.__", mar2023, EditTarget::Editor::Popup, {2000, 1, 1}},
        // Names no editor builds.
        {"readme.txt", mar2023, EditTarget::Editor::None, {}},
        {"0730__31.MON", mar2023, EditTarget::Editor::None, {}},
        {"____0229.23", mar2023, EditTarget::Editor::None, {}},
        {"____0230.__", mar2023, EditTarget::Editor::None, {}},
        {"W0000125.__", mar2023, EditTarget::Editor::None, {}},
        {"07300315.xy", mar2023, EditTarget::Editor::None, {}},
        {"________.XYZ", mar2023, EditTarget::Editor::None, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const EditTarget t = editTargetOf(listedEntry(folder_, c.name), c.today);
        ASSERT_EQ(t.editor, c.editor) << t.error;
        if (c.editor == EditTarget::Editor::None) {
            EXPECT_FALSE(t.error.empty());
            continue;
        }
        if (c.editor == EditTarget::Editor::ToDo) {
            EXPECT_EQ(t.todo.date, c.date);
            EXPECT_EQ(platform::foldAsciiCase(toDoEditorEntryName(t.todo)),
                      platform::foldAsciiCase(c.name));
        } else if (!t.popup.uptimeSeconds) {
            EXPECT_EQ(t.popup.date, c.date);
            EXPECT_EQ(t.popup.hour * 100 + t.popup.minute,
                      std::stoi(std::string(c.name).substr(0, 4)));
        } else {
            EXPECT_EQ(*t.popup.uptimeSeconds, 3600);
        }
    }
}

}  // namespace
}  // namespace hinagiku::schedule
