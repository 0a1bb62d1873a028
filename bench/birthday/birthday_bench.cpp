// The register list of 1,000 birthdays among 10,000 entries of a data
// folder, and one almanac.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "birthday/almanac.h"
#include "birthday/biorhythm.h"
#include "birthday/register_list.h"

namespace {

namespace fs = std::filesystem;
using namespace hinagiku;

class Folder {
  public:
    Folder() {
        path_ =
            fs::temp_directory_path() / ("hinagiku-birthday-bench-" + std::to_string(::getpid()));
        fs::create_directories(path_);
        char name[32];
        for (int i = 0; i < 10000; ++i) {
            if (i % 10 == 0) {
                const int day = i / 10;
                std::snprintf(name, sizeof name, "BORN%02d%02d.%04d", day % 12 + 1, day % 28 + 1,
                              1900 + day);
            } else {
                std::snprintf(name, sizeof name, "____%04d.%02d", i % 1231 + 1, i % 100);
            }
            std::ofstream(path_ / name) << "x";
        }
    }
    ~Folder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

void BM_RegisterList(benchmark::State& state) {
    static Folder folder;
    std::size_t items = 0;
    for (auto _ : state) {
        const auto list = birthday::registerItems(folder.path(), {2024, 3, 5});
        items = list.size();
        benchmark::DoNotOptimize(list.data());
    }
    state.counters["items"] = static_cast<double>(items);
}
BENCHMARK(BM_RegisterList)->Unit(benchmark::kMillisecond);

void BM_Almanac(benchmark::State& state) {
    int day = 0;
    for (auto _ : state) {
        const CivilDate birth{1900 + day % 200, day % 12 + 1, day % 28 + 1};
        auto a = birthday::almanacFor(birth, {2024, 3, 5}, false);
        auto chart = birthday::biorhythmFor(birth, 2024, 3, 300, 120);
        benchmark::DoNotOptimize(a);
        benchmark::DoNotOptimize(chart);
        ++day;
    }
}
BENCHMARK(BM_Almanac)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
