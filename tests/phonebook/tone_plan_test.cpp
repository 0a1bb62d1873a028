#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>

#include "phonebook/tone_plan.h"

namespace hinagiku::phonebook {
namespace {

// Energy of `samples` at `frequency` (Goertzel-like correlation).
double energyAt(const QByteArray& samples, int rate, double frequency) {
    std::complex<double> sum;
    for (int n = 0; n < samples.size(); ++n) {
        const double v = static_cast<unsigned char>(samples[n]) - 128.0;
        sum += v * std::polar(1.0, -2 * std::numbers::pi * frequency * n / rate);
    }
    return std::abs(sum) / samples.size();
}

TEST(Tones, PlanOfTheNumberWithAWait) {
    const auto steps = planTones("03,1234#", 100);
    std::vector<std::string> sounds;
    for (const auto& s : steps)
        sounds.push_back(s.sound);
    EXPECT_EQ(sounds, (std::vector<std::string>{"P0", "P3", "wait", "P1", "P2", "P3", "P4", "PS"}));
    EXPECT_EQ(steps[2].lengthMs, 3000);
    EXPECT_EQ(steps[2].pauseMs, 0);
    EXPECT_EQ(steps[7].pauseMs, 100);
}

TEST(Tones, CharacterToSound) {
    struct Case {
        std::string character;
        std::string sound;
        int length;
        int pause;
    };
    const Case cases[] = {
        {"5", "P5", 100, 40},    {"*", "PK", 100, 40},   {"k", "PK", 100, 40},
        {"S", "PS", 100, 40},    {"-", "PN", 100, 40},   {"a", "PN", 100, 40},
        {"$", "wait", 10000, 0}, {",", "wait", 3000, 0}, {"日", "PN", 100, 40},
    };
    for (const auto& c : cases) {
        const ToneStep s = toneStep(c.character, 40);
        EXPECT_EQ(s.sound, c.sound) << c.character;
        EXPECT_EQ(s.lengthMs, c.length);
        EXPECT_EQ(s.pauseMs, c.pause);
    }
    // One step per character, full-width folded.
    const auto wide = planTones("０３－１＃日", 0);
    ASSERT_EQ(wide.size(), 6u);
    EXPECT_EQ(wide[0].sound, "P0");
    EXPECT_EQ(wide[2].sound, "PN");
    EXPECT_EQ(wide[4].sound, "PS");
    EXPECT_EQ(wide[5].character, "日");
}

TEST(Tones, KeyPairsAreTheStandardOnes) {
    struct Case {
        std::string sound;
        double low;
        double high;
    };
    const Case cases[] = {{"P1", 697, 1209}, {"P5", 770, 1336}, {"P9", 852, 1477},
                          {"PK", 941, 1209}, {"P0", 941, 1336}, {"PS", 941, 1477}};
    const double others[] = {697, 770, 852, 941, 1209, 1336, 1477};
    for (const auto& c : cases) {
        const QByteArray s = toneSamples(c.sound);
        ASSERT_EQ(s.size(), 1103);
        const double low = energyAt(s, kToneRate, c.low);
        const double high = energyAt(s, kToneRate, c.high);
        EXPECT_NEAR(low, high, 2.0) << c.sound;  // equal levels
        EXPECT_GT(low, 25.0) << c.sound;
        for (const double f : others) {
            if (f != c.low && f != c.high) {
                EXPECT_LT(energyAt(s, kToneRate, f), 6.0) << c.sound << " " << f;
            }
        }
    }
    const QByteArray silence = toneSamples("PN");
    EXPECT_EQ(silence, QByteArray(800, char(128)));
    EXPECT_EQ(toneRate("PN"), 8000);
}

TEST(Tones, WaveImagesAndTheTimeline) {
    const QByteArray step = stepWave(toneStep("1", 100));
    ASSERT_GE(step.size(), 44);
    EXPECT_EQ(step.left(4), "RIFF");
    EXPECT_EQ(step.mid(8, 8), "WAVEfmt ");
    EXPECT_EQ(step.size() - 44, 1103 + 1103);
    const QByteArray pn = stepWave(toneStep("-", 50));
    EXPECT_EQ(pn.size() - 44, 800 + 400);

    std::vector<int> starts;
    const auto steps = planTones("1,2", 100);
    const QByteArray all = timelineWave(steps, &starts);
    EXPECT_EQ(starts, (std::vector<int>{0, 200, 3200}));
    // 3400 ms at 11025 Hz, sample round(start × 11.025).
    EXPECT_EQ(all.size() - 44, 37485 + 1);  // odd data gets a pad byte
    const QByteArray data = all.mid(44, 37485);
    EXPECT_EQ(data.mid(1103, 200), QByteArray(200, char(128)));
    EXPECT_EQ(data.mid(35280, 1103), toneSamples("P2"));
}

}  // namespace
}  // namespace hinagiku::phonebook
