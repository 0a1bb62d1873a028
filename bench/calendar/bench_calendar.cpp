// Per-call costs of the calendar computations, and ten years of
// "hinagikuctl qreki" as a whole process.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "calendar/format_date.h"
#include "calendar/holidays.h"
#include "calendar/lunisolar.h"
#include "calendar/moon.h"
#include "calendar/moon_picture.h"
#include "platform/memory_settings.h"
#include "platform/profile_file.h"

extern char** environ;

namespace hinagiku {
namespace {

// Walks a year of days so that no single date's path dominates.
int dayOf(int i) {
    return *encodeDate(2024, 1, 1) + i % 366;
}

// Day after day within one lunisolar year (2024-01-01 to 2024-10-26), as
// the schedule list and the month view ask: the months are kept.
void BM_Rokuyo(benchmark::State& state) {
    const int first = *encodeDate(2024, 1, 1);
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(Rokuyo(first + i++ % 300));
}
BENCHMARK(BM_Rokuyo);

// Every call searching its months afresh: the months between two winter
// solstices on the full theories.
void BM_RokuyoCold(benchmark::State& state) {
    int i = 0;
    for (auto _ : state) {
        resetLunisolarMemo();
        benchmark::DoNotOptimize(Rokuyo(dayOf(i++)));
    }
}
BENCHMARK(BM_RokuyoCold);

void BM_SolarTermName(benchmark::State& state) {
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(SolarTermName(dayOf(i++)));
}
BENCHMARK(BM_SolarTermName);

// Under the law, every day of two centuries in turn; the settings in
// memory, so that the holiday computation itself is measured.
void BM_HolidayNamesLawTwoCenturies(benchmark::State& state) {
    platform::MemorySettings settings;
    writeDefaultHolidays(settings);
    settings.writeBool(kHolidayLawSection, kHolidayLawKey, true);
    const int first = *encodeDate(1900, 1, 1);
    const int last = *encodeDate(2099, 12, 31);
    for (auto _ : state) {
        for (int day = first; day <= last; ++day)
            benchmark::DoNotOptimize(HolidayNames(day, settings));
    }
    state.SetItemsProcessed(state.iterations() * (last - first + 1));
    state.counters["per_day"] = benchmark::Counter(
        static_cast<double>(last - first + 1),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_HolidayNamesLawTwoCenturies)->Unit(benchmark::kMillisecond);

// The settings file is read on every call, as the program does.
void BM_HolidayNames(benchmark::State& state) {
    std::string folder =
        (std::filesystem::temp_directory_path() / "calendar-bench-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    const std::filesystem::path ini = std::filesystem::path(folder) / "hinagiku.ini";
    platform::ProfileFile settings(ini);
    settings.writeInt("Horiday", "Set", 1);
    writeDefaultHolidays(settings);
    settings.writeBool("CalendarEx", "Happy_Monday", true);
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(HolidayNames(dayOf(i++), settings));
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_HolidayNames);

// What the moon panel computes on every tick: the values, the three texts
// and the shading of the 64-pixel picture.
void BM_MoonTick(benchmark::State& state) {
    double instant = *encodeDate(2024, 3, 15) + 0.3;
    for (auto _ : state) {
        const MoonValues values = moonValues(instant);
        benchmark::DoNotOptimize(julianDateText(values.julianDate));
        benchmark::DoNotOptimize(moonAgeText(values.age));
        benchmark::DoNotOptimize(illuminationText(values.illumination));
        benchmark::DoNotOptimize(moonShadow(MoonSize::ms64, values.phaseAngle));
        instant += 1.0 / 86400.0;
    }
}
BENCHMARK(BM_MoonTick);

void BM_FormatDate(benchmark::State& state) {
    const double value = *encodeDate(2024, 3, 15) + 0.3125;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FormatDate("yyyy\"年\"m\"月\"d\"日(\"ddd\")\" hh:nn:ss", value));
    }
}
BENCHMARK(BM_FormatDate);

void BM_FormatDateFileName(benchmark::State& state) {
    const double value = *encodeDate(2024, 3, 15) + 0.3125;
    for (auto _ : state)
        benchmark::DoNotOptimize(FormatDate("hhnnmmdd.yy", value));
}
BENCHMARK(BM_FormatDateFileName);

// hinagikuctl with the words given, run to its end with its output
// discarded, once per iteration.
void runProcess(benchmark::State& state, std::vector<const char*> argv) {
    argv.insert(argv.begin(), HINAGIKUCTL_PATH);
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    for (auto _ : state) {
        pid_t pid = 0;
        if (posix_spawn(&pid, argv[0], &actions, nullptr, const_cast<char**>(argv.data()),
                        environ) != 0) {
            state.SkipWithError("cannot start hinagikuctl");
            break;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("hinagikuctl failed");
            break;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
}

void BM_QrekiTenYearsProcess(benchmark::State& state) {
    runProcess(state, {"qreki", "2001-01-01", "2010-12-31"});
}
BENCHMARK(BM_QrekiTenYearsProcess)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_QrekiTwoCenturiesProcess(benchmark::State& state) {
    runProcess(state, {"qreki", "1900-01-01", "2099-12-31"});
}
BENCHMARK(BM_QrekiTwoCenturiesProcess)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_HolidaysLawTwoCenturiesProcess(benchmark::State& state) {
    runProcess(state, {"holidays", "--law", "1900-01-01", "2099-12-31"});
}
BENCHMARK(BM_HolidaysLawTwoCenturiesProcess)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(10);

}  // namespace
}  // namespace hinagiku

BENCHMARK_MAIN();
