// Reading and writing a large Japanese page: the RTF file of 100 KB, and a
// page whose text alone is 100 KB of CP932 (about 400 KB of RTF).
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTextDocument>

#include <cstdlib>
#include <string>

#include "platform/cp932.h"
#include "richtext/entry_text.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"
#include "richtext/text_document.h"

namespace {

using namespace hinagiku::richtext;

// Paragraphs of Japanese prose with a format change every few words, as a
// diary page that was worked on with the formatting bar.
RichText japanesePage(std::size_t cp932Bytes) {
    const char* const words[] = {"今日は",     "朝から",         "雨が降っていたので、",
                                 "駅まで",     "バスで行った。", "会議の資料を",
                                 "ＡＢＣ社の", "田中さんに",     "送り、",
                                 "午後は",     "１５時から",     "打ち合わせ。",
                                 "ｶﾀｶﾅ",       "～①②",           "hinagiku 2.70 "};
    RichText text;
    std::size_t bytes = 0;
    std::size_t n = 0;
    while (bytes < cp932Bytes) {
        Paragraph paragraph;
        if (n % 7 == 0)
            paragraph.format.alignment = Alignment::Center;
        if (n % 11 == 3)
            paragraph.format.list = ListStyle::Bullet;
        for (int w = 0; w < 24 && bytes < cp932Bytes; ++w, ++n) {
            CharFormat f;
            f.family = n % 5 == 0 ? "ＭＳ 明朝" : "ＭＳ Ｐゴシック";
            f.halfPoints = n % 9 == 0 ? 24 : 18;
            f.bold = n % 6 == 0;
            f.italic = n % 13 == 0;
            f.underline = n % 17 == 0;
            if (n % 8 == 0)
                f.color = 0xFF0000;
            const std::string word = words[n % std::size(words)];
            bytes += hinagiku::platform::cp932Length(word);
            paragraph.runs.push_back(Run{f, word});
        }
        text.paragraphs.push_back(std::move(paragraph));
    }
    normalize(text);
    return text;
}

// The page whose RTF is about `rtfBytes` long.
std::string rtfOfSize(std::size_t rtfBytes) {
    std::size_t textBytes = rtfBytes / 4;
    std::string rtf = writeRtf(japanesePage(textBytes));
    textBytes = textBytes * rtfBytes / rtf.size();
    return writeRtf(japanesePage(textBytes));
}

const std::string& rtf100KB() {
    static const std::string rtf = rtfOfSize(100 * 1024);
    return rtf;
}

const std::string& rtfOfText100KB() {
    static const std::string rtf = writeRtf(japanesePage(100 * 1024));
    return rtf;
}

void setCounters(benchmark::State& state, const std::string& rtf) {
    state.counters["rtf_bytes"] = static_cast<double>(rtf.size());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * rtf.size()));
}

void readModel(benchmark::State& state, const std::string& rtf) {
    for (auto _ : state)
        benchmark::DoNotOptimize(readRtf(rtf));
    setCounters(state, rtf);
}

void readDocument(benchmark::State& state, const std::string& rtf) {
    QTextDocument document;
    for (auto _ : state)
        loadRichText(rtf, document);
    setCounters(state, rtf);
}

void writeModel(benchmark::State& state, const std::string& rtf) {
    const RichText text = readRtf(rtf);
    for (auto _ : state)
        benchmark::DoNotOptimize(writeRtf(text));
    setCounters(state, rtf);
}

void writeDocument(benchmark::State& state, const std::string& rtf) {
    QTextDocument document;
    loadRichText(rtf, document);
    for (auto _ : state)
        benchmark::DoNotOptimize(saveRichText(document));
    setCounters(state, rtf);
}

void plain(benchmark::State& state, const std::string& rtf) {
    for (auto _ : state)
        benchmark::DoNotOptimize(entryPlainText(rtf));
    setCounters(state, rtf);
}

void BM_ReadRtf100KB(benchmark::State& s) {
    readModel(s, rtf100KB());
}
void BM_ReadRtf100KBIntoQTextDocument(benchmark::State& s) {
    readDocument(s, rtf100KB());
}
void BM_EntryPlainText100KB(benchmark::State& s) {
    plain(s, rtf100KB());
}
void BM_WriteRtf100KB(benchmark::State& s) {
    writeModel(s, rtf100KB());
}
void BM_WriteRtf100KBFromQTextDocument(benchmark::State& s) {
    writeDocument(s, rtf100KB());
}
void BM_ReadText100KBIntoQTextDocument(benchmark::State& s) {
    readDocument(s, rtfOfText100KB());
}
void BM_WriteText100KBFromQTextDocument(benchmark::State& s) {
    writeDocument(s, rtfOfText100KB());
}

BENCHMARK(BM_ReadRtf100KB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadRtf100KBIntoQTextDocument)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EntryPlainText100KB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteRtf100KB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteRtf100KBFromQTextDocument)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadText100KBIntoQTextDocument)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteText100KBFromQTextDocument)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
