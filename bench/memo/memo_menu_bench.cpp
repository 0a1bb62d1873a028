// The memo menu and the memo list's tree rebuilt from a settings file of 100
// and 1,000 memos spread over the ten categories (goal: 20 ms at 1,000),
// and the one-read index both can be built from.
#include <benchmark/benchmark.h>

#include <QMenu>

#include <memory>

#include "memo/memo_index.h"
#include "memo/memo_store.h"
#include "memo/ui/memo_list_window.h"
#include "memo/ui/memo_windows.h"
#include "platform/profile_file.h"
#include "support/temp_home.h"

namespace {

using namespace hinagiku;

// A home with `count` memos, titled like real ones, in the settings file.
struct Fixture {
    explicit Fixture(int count) : ini(home.iniPath()) {
        ini.writeText("Calendar", "Directory", home.path().string());
        ini.writeInt("Form", "Waveplay", 0);
        ini.edit([&](platform::SettingsEdit& edit) {
            for (int i = 1; i <= count; ++i) {
                const std::string key = "Memo" + std::to_string(i);
                edit.writeText(memo::categorySection(i % memo::kCategoryCount), key,
                               "買い物リスト " + std::to_string(i) + " の題名");
                edit.writeText(key, "Show", "0");
                edit.writeText(key, "BackColor", "65535");
            }
            edit.writeText("MemoCount", "Count", std::to_string(count));
        });
    }
    testing::TempHome home;
    platform::ProfileFile ini;
};

void BM_MemoMenu(benchmark::State& state) {
    Fixture fixture(static_cast<int>(state.range(0)));
    QMenu menu;
    for (auto _ : state) {
        menu.clear();
        memo::fillMemoMenu(&menu, fixture.ini);
        benchmark::DoNotOptimize(menu.actions().size());
    }
}
BENCHMARK(BM_MemoMenu)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_MemoTree(benchmark::State& state) {
    Fixture fixture(static_cast<int>(state.range(0)));
    auto window = std::make_unique<memo::MemoListWindow>(fixture.ini);
    for (auto _ : state) {
        window->reload({}, -1, false);
        benchmark::DoNotOptimize(window->selectedCategory());
    }
}
BENCHMARK(BM_MemoTree)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_ReadMemoIndex(benchmark::State& state) {
    Fixture fixture(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(memo::readMemoIndex(fixture.ini));
}
BENCHMARK(BM_ReadMemoIndex)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
