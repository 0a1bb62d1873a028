#pragma once

#include <QByteArray>

#include <string>
#include <string_view>
#include <vector>

namespace hinagiku::phonebook {

// One character of speaker dialling: a key tone (or 100 ms of silence) and
// the pause after it, or a wait.
struct ToneStep {
    std::string character;  // UTF-8, as in the dial field
    std::string sound;      // "P0".."P9", "PK", "PS", "PN" or "wait"
    int lengthMs = 0;       // 100 for a sound, 3000 for ",", 10000 for "$"
    int pauseMs = 0;        // the Sleep setting after a sound; none after a wait

    bool isWait() const { return sound == "wait"; }
    bool operator==(const ToneStep&) const = default;
};

inline constexpr int kToneRate = 11025;    // the key tones
inline constexpr int kSilenceRate = 8000;  // PN
inline constexpr int kToneLengthMs = 100;

// The step for one character (after full-width folding).
ToneStep toneStep(std::string_view character, int sleepMs);
// The steps for a whole dial field with one Sleep value.
std::vector<ToneStep> planTones(std::string_view utf8, int sleepMs);

// The samples of a sound ("P0".."PN"): 8-bit unsigned mono, 100 ms.
QByteArray toneSamples(std::string_view sound);
// The sample rate a sound plays at.
int toneRate(std::string_view sound);

// A RIFF WAVE image: PCM, mono, 8-bit unsigned.
QByteArray waveImage(const QByteArray& samples, int rate);

// What the speaker plays for one step: the sound and its pause (silence at
// the sound's rate), or the wait as silence at the tone rate.
QByteArray stepWave(const ToneStep& step);

// The whole dialling as one 11025 Hz wave: each step from sample
// round(start × 11.025), silence elsewhere, ending where a next step would
// start. `startsMs` receives each step's start.
QByteArray timelineWave(const std::vector<ToneStep>& steps, std::vector<int>* startsMs = nullptr);

}  // namespace hinagiku::phonebook
