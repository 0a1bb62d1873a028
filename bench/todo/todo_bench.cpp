// Speed of the ToDo board on a 10,000-node outline: reading and writing the
// pair, showing the board, switching between items with 200 KB notes.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTextCursor>
#include <QTextEdit>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/atomic_file.h"
#include "platform/clock.h"
#include "platform/memory_settings.h"
#include "todo/todo_store.h"
#include "todo/ui/todo_board.h"

namespace fs = std::filesystem;
using namespace hinagiku;

namespace {

class BenchClock final : public platform::Clock {
  public:
    double now() const override { return 45356.375; }
    int timeZoneBiasMinutes() const override { return -540; }
    std::uint32_t uptimeMilliseconds() const override { return 0; }
};

fs::path makeFolder(int items, std::size_t noteBytes) {
    const fs::path base = fs::path(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/dev/shm") /
                          ("todo_bench_" + std::to_string(items) + "_" + std::to_string(noteBytes));
    fs::remove_all(base);
    fs::create_directories(base);
    std::string titles, markers;
    const int folders = 4;
    for (int f = 0; f < folders; ++f) {
        titles += "\x82\xE2\x82\xE9 folder " + std::to_string(f) + "\r\n";
        markers += "%$#Z32#$%\r\n";
        for (int i = f; i < items; i += folders) {
            titles += "\titem \x81\xE6 " + std::to_string(i) + "\r\n";
            markers += "\t" + std::to_string(i) + ".z32\r\n";
        }
    }
    platform::writeFileAtomically(base / "TreeData.z32", titles);
    platform::writeFileAtomically(base / "TreeFile.z32", markers);
    if (noteBytes > 0) {
        std::string note = "{\\rtf1\\ansi\\ansicpg932 ";
        while (note.size() < noteBytes)
            note += "a line of the note \\'82\\'a0\\par\n";
        note += "}";
        for (int i = 0; i < 8; ++i)
            platform::writeFileAtomically(base / (std::to_string(i) + ".z32"), note);
    }
    return base;
}

void readPair(benchmark::State& state) {
    const fs::path folder = makeFolder(10'000 - 4, 0);
    platform::MemorySettings settings;
    todo::TodoStore store(folder, settings);
    for (auto _ : state)
        benchmark::DoNotOptimize(store.load());
}
BENCHMARK(readPair)->Unit(benchmark::kMillisecond);

void writePair(benchmark::State& state) {
    const fs::path folder = makeFolder(10'000 - 4, 0);
    platform::MemorySettings settings;
    todo::TodoStore store(folder, settings);
    const auto outline = std::get<todo::PairRead>(store.load()).outline;
    for (auto _ : state)
        store.save(outline);
}
BENCHMARK(writePair)->Unit(benchmark::kMillisecond);

void showBoard(benchmark::State& state) {
    const fs::path folder = makeFolder(10'000 - 4, 0);
    platform::MemorySettings settings;
    BenchClock clock;
    todo::ui::TodoBoard::messageSink() = [](const QString&) {};
    for (auto _ : state) {
        todo::ui::TodoBoard* board = todo::ui::TodoBoard::open(settings, clock, folder);
        QApplication::processEvents();
        state.PauseTiming();
        board->setAttribute(Qt::WA_DeleteOnClose, false);
        board->close();
        delete board;
        state.ResumeTiming();
    }
}
BENCHMARK(showBoard)->Unit(benchmark::kMillisecond);

void switchItems(benchmark::State& state) {
    const fs::path folder = makeFolder(8, 200 * 1024);
    platform::MemorySettings settings;
    BenchClock clock;
    todo::ui::TodoBoard* board = todo::ui::TodoBoard::open(settings, clock, folder);
    board->setAttribute(Qt::WA_DeleteOnClose, false);
    std::size_t pos = 1;
    for (auto _ : state) {
        board->selectPosition(pos);
        pos = pos == 1 ? 2 : 1;  // items 0 and 4, both with notes
    }
    board->close();
    delete board;
}
BENCHMARK(switchItems)->Unit(benchmark::kMillisecond);

// The same up to the first paint of the shown note.
void switchItemsPainted(benchmark::State& state) {
    const fs::path folder = makeFolder(8, 200 * 1024);
    platform::MemorySettings settings;
    BenchClock clock;
    todo::ui::TodoBoard* board = todo::ui::TodoBoard::open(settings, clock, folder);
    board->setAttribute(Qt::WA_DeleteOnClose, false);
    std::size_t pos = 1;
    for (auto _ : state) {
        board->selectPosition(pos);
        board->editor()->viewport()->repaint();
        pos = pos == 1 ? 2 : 1;
    }
    board->close();
    delete board;
}
BENCHMARK(switchItemsPainted)->Unit(benchmark::kMillisecond);

// Switching away from an edited note: the note is written first.
void switchEditedItems(benchmark::State& state) {
    const fs::path folder = makeFolder(8, 200 * 1024);
    platform::MemorySettings settings;
    BenchClock clock;
    todo::ui::TodoBoard* board = todo::ui::TodoBoard::open(settings, clock, folder);
    board->setAttribute(Qt::WA_DeleteOnClose, false);
    std::size_t pos = 1;
    for (auto _ : state) {
        state.PauseTiming();
        board->editor()->textCursor().insertText(QStringLiteral("x"));
        state.ResumeTiming();
        pos = pos == 1 ? 2 : 1;
        board->selectPosition(pos);
    }
    board->close();
    delete board;
}
BENCHMARK(switchEditedItems)->Unit(benchmark::kMillisecond);

}  // namespace
