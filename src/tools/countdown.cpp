#include "tools/countdown.h"

#include <algorithm>
#include <charconv>

#include "calendar/date_time.h"

namespace hinagiku::tools {
namespace {

constexpr const char* kSection = "Gtimer";

std::string twoDigits(int value) {
    std::string text = std::to_string(value);
    return text.size() < 2 ? "0" + text : text;
}

std::string key(int index, const char* suffix) {
    return std::to_string(index) + suffix;
}

// 1 + the highest preset number that has any key: how far a Total can be
// believed.
int presetKeyLimit(const platform::Settings& settings) {
    int limit = 0;
    for (const std::string& name : settings.listKeys(kSection)) {
        const auto mark = name.find('_');
        if (mark == std::string::npos || mark == 0)
            continue;
        int number = 0;
        const auto [end, error] = std::from_chars(name.data(), name.data() + mark, number);
        if (error == std::errc() && end == name.data() + mark && number >= 0 && number < (1 << 30))
            limit = std::max(limit, number + 1);
    }
    return limit;
}

void writePreset(platform::Settings& settings, int index, const CountdownPreset& preset) {
    settings.writeText(kSection, key(index, "_Title"), preset.title);
    settings.writeInt(kSection, key(index, "_H"), preset.hours);
    settings.writeInt(kSection, key(index, "_M"), preset.minutes);
    settings.writeText(kSection, key(index, "_50"), preset.sound50);
    settings.writeText(kSection, key(index, "_80"), preset.sound80);
    settings.writeText(kSection, key(index, "_100"), preset.sound100);
}

}  // namespace

CountdownRun::CountdownRun(const platform::Clock& clock, int hours, int minutes)
    : clock_(clock),
      spanSeconds_(static_cast<std::int64_t>(hours) * 3600 +
                   static_cast<std::int64_t>(minutes) * 60),
      startWall_(clock.now()),
      lastUptime_(clock.uptimeMilliseconds()) {}

void CountdownRun::observe() {
    const std::uint32_t now = clock_.uptimeMilliseconds();
    // Unsigned difference: right across the counter's wrap.
    const std::uint32_t delta = now - lastUptime_;
    lastUptime_ = now;
    (paused_ ? pausedMs_ : runningMs_) += delta;
}

std::int64_t CountdownRun::remaining() const {
    const std::int64_t leftMs = spanSeconds_ * 1000 - runningMs_;
    if (leftMs <= 0)
        return 0;
    return (leftMs + 999) / 1000;
}

double CountdownRun::endTime() const {
    const std::int64_t seconds = spanSeconds_ + pausedMs_ / 1000;
    return fromElapsedDays(elapsedDays(startWall_) + static_cast<double>(seconds) / 86400.0);
}

void CountdownRun::setPaused(bool paused) {
    observe();
    paused_ = paused;
}

CountdownNotice CountdownRun::tick() {
    observe();
    if (finished_ || paused_)
        return CountdownNotice::None;
    const std::int64_t position = remaining();
    if (position == 0) {
        finished_ = true;
        return CountdownNotice::End;
    }
    // Each test is done in integers: position/maximum*100 <= 50 and <= 20.
    if (!half_ && position * 100 <= spanSeconds_ * 50) {
        half_ = true;
        if (position * 100 <= spanSeconds_ * 20)
            eighty_ = true;  // a long stall passes both at once; the later one is told
        return eighty_ ? CountdownNotice::Eighty : CountdownNotice::Half;
    }
    if (!eighty_ && position * 100 <= spanSeconds_ * 20) {
        eighty_ = true;
        return CountdownNotice::Eighty;
    }
    return CountdownNotice::None;
}

void normaliseSpan(int& hours, int& minutes) {
    hours = std::max(hours, 0);
    minutes = std::max(minutes, 0);
    if (hours == 0 && minutes == 0)
        minutes = 1;
}

std::string formatCountdownTime(double value) {
    const CivilDate date = decodeDate(value);
    const ClockTime time = decodeTime(value);
    std::string year = std::to_string(date.year);
    while (year.size() < 4)
        year.insert(year.begin(), '0');
    return year + "/" + twoDigits(date.month) + "/" + twoDigits(date.day) + " " +
           twoDigits(time.hour) + ":" + twoDigits(time.minute) + ":" + twoDigits(time.second);
}

std::string countdownStatusText(const std::string& title) {
    return title.empty() ? "時間を計っています。" : title + "の時間を計っています。";
}

std::string countdownNoticeText(CountdownNotice notice, const std::string& title) {
    switch (notice) {
        case CountdownNotice::Half:
            return title.empty() ? "５０％を経過しました。"
                                 : title + "の時間は５０％を経過しました。";
        case CountdownNotice::Eighty:
            return title.empty() ? "８０％を経過しました。"
                                 : title + "の時間は８０％を経過しました。";
        case CountdownNotice::End:
            return title.empty() ? "時間になりました。" : title + "の時間になりました。";
        case CountdownNotice::None:
            break;
    }
    return {};
}

std::vector<CountdownPreset> readCountdownPresets(const platform::Settings& settings) {
    const int total = std::min(settings.readInt(kSection, "Total", 0), presetKeyLimit(settings));
    std::vector<CountdownPreset> presets;
    for (int n = 0; n < total; ++n) {
        CountdownPreset preset;
        preset.title = settings.readText(kSection, key(n, "_Title"), "");
        preset.hours = settings.readInt(kSection, key(n, "_H"), 0);
        preset.minutes = settings.readInt(kSection, key(n, "_M"), 1);
        preset.sound50 = settings.readText(kSection, key(n, "_50"), "");
        preset.sound80 = settings.readText(kSection, key(n, "_80"), "");
        preset.sound100 = settings.readText(kSection, key(n, "_100"), "");
        presets.push_back(std::move(preset));
    }
    return presets;
}

int addCountdownPreset(platform::Settings& settings, const CountdownPreset& preset) {
    const int index = static_cast<int>(readCountdownPresets(settings).size());
    writePreset(settings, index, preset);
    settings.writeInt(kSection, "Total", index + 1);
    return index;
}

void deleteCountdownPreset(platform::Settings& settings, int index) {
    std::vector<CountdownPreset> presets = readCountdownPresets(settings);
    if (index < 0 || index >= static_cast<int>(presets.size()))
        return;
    const int last = static_cast<int>(presets.size()) - 1;
    for (int n = index; n < last; ++n)
        writePreset(settings, n, presets[static_cast<std::size_t>(n) + 1]);
    writePreset(settings, last, CountdownPreset{});
    settings.writeInt(kSection, "Total", last);
}

void writeCountdownSound(platform::Settings& settings, int index, int percent,
                         const std::string& path) {
    settings.writeText(kSection, std::to_string(index) + "_" + std::to_string(percent), path);
}

std::string defaultEndSound(const platform::Settings& settings) {
    return settings.readText("Calendar", "file", "");
}

}  // namespace hinagiku::tools
