#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "calendar/date_time.h"
#include "diary/diary_store.h"
#include "platform/atomic_file.h"
#include "platform/cp932.h"
#include "support/memory_settings.h"
#include "support/temp_home.h"

namespace hinagiku::diary {
namespace {

namespace fs = std::filesystem;

const int kDay = *encodeDate(2024, 3, 15);

std::string readFile(const fs::path& path) {
    std::string bytes;
    platform::readWholeFile(path, bytes);
    return bytes;
}

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

class DiaryStore : public ::testing::Test {
  protected:
    testing::TempHome home;
    fs::path folder = home.path() / "Diary";
    void SetUp() override { fs::create_directory(folder); }
};

TEST_F(DiaryStore, NamesAndCaptionFromTheDate) {
    EXPECT_EQ(pageFileName(kDay), "20240315.JNL");
    EXPECT_EQ(legacyFileName(kDay), "ni240315.day");
    EXPECT_EQ(dateLabel(kDay), "2024/03/15 (金)");
    EXPECT_EQ(pageCaption(kDay), "2024/03/15 (金)の日記");
    EXPECT_EQ(pageFileName(*encodeDate(1, 1, 1)), "00010101.JNL");
}

TEST_F(DiaryStore, FindsPagesInAnyCaseAndSavesUnderTheNameOnDisk) {
    for (const char* name : {"20240315.jnl", "20240315.JNL", "20240315.Jnl"}) {
        fs::remove_all(folder);
        fs::create_directory(folder);
        writeFile(folder / name, "TITLE:x\r\n:END\r\n");
        const StoredPage page = readStoredPage(folder, kDay);
        EXPECT_EQ(page.source, PageSource::Jnl) << name;
        EXPECT_EQ(page.path.filename(), name);
        EXPECT_EQ(page.page.header.title, "x");
        const fs::path written = writePage(folder, kDay, page.path, "TITLE:y\r\n:END\r\n");
        EXPECT_EQ(written.filename(), name);
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
    }
}

TEST_F(DiaryStore, CaseTwinsKeepTheOneThatWasRead) {
    writeFile(folder / "20240315.JNL", "TITLE:upper\r\n:END\r\n");
    writeFile(folder / "20240315.jnl", "TITLE:lower\r\n:END\r\n");
    const StoredPage page = readStoredPage(folder, kDay);
    ASSERT_EQ(page.source, PageSource::Jnl);
    const std::string other =
        page.path.filename() == "20240315.JNL" ? "20240315.jnl" : "20240315.JNL";
    const std::string otherBytes = readFile(folder / other);
    writePage(folder, kDay, page.path, "TITLE:new\r\n:END\r\n");
    EXPECT_EQ(readFile(page.path), "TITLE:new\r\n:END\r\n");
    EXPECT_EQ(readFile(folder / other), otherBytes);
}

TEST_F(DiaryStore, LegacyConversionWritesTheLinesAndDeletesTheOldFile) {
    const std::string legacy = platform::toCp932("題\r\n【天気】曇\r\n本文\r\n");
    writeFile(folder / "NI240315.DAY", legacy);
    const StoredPage before = readStoredPage(folder, kDay);
    EXPECT_EQ(before.source, PageSource::Legacy);
    EXPECT_TRUE(fs::exists(folder / "NI240315.DAY"));  // reading converts nothing

    const Conversion done = convertLegacy(folder, kDay);
    EXPECT_FALSE(fs::exists(folder / "NI240315.DAY"));
    EXPECT_EQ(readFile(folder / "20240315.JNL"),
              platform::toCp932("TITLE:題\r\nWEATHER:曇\r\n:END\r\n本文\r\n"));
    EXPECT_EQ(done.page.source, PageSource::Jnl);
    EXPECT_EQ(done.page.page.header.title, "題");
    EXPECT_EQ(done.status,
              "NI240315.DAYを" + folder.string() + "/20240315.JNLに変換し保存しました｡");
}

TEST_F(DiaryStore, JnlWinsOverLegacy) {
    writeFile(folder / "20240315.JNL", "TITLE:new\r\n:END\r\n");
    writeFile(folder / "ni240315.day", "old\r\n");
    EXPECT_EQ(readStoredPage(folder, kDay).source, PageSource::Jnl);
}

TEST_F(DiaryStore, NewPageIsWrittenUnderTheCanonicalName) {
    const StoredPage page = readStoredPage(folder, kDay);
    EXPECT_EQ(page.source, PageSource::New);
    EXPECT_FALSE(fs::exists(page.path));
    fs::remove(folder);
    EXPECT_EQ(writePage(folder, kDay, page.path, "x").filename(), "20240315.JNL");
    EXPECT_EQ(readFile(folder / "20240315.JNL"), "x");
}

TEST_F(DiaryStore, RefusedAndFailingFilesAreNeverWrittenOver) {
    // A folder with the page's name is no page; writing there fails.
    fs::create_directory(folder / "20240315.JNL");
    EXPECT_EQ(readStoredPage(folder, kDay).source, PageSource::New);
    EXPECT_THROW(writePage(folder, kDay, {}, "x"), platform::IoError);
    EXPECT_TRUE(fs::is_directory(folder / "20240315.JNL"));
    fs::remove(folder / "20240315.JNL");

    // Too large: refused before reading.
    {
        std::ofstream big(folder / "20240315.JNL", std::ios::binary);
        big << "TITLE:big\r\n:END\r\n";
        big.seekp(static_cast<std::streamoff>(kMaxPageBytes) + 10);
        big << 'x';
    }
    const StoredPage big = readStoredPage(folder, kDay);
    EXPECT_TRUE(big.tooLarge);
    EXPECT_FALSE(pageOpens(big));
}

TEST_F(DiaryStore, UnmountedPrivateFolderCreatesNothing) {
    const fs::path missing = home.path() / "media" / "usb" / "Diary";
    EXPECT_THROW(writePage(missing, kDay, {}, "x"), platform::IoError);
    EXPECT_FALSE(fs::exists(home.path() / "media"));
}

TEST_F(DiaryStore, ReadOnlyFolderReportsTheFailure) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    ::chmod(folder.c_str(), 0555);
    EXPECT_THROW(writePage(folder, kDay, {}, "x"), platform::IoError);
    ::chmod(folder.c_str(), 0755);
}

TEST_F(DiaryStore, FolderAndDefaultsFromTheSettings) {
    platform::MemorySettings settings;
    settings.writeText("Calendar", "Directory", "/data");
    EXPECT_EQ(diaryFolder(settings), "/data/Diary");
    settings.writeText("Privacy", "Directory", "/media/usb");
    EXPECT_EQ(diaryFolder(settings), "/media/usb/Diary");
    PageDefaults defaults = readPageDefaults(settings);
    EXPECT_EQ(defaults.height, 438);
    EXPECT_EQ(defaults.width, 497);
    EXPECT_EQ(defaults.backColor, -2147483643);
    EXPECT_EQ(defaults.fontColor, -2147483640);
    settings.writeText("Nikki", "Width", "600");
    EXPECT_EQ(readPageDefaults(settings).width, 600);
}

}  // namespace
}  // namespace hinagiku::diary
