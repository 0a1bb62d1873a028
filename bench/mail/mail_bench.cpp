// The mail encoder and the reply parsing at sizes beyond what a popup or a
// server sends in practice.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "mail/iso2022jp.h"
#include "mail/reminder_message.h"
#include "mail/replies.h"
#include "mail/reply_line_reader.h"

namespace {

// A 64 KiB reminder text: Japanese, ASCII, half-width kana and long lines.
std::string reminderText() {
    const std::string line =
        "\xE4\xBC\x9A\xE8\xAD\xB0 10:00 \xE7\xAC\xAC\xE4\xBA\x8C\xE4\xBC\x9A\xE8\xAD\xB0\xE5\xAE"
        "\xA4 \xEF\xBD\xB6\xEF\xBE\x9E\xEF\xBD\xB2\xEF\xBE\x84\xEF\xBE\x9E .agenda \xE2\x91\xA0\n";
    std::string text;
    while (text.size() < 64 * 1024)
        text += line;
    text += std::string(3000, 'x');
    return text;
}

void BM_EncodeReminder64KiB(benchmark::State& state) {
    const std::string text = reminderText();
    hinagiku::mail::buildReminderMessage("", "u@example.jp", "24/03/15", "warm", 45000.0, -540);
    for (auto _ : state) {
        std::string m = hinagiku::mail::buildReminderMessage("Taro <t@example.jp>", "u@example.jp",
                                                             "24/03/15 (\xE9\x87\x91) 09:00", text,
                                                             45000.0, -540);
        benchmark::DoNotOptimize(m);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_EncodeReminder64KiB)->Unit(benchmark::kMillisecond);

// 1 MiB of replies in 1460-byte segments, each line parsed.
void BM_ParseSplitReplies1MiB(benchmark::State& state) {
    std::string stream;
    while (stream.size() < 1024 * 1024) {
        stream += "+OK 12 345 octets\r\n250-AUTH PLAIN LOGIN\r\n-ERR no such message\r\n";
        stream += std::string(300, 'z') + "\r\n";
    }
    for (auto _ : state) {
        hinagiku::mail::ReplyLineReader reader;
        std::vector<std::string> lines;
        long long sum = 0;
        for (std::size_t i = 0; i < stream.size(); i += 1460) {
            lines.clear();
            reader.feed(std::string_view(stream).substr(i, 1460), lines);
            for (const auto& line : lines) {
                sum += hinagiku::mail::parseStat(line).count;
                sum += hinagiku::mail::parseSmtpLine(line).code;
            }
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * stream.size()));
}
BENCHMARK(BM_ParseSplitReplies1MiB)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
