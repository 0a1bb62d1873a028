// The calendar grid repaints all 42 cells (kind flags and colour of each)
// and the moon panel reshades its picture on every tick.
#include <benchmark/benchmark.h>

#include "calendar/moon_picture.h"
#include "mainwindow/day_kinds.h"
#include "mainwindow/month_grid.h"

namespace {

using namespace hinagiku;
using namespace hinagiku::mainwindow;

void BM_GridPaintPass(benchmark::State& state) {
    const DayLists lists{{"3,20,春分の日", "3,21", "3,10"}, {"3,5", "3,12", "3,15", "3,28"}, true};
    for (auto _ : state) {
        const MonthGrid grid(2024, 3);
        int colours = 0;
        for (int row = 1; row <= MonthGrid::kRows; ++row) {
            for (int column = 0; column < MonthGrid::kColumns; ++column) {
                const int code = grid.cellCode(column, row);
                if (code < MonthGrid::kPreviousMonth) {
                    colours += static_cast<int>(dayColor(dayKinds(2024, 3, code, lists)));
                }
            }
        }
        benchmark::DoNotOptimize(colours);
    }
}
BENCHMARK(BM_GridPaintPass);

void BM_MoonShadow(benchmark::State& state) {
    double instant = 45000.25;
    for (auto _ : state) {
        benchmark::DoNotOptimize(moonShadowAt(MoonSize::ms64, instant));
        instant += 1.0 / 86400.0;
    }
}
BENCHMARK(BM_MoonShadow);

}  // namespace

BENCHMARK_MAIN();
