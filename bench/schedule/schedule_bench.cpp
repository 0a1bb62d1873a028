// The month marks, EntriesForDay and the tick over data folders of 100, 1,000
// and 10,000 entries; each bulk reader once with one listing of the folder
// and once probing file by file.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <set>

#include "calendar/holidays.h"
#include "platform/atomic_file.h"
#include "schedule/day_marks.h"
#include "schedule/day_matching.h"
#include "schedule/folder_store.h"
#include "schedule/popup_timer.h"
#include "schedule/snapshot_store.h"
#include "support/memory_settings.h"

namespace {

namespace fs = std::filesystem;
using namespace hinagiku;
using namespace hinagiku::schedule;

// A data folder of `count` entries spread over all families and three years.
class BenchFolder {
  public:
    explicit BenchFolder(int count) {
        std::string pattern = (fs::temp_directory_path() / "hinagiku-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp");
        path_ = pattern;
        std::mt19937 random(static_cast<unsigned>(count));
        auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
        const ShiftKind shifts[] = {ShiftKind::None, ShiftKind::PreviousDay, ShiftKind::NextDay,
                                    ShiftKind::PreviousDaySaturdayOff,
                                    ShiftKind::NextDaySaturdayOff};
        const WeekMask masks[] = {1, 2, 4, 8, 16, 5, 10, 32, 31};
        std::set<std::string> names;
        while (static_cast<int>(names.size()) < count) {
            const int date = dayNumberOf({2023, 1, 1}) + pick(3 * 365);
            const double time = *encodeTime(pick(24), pick(12) * 5);
            const ShiftKind shift = shifts[pick(5)];
            const WeekMask weeks = masks[pick(9)];
            switch (pick(8)) {
                case 0:
                    names.insert(ToDoEntryName(ToDoKind::Dated, date));
                    break;
                case 1:
                    names.insert(ToDoEntryName(ToDoKind::Yearly, date, shift));
                    break;
                case 2:
                    names.insert(ToDoEntryName(ToDoKind::Monthly, date, shift));
                    break;
                case 3:
                    names.insert(ToDoEntryName(ToDoKind::Weekday, date, shift, weeks));
                    break;
                case 4:
                    names.insert(BirthdayEntryName(date - 365 * (1 + pick(80))));
                    break;
                case 5:
                    names.insert(UptimeEntryName(roundUptimeSeconds(pick(100000))));
                    break;
                default:
                    names.insert(
                        PopupEntryName(time, static_cast<PopupKind>(pick(5)), date, shift, weeks));
            }
        }
        for (const auto& name : names)
            platform::writeFileAtomically(path_ / name, "x");
        writeDefaultHolidays(settings_);
        settings_.writeText("Calendar", "Directory", path_.string());
    }
    ~BenchFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    std::string folder() const { return path_.string(); }
    const platform::Settings& settings() const { return settings_; }
    platform::Settings& settings() { return settings_; }

  private:
    fs::path path_;
    hinagiku::testing::MemorySettings settings_;
};

BenchFolder& folderOf(int count) {
    static std::map<int, std::unique_ptr<BenchFolder>> folders;
    auto& folder = folders[count];
    if (!folder)
        folder = std::make_unique<BenchFolder>(count);
    return *folder;
}

// One rebuild: one listing of the folder, then every day of the month.
void BM_MarksOfAMonth(benchmark::State& state) {
    auto& folder = folderOf(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(FormActivate(2024, 7, folder.settings()));
}
BENCHMARK(BM_MarksOfAMonth)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_MarksOfAMonthFileByFile(benchmark::State& state) {
    auto& folder = folderOf(static_cast<int>(state.range(0)));
    const FolderStore store(folder.folder());
    for (auto _ : state)
        benchmark::DoNotOptimize(buildDayMarks(2024, 7, store, folder.settings()));
}
BENCHMARK(BM_MarksOfAMonthFileByFile)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMicrosecond);

// One day of a rebuild that holds the listing (the schedule list's range).
void BM_EntriesForDay(benchmark::State& state) {
    auto& folder = folderOf(static_cast<int>(state.range(0)));
    const SnapshotStore store(folder.folder());
    const int day = dayNumberOf({2024, 7, 16});
    for (auto _ : state) {
        const DayFacts facts(folder.settings());
        benchmark::DoNotOptimize(EntriesForDay(day, store, facts));
    }
}
BENCHMARK(BM_EntriesForDay)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

// A single day read afresh: the listing included.
void BM_EntriesForDayFresh(benchmark::State& state) {
    auto& folder = folderOf(static_cast<int>(state.range(0)));
    const int day = dayNumberOf({2024, 7, 16});
    for (auto _ : state)
        benchmark::DoNotOptimize(EntriesForDay(day, folder.settings()));
}
BENCHMARK(BM_EntriesForDayFresh)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_EntriesForDayFileByFile(benchmark::State& state) {
    auto& folder = folderOf(static_cast<int>(state.range(0)));
    const FolderStore store(folder.folder());
    const int day = dayNumberOf({2024, 7, 16});
    for (auto _ : state) {
        const DayFacts facts(folder.settings());
        benchmark::DoNotOptimize(EntriesForDay(day, store, facts));
    }
}
BENCHMARK(BM_EntriesForDayFileByFile)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMicrosecond);

// Where a rebuild's fixed cost goes: the platform listing, then the index.
void BM_DirectoryListing(benchmark::State& state) {
    auto& folder = folderOf(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(platform::DirectorySnapshot(folder.folder()));
}
BENCHMARK(BM_DirectoryListing)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_SnapshotStore(benchmark::State& state) {
    auto& folder = folderOf(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(SnapshotStore(folder.folder()));
}
BENCHMARK(BM_SnapshotStore)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

class QuietHost final : public TickHost {
  public:
    void reopenShownMemos() override {}
    void scheduleListBackToToday() override {}
    void calendarBackToToday() override {}
    void showBirthdayGreeting() override {}
    void playSoundFile(const std::string&) override {}
    void openDiaryList() override {}
    void loadPopupEntry(const PopupLoad& entry) override { benchmark::DoNotOptimize(entry.path); }
    void presentPopup(std::uint64_t, const std::string&, DateTime) override {}
    void checkMail() override {}
    void refreshDisplays(DateTime now, DateTime) override { benchmark::DoNotOptimize(now); }
    void reportError(const std::string&) override {}
};

class SteppingClock final : public platform::Clock {
  public:
    double now() const override { return now_; }
    int timeZoneBiasMinutes() const override { return -540; }
    std::uint32_t uptimeMilliseconds() const override { return uptime_; }
    double now_ = 0;
    std::uint32_t uptime_ = 3600000;
};

// A tick inside a minute and a ten-second slot that have been seen: what
// runs every second.
void BM_TickPerSecond(benchmark::State& state) {
    auto& folder = folderOf(1000);
    folder.settings().writeBool("pop", "check", true);
    SteppingClock clock;
    clock.now_ = dayNumberOf({2024, 7, 16}) + *encodeTime(9, 0, 1);
    QuietHost host;
    PopupTimer timer(clock, folder.settings(), host);
    timer.Timer1Timer();
    for (auto _ : state)
        timer.Timer1Timer();
}
BENCHMARK(BM_TickPerSecond)->Unit(benchmark::kMicrosecond);

// A tick that sees a new minute: the popup probe over one listing.
void BM_TickMinute(benchmark::State& state) {
    auto& folder = folderOf(static_cast<int>(state.range(0)));
    SteppingClock clock;
    const double base = dayNumberOf({2024, 7, 16}) + *encodeTime(9, 0, 1);
    clock.now_ = base;
    QuietHost host;
    PopupTimer timer(clock, folder.settings(), host);
    timer.Timer1Timer();
    int minute = 0;
    for (auto _ : state) {
        minute = (minute + 1) % 600;
        clock.now_ = base + minute / 1440.0;
        timer.Timer1Timer();
    }
}
BENCHMARK(BM_TickMinute)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

// The minute probe file by file, for the ratio.
void BM_MinuteProbeFileByFile(benchmark::State& state) {
    auto& folder = folderOf(static_cast<int>(state.range(0)));
    const FolderStore store(folder.folder());
    const double base = dayNumberOf({2024, 7, 16}) + *encodeTime(9, 0);
    int minute = 0;
    for (auto _ : state) {
        minute = (minute + 1) % 600;
        const DayFacts facts(folder.settings());
        benchmark::DoNotOptimize(probePopupMinute(base + minute / 1440.0, store, facts));
    }
}
BENCHMARK(BM_MinuteProbeFileByFile)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_MinuteProbeSnapshot(benchmark::State& state) {
    auto& folder = folderOf(static_cast<int>(state.range(0)));
    const double base = dayNumberOf({2024, 7, 16}) + *encodeTime(9, 0);
    int minute = 0;
    for (auto _ : state) {
        minute = (minute + 1) % 600;
        const SnapshotStore store(folder.folder());
        const DayFacts facts(folder.settings());
        benchmark::DoNotOptimize(probePopupMinute(base + minute / 1440.0, store, facts));
    }
}
BENCHMARK(BM_MinuteProbeSnapshot)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
