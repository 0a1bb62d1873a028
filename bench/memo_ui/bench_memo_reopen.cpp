// Start-up with memos left open: reopenShownMemos for 30 memos of about
// 20 KB of rich text each, against the real settings file, until every
// window is shown. Offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>

#include <filesystem>
#include <memory>
#include <string>

#include "memo/memo_store.h"
#include "memo/ui/memo_window.h"
#include "memo/ui/memo_windows.h"
#include "platform/atomic_file.h"
#include "platform/profile_file.h"
#include "richtext/rtf_writer.h"
#include "support/temp_home.h"

namespace {

using namespace hinagiku;

// About 20 KB of RTF: Japanese lines with some bold and coloured runs.
std::string body(int memo) {
    std::string rtf =
        "{\\rtf1\\ansi\\ansicpg932\\deff0{\\fonttbl{\\f0\\fcharset128 MS PGothic;}}"
        "{\\colortbl ;\\red255\\green0\\blue0;}\\f0\\fs18 ";
    int line = 0;
    while (rtf.size() < 20 * 1024) {
        rtf += "Memo " + std::to_string(memo) + " line " + std::to_string(line++) +
               ": \\'82\\'a0\\'82\\'a2\\'82\\'a4 {\\b bold} {\\cf1 red} plain text to fill\\par ";
    }
    return rtf + "}";
}

struct Fixture {
    testing::TempHome home;
    std::unique_ptr<platform::ProfileFile> settings;

    explicit Fixture(int count) {
        settings = std::make_unique<platform::ProfileFile>(home.iniPath());
        settings->writeText("Calendar", "Directory", home.path().string());
        settings->writeInt("Form", "Waveplay", 0);
        const auto folder = home.path() / "Memo";
        memo::MemoStore store(*settings, folder);
        for (int i = 0; i < count; ++i) {
            const std::string key = store.create(i % memo::kCategoryCount);
            platform::writeFileAtomically(folder / key, body(i));
            settings->edit([&](platform::SettingsEdit& edit) {
                edit.writeText(key, "Show", "1");
                edit.writeText(key, "Top", std::to_string(20 + i * 5));
                edit.writeText(key, "Left", std::to_string(20 + i * 7));
                edit.writeText(key, "Width", "259");
                edit.writeText(key, "Height", "120");
            });
        }
    }
};

void BM_ReopenShownMemos(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    Fixture fixture(count);
    memo::setMemoHost({[] { return QRect(100, 50, 240, 300); }, {}});
    for (auto _ : state) {
        memo::reopenShownMemos(*fixture.settings);
        QApplication::processEvents();
        state.PauseTiming();
        if (memo::memoWindows().size() != static_cast<std::size_t>(count))
            state.SkipWithError("not every memo opened");
        // The program's end: destroyed without their close handling.
        for (memo::MemoWindow* window : memo::memoWindows())
            delete window;
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

BENCHMARK(BM_ReopenShownMemos)
    ->Arg(30)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

}  // namespace
