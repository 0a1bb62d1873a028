#include <gtest/gtest.h>

#include <filesystem>

#include "platform/atomic_file.h"
#include "platform/cp932.h"
#include "schedule/entry_files.h"
#include "schedule/entry_options.h"
#include "schedule/memory_store.h"
#include "support/memory_settings.h"
#include "support/temp_home.h"

namespace hinagiku::schedule {
namespace {

namespace fs = std::filesystem;
using testing::day;

class EntryFilesTest : public ::testing::Test {
  protected:
    void SetUp() override { fs::create_directories(folder()); }
    std::string folder() const { return (home.path() / "Data").string(); }
    std::string path(const std::string& name) const { return folder() + "/" + name; }

    hinagiku::testing::TempHome home;
    hinagiku::testing::MemorySettings settings;
};

TEST_F(EntryFilesTest, SaveLoadAndReplace) {
    SaveEntry(path("____0315.24"), platform::toCp932("朝会\r\n9時"));
    auto loaded = LoadEntry(path("____0315.24"));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->bytes, platform::toCp932("朝会\r\n9時"));
    EXPECT_EQ(loaded->plainText(), "朝会\n9時");

    SaveEntry(path("____0315.24"), "new");
    EXPECT_EQ(LoadEntry(path("____0315.24"))->bytes, "new");
    EXPECT_FALSE(LoadEntry(path("____0316.24")));
}

TEST_F(EntryFilesTest, DirectoriesAreNeverEntries) {
    fs::create_directories(path("____0315.24"));
    fs::create_directories(path("BORN0315.1970"));
    EXPECT_FALSE(LoadEntry(path("____0315.24")));
    EXPECT_FALSE(EntryExists(path("____0315.24")));
    EXPECT_TRUE(FindEntries(folder(), "BORN0315.*").empty());
    EXPECT_FALSE(DeleteEntry(path("____0315.24"), settings));
    EXPECT_TRUE(fs::is_directory(path("____0315.24")));
}

TEST_F(EntryFilesTest, ExistsAndFindIgnoreCase) {
    SaveEntry(path("0730____.fri"), "x");
    SaveEntry(path("BORN0315.1970"), "a");
    SaveEntry(path("born0315.1980"), "b");
    EXPECT_TRUE(EntryExists(path("0730____.FRI")));
    EXPECT_EQ(FindEntries(folder(), "BORN0315.*"),
              (std::vector<std::string>{"BORN0315.1970", "born0315.1980"}));
    EXPECT_TRUE(FindEntries(home.path() / "missing", "*").empty());
}

// A file whose name differs in case (FAT media, copies from Windows) is the
// entry: loaded, replaced and deleted as it is on disk, never shadowed by a
// second file under the built name.
TEST_F(EntryFilesTest, LoadSaveAndDeleteActOnTheFileInItsOwnCase) {
    const std::string onDisk = path("0730____.fri");
    const std::string built = path("0730____.FRI");
    SaveEntry(onDisk, "old");
    writeEntryOptions(settings, onDisk, EntryOptions{}, false, false);

    ASSERT_TRUE(LoadEntry(built));
    EXPECT_EQ(LoadEntry(built)->bytes, "old");
    EXPECT_EQ(EntryPathOnDisk(built), fs::path(onDisk));
    EXPECT_EQ(EntryPathOnDisk(path("0800____.FRI")), fs::path(path("0800____.FRI")));

    SaveEntry(built, "new");
    EXPECT_EQ(FindEntries(folder(), "*"), std::vector<std::string>{"0730____.fri"});
    EXPECT_EQ(LoadEntry(onDisk)->bytes, "new");

    EXPECT_FALSE(settings.listKeys(built).empty());  // the same section, any case
    EXPECT_TRUE(DeleteEntry(built, settings));
    EXPECT_TRUE(FindEntries(folder(), "*").empty());
    EXPECT_TRUE(settings.listKeys(onDisk).empty());
}

TEST_F(EntryFilesTest, SaveIntoAMissingFolderNamesTheFile) {
    try {
        SaveEntry(home.path() / "missing" / "____0315.24", "x");
        FAIL() << "no error";
    } catch (const platform::IoError& e) {
        EXPECT_NE(std::string(e.what()).find("____0315.24"), std::string::npos);
    }
}

TEST_F(EntryFilesTest, DeleteRemovesTheFileAndThePopupOptions) {
    const std::string popup = path("0730____.__");
    SaveEntry(popup, "x");
    writeEntryOptions(settings, popup, EntryOptions{}, false, false);
    settings.writeText(path("____0315.24"), "closetime", "5");
    SaveEntry(path("____0315.24"), "y");

    EXPECT_TRUE(DeleteEntry(popup, settings));
    EXPECT_FALSE(fs::exists(popup));
    EXPECT_TRUE(settings.listKeys(popup).empty());

    // To-do entries have no options; the management window erases anyway.
    EXPECT_TRUE(DeleteEntry(path("____0315.24"), settings));
    EXPECT_FALSE(settings.listKeys(path("____0315.24")).empty());
    settings.writeText(path("____0316.24"), "closetime", "5");
    EXPECT_FALSE(DeleteEntry(path("____0316.24"), settings, OptionsErase::Always));
    EXPECT_TRUE(settings.listKeys(path("____0316.24")).empty());

    // Uptime entries have options too.
    const std::string uptime = path("W0000600.__");
    SaveEntry(uptime, "z");
    settings.writeText(uptime, "Execute", "xterm");
    EXPECT_TRUE(DeleteEntry(uptime, settings));
    EXPECT_TRUE(settings.listKeys(uptime).empty());
}

TEST_F(EntryFilesTest, EntryOptionsRoundTrip) {
    const std::string section = path("0730____.__");
    EXPECT_EQ(readEntryOptions(settings, section), EntryOptions{});

    EntryOptions options;
    options.closeTime = 5;
    options.soundFile = "/snd/a.wav";
    options.picture = "/pic/b.jpg";
    options.smtp = true;
    options.stretch = true;
    options.execute = "/usr/bin/xterm?-e top";
    options.execlose = "top";
    writeEntryOptions(settings, section, options, false, false);
    EntryOptions expected = options;
    expected.soundFile.clear();
    expected.picture.clear();
    EXPECT_EQ(readEntryOptions(settings, section), expected);
    EXPECT_EQ(settings.listKeys(section).size(), 6u);

    writeEntryOptions(settings, section, options, true, true);
    EXPECT_EQ(readEntryOptions(settings, section), options);
    EXPECT_EQ(settings.readText(section, "Bitmap", ""), "/pic/b.jpg");
}

TEST_F(EntryFilesTest, AddPopupToScheduleAppends) {
    const int date = day(2024, 3, 15);
    AddPopupToSchedule(folder(), date, "会議");
    ASSERT_TRUE(LoadEntry(path("____0315.24")));
    EXPECT_EQ(LoadEntry(path("____0315.24"))->plainText(), "会議");

    SaveEntry(path("____0315.24"), platform::toCp932("朝会"));
    AddPopupToSchedule(folder(), date, "会議");
    AddPopupToSchedule(folder(), date, "会議");
    EXPECT_EQ(LoadEntry(path("____0315.24"))->plainText(), "朝会会議会議");
    EXPECT_EQ(LoadEntry(path("____0315.24"))->bytes.rfind("{\\rtf1", 0), 0u);

    // Lines survive; nothing is put between the two texts.
    SaveEntry(path("____0316.24"), platform::toCp932("一行目\r\n二行目"));
    AddPopupToSchedule(folder(), day(2024, 3, 16), "ソ{}\\");
    EXPECT_EQ(LoadEntry(path("____0316.24"))->plainText(), "一行目\n二行目ソ{}\\");
}

TEST(ScheduleFolderTest, UnsetMeansNone) {
    hinagiku::testing::MemorySettings settings;
    EXPECT_EQ(scheduleFolder(settings), "");
    settings.writeText("Calendar", "Directory", ".");
    EXPECT_EQ(scheduleFolder(settings), "");
    settings.writeText("Calendar", "Directory", "/home/u/Schedule");
    EXPECT_EQ(scheduleFolder(settings), "/home/u/Schedule");
}

}  // namespace
}  // namespace hinagiku::schedule
