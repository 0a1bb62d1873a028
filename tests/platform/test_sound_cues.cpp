#include "core/sound_cues.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/sound_player.h"
#include "platform/sound_recorder.h"
#include "support/memory_settings.h"

namespace hinagiku::core {
namespace {

namespace fs = std::filesystem;
using platform::SoundRecorder;

struct WaveInfo {
    std::uint32_t riffSize = 0;
    int format = 0, channels = 0, rate = 0, byteRate = 0, blockAlign = 0, bits = 0;
    const unsigned char* data = nullptr;
    std::uint32_t dataSize = 0;
};

std::uint32_t le(const unsigned char* p, int n) {
    std::uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i)
        v = v << 8 | p[i];
    return v;
}

// Walks the RIFF chunks of a WAVE file; fails the test on a malformed one.
WaveInfo parseWave(const QByteArray& bytes) {
    WaveInfo w;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const std::size_t size = static_cast<std::size_t>(bytes.size());
    EXPECT_GE(size, 44u);
    if (size < 12)
        return w;
    EXPECT_EQ(bytes.left(4), "RIFF");
    EXPECT_EQ(bytes.mid(8, 4), "WAVE");
    w.riffSize = le(p + 4, 4);
    for (std::size_t at = 12; at + 8 <= size;) {
        const QByteArray id = bytes.mid(static_cast<qsizetype>(at), 4);
        const std::uint32_t len = le(p + at + 4, 4);
        EXPECT_LE(at + 8 + len, size) << "chunk " << id.constData() << " runs past the end";
        if (at + 8 + len > size)
            break;
        const unsigned char* body = p + at + 8;
        if (id == "fmt ") {
            EXPECT_GE(len, 16u);
            w.format = static_cast<int>(le(body, 2));
            w.channels = static_cast<int>(le(body + 2, 2));
            w.rate = static_cast<int>(le(body + 4, 4));
            w.byteRate = static_cast<int>(le(body + 8, 4));
            w.blockAlign = static_cast<int>(le(body + 12, 2));
            w.bits = static_cast<int>(le(body + 14, 2));
        } else if (id == "data") {
            w.data = body;
            w.dataSize = len;
        }
        at += 8 + len + (len & 1);
    }
    return w;
}

// Largest distance from silence, as a share of full scale.
double peak(const WaveInfo& w) {
    double best = 0;
    for (std::uint32_t i = 0; i + w.bits / 8 <= w.dataSize; i += w.bits / 8) {
        const double v = w.bits == 8 ? (w.data[i] - 128) / 128.0
                                     : static_cast<std::int16_t>(le(w.data + i, 2)) / 32768.0;
        best = std::max(best, std::abs(v));
    }
    return best;
}

TEST(SoundCues, AllNineAreMonoPcmClipsOfTheRightShape) {
    for (const std::string_view name : kSoundCueNames) {
        SCOPED_TRACE(std::string(name));
        const QByteArray bytes = soundCueData(name);
        ASSERT_FALSE(bytes.isEmpty());
        const WaveInfo w = parseWave(bytes);
        EXPECT_EQ(w.riffSize, static_cast<std::uint32_t>(bytes.size()) - 8);
        EXPECT_EQ(w.format, 1);  // PCM
        EXPECT_EQ(w.channels, 1);
        EXPECT_EQ(w.bits, name == "pas" ? 16 : 8);
        EXPECT_GE(w.rate, 8000);
        EXPECT_LE(w.rate, 22050);
        EXPECT_EQ(w.blockAlign, w.bits / 8);
        EXPECT_EQ(w.byteRate, w.rate * w.blockAlign);
        ASSERT_NE(w.data, nullptr);
        ASSERT_GT(w.blockAlign, 0);
        EXPECT_EQ(w.dataSize % w.blockAlign, 0u);
        const double seconds = double(w.dataSize) / w.byteRate;
        EXPECT_GE(seconds, 0.08);
        EXPECT_LE(seconds, 0.64);
        EXPECT_GT(peak(w), 0.3) << "too quiet to hear";
    }
}

TEST(SoundCues, EachCueIsItsOwnSound) {
    for (std::size_t i = 0; i < kSoundCueNames.size(); ++i)
        for (std::size_t j = i + 1; j < kSoundCueNames.size(); ++j)
            EXPECT_NE(soundCueData(kSoundCueNames[i]), soundCueData(kSoundCueNames[j]))
                << kSoundCueNames[i] << " and " << kSoundCueNames[j];
}

TEST(SoundCues, NamesCompareWithoutRegardToCase) {
    for (const char* name : {"OPE", "Ope", "oPe"})
        EXPECT_EQ(soundCueData(name), soundCueData("ope"));
    EXPECT_EQ(soundCueData("PAS"), soundCueData("pas"));
    EXPECT_EQ(soundCueData("C1"), soundCueData("c1"));
    for (const char* name : {"", "op", "opee", "ope.wav", "c", "beep"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(soundCueData(name).isEmpty());
    }
}

TEST(SoundCues, PlaysUnlessWaveplayIsOff) {
    struct Case {
        const char* waveplay;  // nullptr: key absent
        const char* name;
        bool plays;
    };
    const Case cases[] = {
        {nullptr, "ope", true}, {"1", "SAV", true},      {"0", "ope", false},
        {"0", "pas", false},    {"1", "nothing", false}, {nullptr, "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.waveplay ? c.waveplay : "(absent)") + " " + c.name);
        testing::MemorySettings settings;
        if (c.waveplay)
            settings.writeText("Form", "Waveplay", c.waveplay);
        SoundRecorder out;
        PlaySoundCue(settings, c.name, out);
        if (!c.plays) {
            EXPECT_TRUE(out.calls().empty());
            continue;
        }
        ASSERT_EQ(out.calls().size(), 1u);
        EXPECT_EQ(out.calls()[0].kind, SoundRecorder::Kind::Cue);
        EXPECT_EQ(out.calls()[0].wave, soundCueData(c.name));
    }
}

TEST(SoundCues, TheProcessWideOutputCanBeReplaced) {
    testing::MemorySettings settings;
    SoundRecorder out;
    platform::setSoundOutput(&out);
    PlaySoundCue(settings, "del");
    PlaySoundCue(settings, "cop");
    PlaySoundFile("/no/such/file.mid");
    platform::setSoundOutput(nullptr);
    ASSERT_EQ(out.calls().size(), 3u);
    EXPECT_EQ(out.calls()[0].wave, soundCueData("del"));
    EXPECT_EQ(out.calls()[1].wave, soundCueData("cop"));
    EXPECT_EQ(out.calls()[2].kind, SoundRecorder::Kind::File);
    EXPECT_EQ(out.calls()[2].path, fs::path("/no/such/file.mid"));
}

TEST(SoundCues, ThroughTheRealPlayerWithoutASoundCardNothingHangs) {
    // The system player under the dummy driver: every call comes back at once
    // and every cue decodes.
    testing::MemorySettings settings;
    auto* player = dynamic_cast<platform::SoundPlayer*>(&platform::soundOutput());
    ASSERT_NE(player, nullptr);
    for (const std::string_view name : kSoundCueNames) {
        SCOPED_TRACE(std::string(name));
        const auto start = std::chrono::steady_clock::now();
        PlaySoundCue(settings, name);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
        ASSERT_TRUE(player->waitIdle(std::chrono::seconds(10)));
        EXPECT_EQ(player->deviceState(), platform::SoundPlayer::DeviceState::Open);
        // Short clicks may be over before anyone looks.
        const WaveInfo w = parseWave(soundCueData(name));
        if (double(w.dataSize) / w.byteRate >= 0.25) {
            EXPECT_TRUE(player->cuePlaying());
        }
    }
    const auto start = std::chrono::steady_clock::now();
    PlaySoundFile("/no/such/file.wav");
    PlaySoundFile("/etc/hostname");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
    EXPECT_TRUE(player->waitIdle(std::chrono::seconds(10)));
    EXPECT_FALSE(player->filePlaying());
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(SoundCues, TheScriptRemakesTheShippedFilesExactly) {
    const char* source = std::getenv("HINAGIKU_SOURCE_DIR");
    if (source == nullptr)
        GTEST_SKIP() << "HINAGIKU_SOURCE_DIR not set";
    std::string pattern = (fs::temp_directory_path() / "hinagiku-cues-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    const fs::path out = pattern;
    const std::string command = "python3 '" + (fs::path(source) / "scripts/make_cues.py").string() +
                                "' '" + out.string() + "' >/dev/null 2>&1";
    const int rc = std::system(command.c_str());
    if (rc != 0 && WEXITSTATUS(rc) == 127) {
        fs::remove_all(out);
        GTEST_SKIP() << "no python3";
    }
    ASSERT_EQ(rc, 0);
    for (const std::string_view name : kSoundCueNames) {
        std::string file(name);
        for (char& c : file)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        SCOPED_TRACE(file);
        const std::string made = readFile(out / (file + ".wav"));
        EXPECT_EQ(made, readFile(fs::path(source) / "resources/sounds" / (file + ".wav")));
        EXPECT_EQ(QByteArray::fromStdString(made), soundCueData(name));
    }
    fs::remove_all(out);
}

}  // namespace
}  // namespace hinagiku::core
