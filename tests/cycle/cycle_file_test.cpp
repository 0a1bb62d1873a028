#include "cycle/cycle_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "cycle/cycle_tracker.h"
#include "platform/atomic_file.h"
#include "platform/memory_settings.h"
#include "support/temp_home.h"

namespace hinagiku::cycle {
namespace {

namespace fs = std::filesystem;
using testing::TempHome;

unsigned modeOf(const fs::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return 0;
    return st.st_mode & 07777;
}

std::string readBytes(const fs::path& path) {
    std::string bytes;
    platform::readWholeFile(path, bytes);
    return bytes;
}

// A file as the Windows version leaves it: lower-case keys, Count out of
// step, a memo with NEC row characters (①㈱ in CP932), other sections.
const std::string kWindowsFile =
    "[Period]\r\n"
    "count=5\r\n"
    "0=2001/01/03\r\n"
    "2=2001/01/31\r\n"
    "days=7\r\n"
    "1=2001/02/28\r\n"
    "ravg=30\r\n"
    "[Comment]\r\n"
    "2001/01/03=\x87\x40\x87\x8a memo\r\n"
    "[Other]\r\n"
    "; kept as it is\r\n"
    "x = y \r\n";

std::string tail(const std::string& bytes) {
    return bytes.substr(bytes.find("[Comment]"));
}

struct Fixture {
    TempHome home;
    platform::MemorySettings settings;
    fs::path privateFolder;
    Fixture() {
        privateFolder = home.path() / "private";
        fs::create_directories(privateFolder);
    }
    fs::path folder() { return *preparePeriodFolder(privateFolder.string()); }
};

TEST(CycleFile, WindowsFileReadAndUntouchedLinesKept) {
    Fixture f;
    f.home.writeFile("private/Period/Period.ini", kWindowsFile);
    CycleFile file(f.settings, f.folder());
    CycleTracker tracker(file);
    tracker.open();
    EXPECT_EQ(tracker.entries(),
              (std::vector<std::string>{"2001/01/03", "2001/01/31", "2001/02/28"}));
    EXPECT_EQ(tracker.periodDays(), 7);
    tracker.select(0);
    EXPECT_EQ(tracker.memo(), "①㈱ memo");
    const std::string afterOpen = readBytes(file.path());
    EXPECT_EQ(tail(afterOpen), tail(kWindowsFile));
    EXPECT_EQ(file.file().readText("Period", "Count", ""), "3") << afterOpen;
    EXPECT_EQ(afterOpen.find("count=5"), std::string::npos);
    EXPECT_NE(afterOpen.find("days=7\r\n"), std::string::npos);

    // Opening again and adding a listed date change nothing on the disk.
    CycleTracker again(file);
    again.open();
    EXPECT_FALSE(again.add({2001, 1, 31}));
    EXPECT_EQ(readBytes(file.path()), afterOpen);
    EXPECT_TRUE(again.takeWriteErrors().empty());
}

TEST(CycleFile, FolderAndFileAreOwnerOnly) {
    Fixture f;
    const fs::path folder = f.folder();
    EXPECT_EQ(folder.filename(), "Period");
    EXPECT_EQ(modeOf(folder), 0700u);
    CycleFile file(f.settings, folder);
    CycleTracker tracker(file);
    tracker.open();
    tracker.add({2001, 1, 3});
    EXPECT_EQ(modeOf(file.path()), 0600u);

    // A wider file is narrowed at its next write.
    ::chmod(file.path().c_str(), 0644);
    tracker.add({2001, 1, 31});
    EXPECT_EQ(modeOf(file.path()), 0600u);
    // The settings file's own writes are unchanged.
    platform::writeFileAtomically(f.home.path() / "plain.txt", "x");
    EXPECT_EQ(modeOf(f.home.path() / "plain.txt") & 0600u, 0600u);
}

TEST(CycleFile, FolderAndFileFoundInAnyCase) {
    Fixture f;
    f.home.writeFile("private/PERIOD/PERIOD.INI", "[PERIOD]\r\n0=2001/01/03\r\nCOUNT=1\r\n");
    const fs::path folder = f.folder();
    EXPECT_EQ(folder.filename(), "PERIOD");
    CycleFile file(f.settings, folder);
    EXPECT_EQ(file.path().filename(), "PERIOD.INI");
    CycleTracker tracker(file);
    tracker.open();
    tracker.add({2001, 2, 1});
    EXPECT_FALSE(fs::exists(folder / "Period.ini") &&
                 !fs::equivalent(folder / "Period.ini", folder / "PERIOD.INI"));
    EXPECT_NE(readBytes(folder / "PERIOD.INI").find("1=2001/02/01"), std::string::npos);
}

TEST(CycleFile, UnmountedMediumMakesNothing) {
    TempHome home;
    const fs::path missing = home.path() / "card" / "private";
    EXPECT_FALSE(preparePeriodFolder(missing.string()));
    EXPECT_FALSE(fs::exists(home.path() / "card"));
}

TEST(CycleFile, DatesMoveOutOfTheSettingsFile) {
    Fixture f;
    f.settings.writeText("Period", "0", "2001/01/03");
    f.settings.writeText("Period", "1", "2001/03/01");
    f.settings.writeText("Period", "Count", "2");
    f.settings.writeText("Form", "Delete", "1");
    f.home.writeFile("private/Period/Period.ini",
                     "[Period]\r\n0=2001/01/31\r\n0x=no\r\nCount=1\r\n");
    CycleFile file(f.settings, f.folder());
    CycleTracker tracker(file);
    tracker.open();
    EXPECT_EQ(tracker.entries(),
              (std::vector<std::string>{"2001/01/03", "2001/01/31", "2001/03/01"}));
    EXPECT_TRUE(f.settings.listKeys("Period").empty());
    EXPECT_EQ(f.settings.readText("Form", "Delete", ""), "1");
    EXPECT_EQ(file.file().readText("Period", "2", ""), "2001/03/01");
    EXPECT_EQ(file.file().readText("Period", "0x", ""), "no");
    EXPECT_EQ(file.file().readText("Period", "Count", ""), "3");
}

TEST(CycleFile, BadInput) {
    struct Case {
        std::string bytes;
        std::vector<std::string> entries;
        int days;
    };
    const Case cases[] = {
        {"[Period]\r\nCount=999999999\r\nDays=abc\r\n", {}, 5},
        {"[Period]\r\nDays=99\r\n5=2001/01/03\r\n", {"2001/01/03"}, 20},
        {"[Period]\r\n0=2001/13/45\r\n1=-end-\r\nCount=2\r\n", {"-end-", "2001/13/45"}, 5},
        {std::string("\x00\xff\x01[Period\r\n0=\x82\xa0\x00\r\n", 20), {}, 5},
    };
    for (const auto& c : cases) {
        Fixture f;
        f.home.writeFile("private/Period/Period.ini", c.bytes);
        CycleFile file(f.settings, f.folder());
        CycleTracker tracker(file);
        tracker.open();
        EXPECT_EQ(tracker.entries(), c.entries);
        EXPECT_EQ(tracker.periodDays(), c.days);
    }
}

TEST(CycleFile, LargeFileOpens) {
    Fixture f;
    std::string big = "[Period]\r\n0=2001/01/03\r\nCount=1\r\n[Noise]\r\n";
    const std::string line = "k=" + std::string(1000, 'x') + "\r\n";
    while (big.size() < 50u * 1024 * 1024)
        big += line;
    f.home.writeFile("private/Period/Period.ini", big);
    CycleFile file(f.settings, f.folder());
    CycleTracker tracker(file);
    tracker.open();
    EXPECT_EQ(tracker.entries(), (std::vector<std::string>{"2001/01/03"}));
    EXPECT_EQ(readBytes(file.path()).size(), big.size());
}

TEST(CycleFile, AFolderNamedLikeTheFileRefusesWritesAndLosesNothing) {
    Fixture f;
    fs::create_directories(f.privateFolder / "Period" / "Period.ini");
    CycleFile file(f.settings, f.folder());
    CycleTracker tracker(file);
    tracker.open();
    tracker.add({2001, 1, 3});
    EXPECT_EQ(tracker.entries().size(), 1u);  // shown although not stored
    EXPECT_FALSE(tracker.takeWriteErrors().empty());
    EXPECT_TRUE(fs::is_directory(f.privateFolder / "Period" / "Period.ini"));
}

TEST(CycleFile, ReadOnlyFileIsShown) {
    Fixture f;
    f.home.writeFile("private/Period/Period.ini", "[Period]\r\n0=2001/01/03\r\nCount=1\r\n");
    const fs::path path = f.privateFolder / "Period" / "Period.ini";
    ::chmod(path.c_str(), 0444);
    CycleFile file(f.settings, f.folder());
    CycleTracker tracker(file);
    tracker.open();
    EXPECT_EQ(tracker.entries(), (std::vector<std::string>{"2001/01/03"}));
    EXPECT_TRUE(tracker.takeWriteErrors().empty());  // nothing needed writing
    EXPECT_EQ(modeOf(path), 0444u);
}

}  // namespace
}  // namespace hinagiku::cycle
