// The phone book's costs on full tabs: 256 rows of about 3 KB each.
#include <benchmark/benchmark.h>

#include <QApplication>

#include <filesystem>

#include "phonebook/tab_file.h"
#include "phonebook/tab_search.h"
#include "phonebook/ui/phone_book_window.h"
#include "platform/memory_settings.h"
#include "platform/sound_recorder.h"
#include "support/temp_home.h"

namespace {

using namespace hinagiku;
using namespace hinagiku::phonebook;

TabGrid fullGrid(int seed) {
    TabGrid grid;
    for (int r = 0; r < kRowCount; ++r) {
        for (int c = 0; c < kColumnCount; ++c) {
            std::string cell = "\x8d\xb2\x93\xa1 " + std::to_string(seed) + "-" + std::to_string(r);
            while (cell.size() < 480)
                cell += " \x93\xfa\x96\x7b,abc\"d";
            grid.rows[r][c] = cell;
        }
    }
    return grid;
}

struct Folder {
    testing::TempHome home;
    std::filesystem::path tel = home.path() / "Tel";
    Folder() {
        std::filesystem::create_directories(tel);
        for (int t = 0; t < kIndexTabCount; ++t) {
            TabFile file = readTabFile(tel, t);
            saveTabFile(file, fullGrid(t));
        }
    }
};

Folder& folder() {
    static Folder f;
    return f;
}

void BM_ReadFullTab(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(readTabFile(folder().tel, 3));
    state.SetLabel(std::to_string(readTabFile(folder().tel, 3).bytes.size()) + " bytes");
}
BENCHMARK(BM_ReadFullTab)->Unit(benchmark::kMillisecond);

void BM_WriteFullTab(benchmark::State& state) {
    TabFile file = readTabFile(folder().tel, 4);
    TabGrid a = fullGrid(100);
    TabGrid b = fullGrid(101);
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        saveTabFile(file, flip ? a : b);
    }
}
BENCHMARK(BM_WriteFullTab)->Unit(benchmark::kMillisecond);

// The write without the file system: the bytes a full tab is saved as.
void BM_EncodeFullTab(benchmark::State& state) {
    const TabGrid grid = fullGrid(100);
    for (auto _ : state)
        benchmark::DoNotOptimize(encodeTab(grid));
}
BENCHMARK(BM_EncodeFullTab)->Unit(benchmark::kMillisecond);

void BM_SearchTwelveTabs(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(searchAndStore(folder().tel, "3-255"));
}
BENCHMARK(BM_SearchTwelveTabs)->Unit(benchmark::kMillisecond);

// The worst case: every tab holds the text, so every record is looked at
// (and 256 of the 3072 matches are kept).
void BM_SearchTwelveTabsEveryRecord(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(searchAndStore(folder().tel, "abc"));
}
BENCHMARK(BM_SearchTwelveTabsEveryRecord)->Unit(benchmark::kMillisecond);

void BM_TabChange(benchmark::State& state) {
    platform::MemorySettings settings;
    platform::SoundRecorder sound;
    platform::setSoundOutput(&sound);
    PhoneBookWindow window(settings, folder().tel);
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    window.show();
    int tab = 0;
    for (auto _ : state) {
        tab = (tab + 1) % kIndexTabCount;
        window.showTab(tab);
        QApplication::processEvents();
    }
    platform::setSoundOutput(nullptr);
}
BENCHMARK(BM_TabChange)->Unit(benchmark::kMillisecond);

}  // namespace
