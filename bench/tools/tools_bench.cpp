// The launcher menu's build over a large settings file, the command box's
// refill over a large shortcut folder, and the day calculator.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/atomic_file.h"
#include "platform/cp932.h"
#include "platform/profile_file.h"
#include "tools/day_calculation.h"
#include "tools/launcher_menu.h"
#include "tools/shortcut_folder.h"

namespace {

namespace fs = std::filesystem;
using namespace hinagiku;

// The benchmark's own folder, removed when the program ends.
struct ScratchRoot {
    fs::path path =
        fs::temp_directory_path() / ("hinagiku-tools-bench-" + std::to_string(::getpid()));
    ~ScratchRoot() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

fs::path scratch(const std::string& name) {
    static const ScratchRoot root;
    const fs::path path = root.path / name;
    fs::create_directories(path);
    return path;
}

// A settings file of about 1 MB with a launcher of 300 items: 100 in the top
// level, 100 in each of two submenus (one of them nested).
fs::path launcherSettings() {
    static const fs::path path = [] {
        std::string text;
        auto level = [&text](const std::string& name, int count, int submenuAt) {
            text += "[ExecTitle_" + name + "]\r\nCount=" + std::to_string(count) + "\r\n";
            for (int k = 0; k < count; ++k)
                text += std::to_string(k) + "=" +
                        (k == submenuAt ? "サブ" : "項目" + std::to_string(k)) + "\r\n";
            text += "[ExecCommand_" + name + "]\r\n";
            for (int k = 0; k < count; ++k)
                text += std::to_string(k) + "=/usr/bin/program" + std::to_string(k) +
                        "?--file /tmp/x" + std::to_string(k) + "\r\n";
            text += "[ExecSub_" + name + "]\r\n";
            for (int k = 0; k < count; ++k)
                text += std::to_string(k) + "=" + (k == submenuAt ? "1" : "0") + "\r\n";
        };
        level("Main", 100, 50);
        level("Main-サブ", 100, 10);
        level("Main-サブ-サブ", 100, -1);
        // Everything else a settings file of long use holds.
        int section = 0;
        while (text.size() < 1024 * 1024) {
            text += "[Entry_" + std::to_string(section++) + "]\r\n";
            for (int k = 0; k < 20; ++k)
                text += "key" + std::to_string(k) + "=value with some length " + std::to_string(k) +
                        "\r\n";
        }
        const fs::path file = scratch("ini") / "hinagiku.ini";
        platform::writeFileAtomically(file, platform::toCp932(text));
        return file;
    }();
    return path;
}

void BM_BuildLauncherMenu(benchmark::State& state) {
    platform::ProfileFile settings(launcherSettings());
    for (auto _ : state) {
        const tools::LauncherMenu menu = tools::BuildLauncherMenu(settings);
        benchmark::DoNotOptimize(menu.commands.size());
    }
}
BENCHMARK(BM_BuildLauncherMenu)->Unit(benchmark::kMillisecond);

void BM_ReadLauncherMenu(benchmark::State& state) {
    platform::ProfileFile settings(launcherSettings());
    for (auto _ : state) {
        const tools::LauncherMenu menu = tools::readLauncherMenu(settings);
        benchmark::DoNotOptimize(menu.commands.size());
    }
}
BENCHMARK(BM_ReadLauncherMenu)->Unit(benchmark::kMillisecond);

// One key in the command box: the folder listed again and the names matched.
void BM_RefillShortcuts(benchmark::State& state) {
    static const fs::path folder = [] {
        const fs::path path = scratch("shortcuts");
        for (int i = 0; i < 2000; ++i)
            platform::writeFileAtomically(path / ("program" + std::to_string(i) + ".desktop"), "");
        return path;
    }();
    tools::ShortcutFolder shortcuts(folder);
    for (auto _ : state) {
        shortcuts.refresh();
        benchmark::DoNotOptimize(shortcuts.completions("program1"));
    }
}
BENCHMARK(BM_RefillShortcuts)->Unit(benchmark::kMillisecond);

void BM_DayPeriod(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            tools::calculatePeriod({1, 1, 1, 0, 0, 0}, {9999, 12, 31, 23, 59, 59}));
    }
}
BENCHMARK(BM_DayPeriod);

}  // namespace

BENCHMARK_MAIN();
