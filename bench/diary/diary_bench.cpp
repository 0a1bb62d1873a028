// The diary's speed goals: a month's list whatever the bodies' size, a
// ten-year search that matches only in bodies, the widest range without a
// match, and opening a 100 KB page into the editor's document.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTextDocument>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "calendar/date_time.h"
#include "diary/diary_list.h"
#include "diary/diary_store.h"
#include "diary/page_session.h"
#include "richtext/rtf_writer.h"
#include "richtext/text_document.h"

namespace {

namespace fs = std::filesystem;
using namespace hinagiku;

fs::path makeFolder(const char* name) {
    const fs::path folder = fs::temp_directory_path() / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

std::string page(const std::string& title, const std::string& body) {
    return "TITLE:" + title +
           "\r\nWEATHER:fine\r\nCODE:RTF\r\nKIV_FONTCOLOR:0\r\nKIV_BACKCOLOR:0\r\n"
           "KIV_TOP:0\r\nKIV_LEFT:0\r\nKIV_HEIGHT:438\r\nKIV_WIDTH:497\r\n"
           "KIV_READONLY:FALSE\r\n:END\r\n" +
           body;
}

std::string filler(std::size_t bytes) {
    std::string text;
    while (text.size() < bytes)
        text += "the quick brown fox jumps over the lazy dog. ";
    text.resize(bytes);
    return text;
}

void BM_MonthListOf31BigPages(benchmark::State& state) {
    const fs::path folder = makeFolder("hinagiku_bench_month");
    const std::string body =
        richtext::plainTextToRtf(filler(static_cast<std::size_t>(state.range(0))));
    for (int day = 1; day <= 31; ++day) {
        std::ofstream(folder / diary::pageFileName(*encodeDate(2024, 3, day)), std::ios::binary)
            << page("day " + std::to_string(day), body);
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(diary::buildMonthList(folder, 2024, 3));
    fs::remove_all(folder);
}
BENCHMARK(BM_MonthListOf31BigPages)->Arg(4 << 10)->Arg(4 << 20)->Unit(benchmark::kMillisecond);

void BM_SearchTenYearsMatchesInBodies(benchmark::State& state) {
    const fs::path folder = makeFolder("hinagiku_bench_search");
    const int first = *encodeDate(2015, 1, 1);
    std::string text = filler(3000) + " needle";
    const std::string body = richtext::plainTextToRtf(text);
    for (int i = 0; i < 3650; ++i) {
        std::ofstream(folder / diary::pageFileName(first + i), std::ios::binary)
            << page("title", body);
    }
    std::size_t hits = 0;
    for (auto _ : state) {
        hits = diary::searchDiary(folder, 2015, 1, 2024, 12, "needle").size();
        benchmark::DoNotOptimize(hits);
    }
    state.counters["hits"] = static_cast<double>(hits);
    fs::remove_all(folder);
}
BENCHMARK(BM_SearchTenYearsMatchesInBodies)->Unit(benchmark::kMillisecond);

void BM_SearchWholeRangeNoMatch(benchmark::State& state) {
    const fs::path folder = makeFolder("hinagiku_bench_range");
    const int first = *encodeDate(2015, 1, 1);
    for (int i = 0; i < 365; ++i)
        std::ofstream(folder / diary::pageFileName(first + i), std::ios::binary) << page("t", "x");
    for (auto _ : state)
        benchmark::DoNotOptimize(diary::searchDiary(folder, 1, 1, 9999, 12, "\xE6\xB5\xB7zz"));
    fs::remove_all(folder);
}
BENCHMARK(BM_SearchWholeRangeNoMatch)->Unit(benchmark::kMillisecond);

void BM_OpenA100KbPage(benchmark::State& state) {
    const fs::path folder = makeFolder("hinagiku_bench_open");
    std::ofstream(folder / "20240315.JNL", std::ios::binary)
        << page("t", richtext::plainTextToRtf(filler(100 << 10)));
    const int day = *encodeDate(2024, 3, 15);
    for (auto _ : state) {
        const diary::OpenOutcome outcome = diary::openPage(folder, day, {}, false);
        QTextDocument document;
        richtext::loadRichText(outcome.page.body, document);
        benchmark::DoNotOptimize(document.characterCount());
    }
    fs::remove_all(folder);
}
BENCHMARK(BM_OpenA100KbPage)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
