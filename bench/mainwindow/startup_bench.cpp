// Start-up of the main window as the program does it (offscreen): from
// construction through the start-up sequence to the window exposed, with the
// resident memory after the first start and the CPU the idle main timer
// uses. The process start itself (dynamic linking, Qt's platform plugin) is
// measured by hand; see the README.
#include <benchmark/benchmark.h>

#include <QEventLoop>
#include <QTest>
#include <QTimer>

#include <sys/resource.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "mainwindow/ui/main_window.h"
#include "platform/clock.h"
#include "platform/profile_file.h"

namespace {

std::filesystem::path makeHome() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "hinagiku-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        std::abort();
    const std::filesystem::path home = pattern;
    std::filesystem::create_directories(home / "Schedule");
    hinagiku::platform::ProfileFile ini(home / "hinagiku.ini");
    ini.writeText("Calendar", "Directory", (home / "Schedule").string());
    ini.writeInt("Horiday", "Set", 1);
    ini.writeText("Tokeiya", "Ver", "Version 2.70");
    ini.writeBool("Form", "Waveplay", false);
    return home;
}

long residentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    }
    return 0;
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

const std::filesystem::path& home() {
    static const std::filesystem::path h = makeHome();
    return h;
}

void BM_MainWindowShown(benchmark::State& state) {
    hinagiku::platform::ProfileFile settings(home() / "hinagiku.ini");
    hinagiku::platform::SystemClock clock;
    for (auto _ : state) {
        auto window = std::make_unique<hinagiku::mainwindow::MainWindow>(settings, clock, home());
        window->FormCreate();
        if (!QTest::qWaitForWindowExposed(window.get()))
            state.SkipWithError("never exposed");
        state.PauseTiming();
        window.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["rss_kB"] = static_cast<double>(residentKilobytes());
}
BENCHMARK(BM_MainWindowShown)->Unit(benchmark::kMillisecond)->Iterations(10);

// Ten seconds of the main timer at 1000 ms with nothing due: CPU per second.
void BM_IdleTicking(benchmark::State& state) {
    hinagiku::platform::ProfileFile settings(home() / "hinagiku.ini");
    hinagiku::platform::SystemClock clock;
    hinagiku::mainwindow::MainWindow window(settings, clock, home());
    window.FormCreate();
    for (auto _ : state) {
        const double before = cpuSeconds();
        // A plain event loop: QTest::qWait would poll and spend CPU of its own.
        QEventLoop loop;
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        loop.exec();
        state.counters["cpu_percent_of_core"] = (cpuSeconds() - before) / 10.0 * 100.0;
    }
}
BENCHMARK(BM_IdleTicking)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
