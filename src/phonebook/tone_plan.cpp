#include "phonebook/tone_plan.h"

#include <array>
#include <cmath>
#include <numbers>

#include "phonebook/dial_text.h"

namespace hinagiku::phonebook {
namespace {

struct Pair {
    char key;
    double low;
    double high;
};

constexpr std::array<Pair, 12> kPairs{{
    {'1', 697, 1209},
    {'2', 697, 1336},
    {'3', 697, 1477},
    {'4', 770, 1209},
    {'5', 770, 1336},
    {'6', 770, 1477},
    {'7', 852, 1209},
    {'8', 852, 1336},
    {'9', 852, 1477},
    {'K', 941, 1209},
    {'0', 941, 1336},
    {'S', 941, 1477},
}};

constexpr char kSilence = 128;

int samplesFor(int ms, int rate) {
    return static_cast<int>(std::lround(ms * static_cast<double>(rate) / 1000.0));
}

void putLe(QByteArray& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

ToneStep toneStep(std::string_view character, int sleepMs) {
    ToneStep step;
    step.character = std::string(character);
    if (character == ",") {
        step.sound = "wait";
        step.lengthMs = 3000;
        return step;
    }
    if (character == "$") {
        step.sound = "wait";
        step.lengthMs = 10000;
        return step;
    }
    step.lengthMs = kToneLengthMs;
    step.pauseMs = std::max(sleepMs, 0);
    step.sound = "PN";
    if (character.size() == 1) {
        const char c = character.front();
        if (c >= '0' && c <= '9')
            step.sound = std::string("P") + c;
        else if (c == '*' || c == 'k' || c == 'K')
            step.sound = "PK";
        else if (c == '#' || c == 's' || c == 'S')
            step.sound = "PS";
    }
    return step;
}

std::vector<ToneStep> planTones(std::string_view utf8, int sleepMs) {
    std::vector<ToneStep> steps;
    for (const auto& c : dialCharacters(utf8))
        steps.push_back(toneStep(c, sleepMs));
    return steps;
}

int toneRate(std::string_view sound) {
    return sound == "PN" ? kSilenceRate : kToneRate;
}

QByteArray toneSamples(std::string_view sound) {
    const int rate = toneRate(sound);
    const int count = samplesFor(kToneLengthMs, rate);
    QByteArray samples(count, kSilence);
    if (sound.size() != 2 || sound == "PN")
        return samples;
    const char key = sound[1];
    for (const auto& pair : kPairs) {
        if (pair.key != key)
            continue;
        // Equal levels, together within 1..255 around the 8-bit centre.
        constexpr double kLevel = 63.0;
        for (int n = 0; n < count; ++n) {
            const double t = static_cast<double>(n) / rate;
            const double v = 128.0 + kLevel * std::sin(2 * std::numbers::pi * pair.low * t) +
                             kLevel * std::sin(2 * std::numbers::pi * pair.high * t);
            samples[n] = static_cast<char>(static_cast<unsigned char>(std::lround(v)));
        }
    }
    return samples;
}

QByteArray waveImage(const QByteArray& samples, int rate) {
    QByteArray out;
    const auto dataSize = static_cast<std::uint32_t>(samples.size());
    out.append("RIFF");
    putLe(out, 36 + dataSize + (dataSize & 1), 4);
    out.append("WAVEfmt ");
    putLe(out, 16, 4);
    putLe(out, 1, 2);  // PCM
    putLe(out, 1, 2);  // mono
    putLe(out, static_cast<std::uint32_t>(rate), 4);
    putLe(out, static_cast<std::uint32_t>(rate), 4);  // bytes per second
    putLe(out, 1, 2);                                 // block align
    putLe(out, 8, 2);                                 // bits per sample
    out.append("data");
    putLe(out, dataSize, 4);
    out.append(samples);
    if (dataSize & 1)
        out.append('\0');
    return out;
}

QByteArray stepWave(const ToneStep& step) {
    if (step.isWait())
        return waveImage(QByteArray(samplesFor(step.lengthMs, kToneRate), kSilence), kToneRate);
    const int rate = toneRate(step.sound);
    QByteArray samples = toneSamples(step.sound);
    samples.append(QByteArray(samplesFor(step.pauseMs, rate), kSilence));
    return waveImage(samples, rate);
}

QByteArray timelineWave(const std::vector<ToneStep>& steps, std::vector<int>* startsMs) {
    std::vector<int> starts;
    int at = 0;
    for (const auto& step : steps) {
        starts.push_back(at);
        at += step.lengthMs + step.pauseMs;
    }
    QByteArray samples(samplesFor(at, kToneRate), kSilence);
    for (std::size_t i = 0; i < steps.size(); ++i) {
        if (steps[i].isWait() || steps[i].sound == "PN")
            continue;
        const int first = samplesFor(starts[i], kToneRate);
        const int end = i + 1 < steps.size() ? samplesFor(starts[i + 1], kToneRate)
                                             : static_cast<int>(samples.size());
        const QByteArray tone = toneSamples(steps[i].sound);
        for (int n = 0; n < tone.size() && first + n < end; ++n)
            samples[first + n] = tone[n];
    }
    if (startsMs)
        *startsMs = std::move(starts);
    return waveImage(samples, kToneRate);
}

}  // namespace hinagiku::phonebook
