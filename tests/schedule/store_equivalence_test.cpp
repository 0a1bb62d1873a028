// Bulk readers use one listing of the data folder; these tests hold it to
// giving exactly what probing file by file gives, on random data folders.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "calendar/holidays.h"
#include "platform/atomic_file.h"
#include "platform/file_search.h"
#include "schedule/day_marks.h"
#include "schedule/day_matching.h"
#include "schedule/folder_store.h"
#include "schedule/memory_store.h"
#include "schedule/snapshot_store.h"
#include "support/memory_settings.h"
#include "support/temp_home.h"

namespace hinagiku::schedule {
namespace {

namespace fs = std::filesystem;
using testing::day;

class RandomFolder {
  public:
    RandomFolder(const fs::path& folder, unsigned seed, int count) : random_(seed) {
        fs::create_directories(folder);
        for (int i = 0; i < count; ++i) {
            std::string name = randomName();
            std::error_code ec;
            if (pick(12) == 0) {
                // A directory named like an entry.
                if (!fs::exists(folder / name, ec))
                    fs::create_directories(folder / name);
                continue;
            }
            if (pick(8) == 0) {
                for (char& c : name)
                    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            }
            if (!fs::is_directory(folder / name, ec))
                platform::writeFileAtomically(folder / name, "x");
        }
    }

  private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    std::string randomName() {
        static const double kTimes[] = {*encodeTime(9, 0), *encodeTime(0, 5), *encodeTime(23, 59)};
        static const ShiftKind kShifts[] = {ShiftKind::None, ShiftKind::PreviousDay,
                                            ShiftKind::PreviousDaySaturdayOff, ShiftKind::NextDay,
                                            ShiftKind::NextDaySaturdayOff};
        static const WeekMask kMasks[] = {1, 2, 4, 8, 16, 5, 12, 31, 32, 17, 30};
        const int date = day(2024, 1, 1) - 40 + pick(366 + 80);
        const ShiftKind shift = kShifts[pick(5)];
        const WeekMask weeks = kMasks[pick(11)];
        const double time = kTimes[pick(3)];
        switch (pick(12)) {
            case 0:
                return ToDoEntryName(ToDoKind::Dated, date);
            case 1:
                return ToDoEntryName(ToDoKind::Yearly, date, shift);
            case 2:
                return ToDoEntryName(ToDoKind::Monthly, date, shift);
            case 3:
                return ToDoEntryName(ToDoKind::Weekday, date, shift, weeks);
            case 4:
                return PopupEntryName(time, static_cast<PopupKind>(pick(5)), date, shift, weeks);
            case 5:
                return PopupEntryName(time, PopupKind::Weekday, date, shift, weeks);
            case 6:
                return BirthdayEntryName(date - 365 * pick(80));
            case 7:
                return UptimeEntryName(roundUptimeSeconds(pick(4000)));
            case 8: {
                // Off the code: random characters of the code's alphabet.
                static const char kAlphabet[] = "_~-0123456789.BORNWMONFRI?";
                std::string name;
                const int length = 6 + pick(10);
                for (int i = 0; i < length; ++i)
                    name.push_back(kAlphabet[pick(sizeof kAlphabet - 1)]);
                if (name.find_first_not_of('.') == std::string::npos)
                    name = "dots";
                return name;
            }
            case 9:
                return "\xE3\x81\x82" + ToDoEntryName(ToDoKind::Dated, date).substr(1);
            case 10:
                return "BORN" + ToDoEntryName(ToDoKind::Dated, date).substr(4, 4) + ".txt";
            default:
                return ToDoEntryName(ToDoKind::Weekday, date, shift, kEveryWeek);
        }
    }

    std::mt19937 random_;
};

std::vector<std::string> matchNames(const std::vector<DayMatch>& matches) {
    std::vector<std::string> out;
    for (const auto& m : matches)
        out.push_back(m.path + "|" + std::string(kindWord(m.kind)));
    return out;
}

std::vector<std::string> hitNames(const std::vector<ProbeHit>& hits) {
    std::vector<std::string> out;
    for (const auto& h : hits)
        out.push_back(h.name);
    return out;
}

TEST(StoreEquivalenceTest, SnapshotAnswersAsTheFolderDoes) {
    hinagiku::testing::TempHome home;
    hinagiku::testing::MemorySettings settings;
    writeDefaultHolidays(settings);
    for (unsigned seed : {1u, 2u, 3u, 4u}) {
        const fs::path folder = home.path() / ("data" + std::to_string(seed));
        RandomFolder random(folder, seed, seed == 4 ? 1000 : 250);
        const FolderStore byFile(folder.string());
        const SnapshotStore snapshot(folder.string());
        const DayFacts facts(settings);

        for (int month : {1, 2, 3, 5, 7, 9, 12}) {
            EXPECT_EQ(buildDayMarks(2024, month, byFile, settings),
                      buildDayMarks(2024, month, snapshot, settings))
                << seed << " " << month;
        }
        // Stretches with holidays, runs of days off and month ends.
        const std::pair<int, int> stretches[] = {
            {day(2023, 12, 25), day(2024, 1, 16)}, {day(2024, 2, 8), day(2024, 3, 2)},
            {day(2024, 3, 15), day(2024, 4, 2)},   {day(2024, 4, 25), day(2024, 5, 8)},
            {day(2024, 7, 10), day(2024, 7, 22)},  {day(2024, 9, 13), day(2024, 10, 1)},
            {day(2024, 12, 26), day(2025, 1, 3)},
        };
        for (const auto& [first, last] : stretches) {
            for (int d = first; d <= last; ++d) {
                for (auto order : {WeekSearchOrder::DayView, WeekSearchOrder::ScheduleList}) {
                    ASSERT_EQ(matchNames(EntriesForDay(d, byFile, facts, order)),
                              matchNames(EntriesForDay(d, snapshot, facts, order)))
                        << seed << " " << d;
                }
                for (const auto& [h, m] : {std::pair{9, 0}, {0, 5}, {23, 59}}) {
                    const DateTime target = d + *encodeTime(h, m);
                    ASSERT_EQ(hitNames(probePopupMinute(target, byFile, facts)),
                              hitNames(probePopupMinute(target, snapshot, facts)))
                        << seed << " " << d;
                }
            }
        }
        for (const char* pattern : {"*", "*.*", "BORN*", "born03??.*", "_????___.mon", "?*~.__",
                                    "*.__", "W*", "????????.??", "*1*", "0900__??.FRI", ""}) {
            EXPECT_EQ(snapshot.find(pattern), platform::findFiles(folder, pattern)) << pattern;
            EXPECT_EQ(snapshot.any(pattern), !platform::findFiles(folder, pattern).empty())
                << pattern;
        }
    }
}

TEST(StoreEquivalenceTest, ListsFoundThroughTheSettingsMatch) {
    hinagiku::testing::TempHome home;
    hinagiku::testing::MemorySettings settings;
    const fs::path folder = home.path() / "data";
    RandomFolder random(folder, 7, 300);
    settings.writeText("Calendar", "Directory", folder.string());
    const FolderStore byFile(folder.string());
    EXPECT_EQ(FormActivate(2024, 5, settings), buildDayMarks(2024, 5, byFile, settings));
    for (int d = day(2024, 5, 1); d <= day(2024, 5, 31); ++d) {
        EXPECT_EQ(matchNames(EntriesForDay(d, settings)),
                  matchNames(EntriesForDay(d, byFile, DayFacts(settings))));
    }
    // A vanished folder reads as empty, as does no folder at all.
    fs::remove_all(folder);
    EXPECT_TRUE(FormActivate(2024, 5, settings).specialDays.empty());
    EXPECT_TRUE(EntriesForDay(day(2024, 5, 1), settings).empty());
    EXPECT_FALSE(SnapshotStore("").exists("____0501.24"));
    EXPECT_TRUE(FolderStore("").find("*").empty());
}

}  // namespace
}  // namespace hinagiku::schedule
