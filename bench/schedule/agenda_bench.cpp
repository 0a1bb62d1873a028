// The schedule list's 199 days and the management window's listing over
// data folders of 100, 1,000 and 10,000 entries.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <set>

#include "calendar/holidays.h"
#include "platform/atomic_file.h"
#include "richtext/rtf_writer.h"
#include "schedule/agenda/entry_listing.h"
#include "schedule/agenda/schedule_list_text.h"
#include "schedule/entry_name.h"
#include "support/memory_settings.h"

namespace {

namespace fs = std::filesystem;
using namespace hinagiku;
using namespace hinagiku::schedule;

// `count` entries of every family over the three years around 2024, each
// with a line of RTF text.
class BenchFolder {
  public:
    explicit BenchFolder(int count) {
        std::string pattern = (fs::temp_directory_path() / "hinagiku-agenda-XXXXXX").string();
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
            switch (pick(7)) {
                case 0:
                case 1:
                    names.insert(ToDoEntryName(ToDoKind::Dated, date));
                    break;
                case 2:
                    names.insert(ToDoEntryName(ToDoKind::Yearly, date, shift));
                    break;
                case 3:
                    names.insert(ToDoEntryName(ToDoKind::Monthly, date, shift));
                    break;
                case 4:
                    names.insert(ToDoEntryName(ToDoKind::Weekday, date, shift, weeks));
                    break;
                case 5:
                    names.insert(BirthdayEntryName(date - 365 * (1 + pick(80))));
                    break;
                default:
                    names.insert(
                        PopupEntryName(time, static_cast<PopupKind>(pick(5)), date, shift, weeks));
            }
        }
        const std::string text = richtext::plainTextToRtf("会議の準備と資料の確認");
        for (const auto& name : names)
            platform::writeFileAtomically(path_ / name, text);
        writeDefaultHolidays(settings_);
        settings_.writeText("Calendar", "Directory", path_.string());
    }
    ~BenchFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    std::string folder() const { return path_.string(); }
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

const DateTime kToday = *encodeDate(2024, 3, 15);

// One build of the schedule list: 99 days before and after, one listing.
void BM_ScheduleList199Days(benchmark::State& state) {
    auto& folder = folderOf(static_cast<int>(state.range(0)));
    folder.settings().writeBool("Form", "Qreki", state.range(1) != 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(buildAgenda(kToday, {99, 99}, kToday, folder.settings()));
}
BENCHMARK(BM_ScheduleList199Days)
    ->ArgsProduct({{100, 1000, 10000}, {0, 1}})
    ->ArgNames({"entries", "qreki"})
    ->Unit(benchmark::kMillisecond);

void BM_ManagementListing(benchmark::State& state) {
    auto& folder = folderOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            listEntries(folder.folder(), ListingMode::All, kToday + 0.5, kToday));
    }
}
BENCHMARK(BM_ManagementListing)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->ArgName("files")
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
