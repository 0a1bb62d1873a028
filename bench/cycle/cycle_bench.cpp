// The tracker's list update with 500 recorded dates, the cycle file written
// included, and one keystroke in a cycle field (forecasts and details
// rebuilt).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

#include "cycle/cycle_file.h"
#include "cycle/cycle_math.h"
#include "cycle/cycle_tracker.h"
#include "platform/memory_settings.h"

namespace {

namespace fs = std::filesystem;
using namespace hinagiku;

class Folder {
  public:
    Folder() {
        path_ = fs::temp_directory_path() / ("hinagiku-cycle-bench-" + std::to_string(::getpid()));
        fs::create_directories(path_);
    }
    ~Folder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

std::vector<std::string> dates(int count) {
    std::vector<std::string> list;
    const int first = *encodeDate(1980, 1, 1);
    for (int i = 0; i < count; ++i)
        list.push_back(cycle::entryText(first + i * 28 + i % 3));
    return list;
}

void BM_ListUpdateWithFile(benchmark::State& state) {
    Folder folder;
    platform::MemorySettings settings;
    cycle::CycleFile file(settings, folder.path());
    file.writeEntries(dates(500));
    cycle::CycleTracker tracker(file);
    tracker.open();
    bool toggle = false;
    for (auto _ : state) {
        // Alternately add and delete the newest date: each is one list
        // update with the file rewritten.
        if (!toggle) {
            tracker.add({2030, 1, 1});
        } else {
            tracker.select(static_cast<int>(tracker.entries().size()) - 1);
            tracker.removeSelected();
        }
        toggle = !toggle;
    }
    state.counters["dates"] = static_cast<double>(tracker.entries().size());
}
BENCHMARK(BM_ListUpdateWithFile)->Unit(benchmark::kMillisecond);

void BM_FieldKeystroke(benchmark::State& state) {
    Folder folder;
    platform::MemorySettings settings;
    cycle::CycleFile file(settings, folder.path());
    file.writeEntries(dates(500));
    cycle::CycleTracker tracker(file);
    tracker.open();
    int i = 0;
    for (auto _ : state) {
        tracker.setField(cycle::Field::R, std::to_string(25 + i % 10));
        ++i;
    }
}
BENCHMARK(BM_FieldKeystroke)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
