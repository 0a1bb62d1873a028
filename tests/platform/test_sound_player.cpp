#include "platform/sound_player.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>

namespace hinagiku::platform {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

void put16(QByteArray& b, unsigned v) {
    b.append(char(v & 0xff)).append(char((v >> 8) & 0xff));
}
void put32(QByteArray& b, unsigned v) {
    put16(b, v & 0xffff);
    put16(b, v >> 16);
}

// A mono 8-bit sine clip as a RIFF WAVE file.
QByteArray sineWave(double seconds, int rate = 11025) {
    const int n = static_cast<int>(seconds * rate);
    QByteArray b("RIFF");
    put32(b, 36 + n);
    b.append("WAVEfmt ");
    put32(b, 16);
    put16(b, 1);
    put16(b, 1);
    put32(b, rate);
    put32(b, rate);
    put16(b, 1);
    put16(b, 8);
    b.append("data");
    put32(b, n);
    for (int i = 0; i < n; ++i)
        b.append(char(128 + std::lround(60 * std::sin(2 * M_PI * 440.0 * i / rate))));
    return b;
}

// A one-track standard MIDI file holding middle C for about a second.
QByteArray midiNote() {
    const char track[] = {'\x00', '\x90', '\x3c', '\x64',          // note on
                          '\x81', '\x40', '\x80', '\x3c', '\x40',  // 192 ticks later: off
                          '\x00', '\xff', '\x2f', '\x00'};         // end of track
    QByteArray b("MThd");
    b.append("\x00\x00\x00\x06\x00\x00\x00\x01\x00\x60", 10);
    b.append("MTrk");
    b.append("\x00\x00\x00", 3).append(char(sizeof track));
    b.append(track, sizeof track);
    return b;
}

class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        setenv(name, value, 1);
    }
    ~ScopedEnv() {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

// Every request must come back at once, whatever the device does.
template <typename F>
void returnsAtOnce(F&& call) {
    const auto start = Clock::now();
    call();
    EXPECT_LT(Clock::now() - start, 200ms);
}

// Polls until the cue channel falls silent; how long that took.
Clock::duration untilCueEnds(const SoundPlayer& player, Clock::time_point since) {
    const auto deadline = Clock::now() + 5s;
    while (player.cuePlaying() && Clock::now() < deadline)
        std::this_thread::sleep_for(5ms);
    return Clock::now() - since;
}

class SoundPlayerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "hinagiku-sound-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path write(const std::string& name, const QByteArray& bytes) {
        std::ofstream(dir_ / name, std::ios::binary).write(bytes.constData(), bytes.size());
        return dir_ / name;
    }

    ScopedEnv driver_{"SDL_AUDIODRIVER", "dummy"};
    fs::path dir_;
};

TEST_F(SoundPlayerTest, OpensTheDeviceOnTheFirstSoundOnlyAndPlays) {
    SoundPlayer player;
    player.stop();  // silencing nothing needs no device
    EXPECT_EQ(player.deviceState(), SoundPlayer::DeviceState::NotOpened);
    EXPECT_EQ(player.openAttempts(), 0);

    returnsAtOnce([&] { player.playCue(sineWave(0.5)); });
    ASSERT_TRUE(player.waitIdle(10s));
    EXPECT_EQ(player.deviceState(), SoundPlayer::DeviceState::Open);
    EXPECT_TRUE(player.cuePlaying());
    player.playCue(sineWave(0.3));
    ASSERT_TRUE(player.waitIdle(10s));
    EXPECT_EQ(player.openAttempts(), 1);
}

TEST_F(SoundPlayerTest, ANewCueCutsOffTheOneStillPlaying) {
    SoundPlayer player;
    // A long cue alone is still heard well after the moment checked below.
    auto start = Clock::now();
    player.playCue(sineWave(0.8));
    ASSERT_TRUE(player.waitIdle(10s));
    EXPECT_GE(untilCueEnds(player, start), 600ms);

    start = Clock::now();
    player.playCue(sineWave(0.8));
    player.playCue(sineWave(0.08));
    ASSERT_TRUE(player.waitIdle(10s));
    EXPECT_LT(untilCueEnds(player, start), 500ms);
}

TEST_F(SoundPlayerTest, FilesPlayBesideCuesAndANewFileReplacesTheOld) {
    SoundPlayer player;
    const auto longWave = write("long.wav", sineWave(2.0));
    returnsAtOnce([&] { player.playFile(longWave); });
    ASSERT_TRUE(player.waitIdle(10s));
    EXPECT_TRUE(player.filePlaying());
    player.playCue(sineWave(0.1));
    ASSERT_TRUE(player.waitIdle(10s));
    EXPECT_TRUE(player.filePlaying());

    // The next file replaces it even when that one cannot be played.
    player.playFile(dir_ / "missing.wav");
    ASSERT_TRUE(player.waitIdle(10s));
    EXPECT_FALSE(player.filePlaying());

    player.playFile(longWave);
    player.playCue(sineWave(1.0));
    ASSERT_TRUE(player.waitIdle(10s));
    returnsAtOnce([&] { player.stop(); });
    ASSERT_TRUE(player.waitIdle(10s));
    EXPECT_FALSE(player.filePlaying());
    EXPECT_FALSE(player.cuePlaying());
}

TEST_F(SoundPlayerTest, FilesThatCannotBePlayedAreSilentlyIgnored) {
    SoundPlayer player;
    fs::create_directory(dir_ / "folder.wav");
    ASSERT_EQ(mkfifo((dir_ / "fifo.wav").c_str(), 0600), 0);
    const fs::path bad[] = {
        dir_ / "missing.wav",
        write("text.wav", "this is not a sound\r\n"),
        write("empty.mid", ""),
        write("cut.wav", sineWave(0.5).left(30)),
        dir_ / "folder.wav",
        dir_ / "fifo.wav",  // opening it would block until a writer came
        "",
    };
    for (const auto& path : bad) {
        SCOPED_TRACE(path.string());
        returnsAtOnce([&] { player.playFile(path); });
        ASSERT_TRUE(player.waitIdle(10s));
        EXPECT_FALSE(player.filePlaying());
    }
    // A damaged MIDI file may play what it has; it must not break anything.
    returnsAtOnce([&] { player.playFile(write("cut.mid", midiNote().left(24))); });
    ASSERT_TRUE(player.waitIdle(10s));
    // Garbage handed in as a cue is silent.
    for (const QByteArray& wave :
         {QByteArray(), QByteArray("RIFF\x10\0\0\0WAVE", 12), sineWave(0.2).left(40)}) {
        player.playCue(wave);
        ASSERT_TRUE(player.waitIdle(10s));
        EXPECT_FALSE(player.cuePlaying());
    }
}

TEST_F(SoundPlayerTest, MidiFilesPlayThroughTheSoundFont) {
    SoundPlayer player;
    const auto midi = write("NOTE.MID", midiNote());
    returnsAtOnce([&] { player.playFile(midi); });
    ASSERT_TRUE(player.waitIdle(30s));
    if (!fs::exists(SoundPlayer::Options{}.soundFont))
        GTEST_SKIP() << "no General MIDI sound font installed";
    EXPECT_TRUE(player.filePlaying());
}

TEST_F(SoundPlayerTest, WithoutADeviceSoundsAreDroppedAndTheOpenIsNotRetriedAtOnce) {
    ScopedEnv none("SDL_AUDIODRIVER", "no-such-driver");
    const auto wave = write("a.wav", sineWave(0.2));
    {
        SoundPlayer player(SoundPlayer::Options{.retryAfter = std::chrono::hours(1)});
        for (int i = 0; i < 3; ++i) {
            returnsAtOnce([&] { player.playCue(sineWave(0.2)); });
            returnsAtOnce([&] { player.playFile(wave); });
            ASSERT_TRUE(player.waitIdle(10s));
        }
        EXPECT_EQ(player.deviceState(), SoundPlayer::DeviceState::Failed);
        EXPECT_EQ(player.openAttempts(), 1);
        EXPECT_FALSE(player.cuePlaying());
        EXPECT_FALSE(player.filePlaying());
    }
    {
        // Once the retry time has passed the next sound tries again.
        SoundPlayer player(SoundPlayer::Options{.retryAfter = std::chrono::milliseconds(0)});
        player.playCue(sineWave(0.2));
        ASSERT_TRUE(player.waitIdle(10s));
        player.playCue(sineWave(0.2));
        ASSERT_TRUE(player.waitIdle(10s));
        EXPECT_EQ(player.openAttempts(), 2);
    }
}

TEST_F(SoundPlayerTest, EndingWhilePlayingIsQuick) {
    const auto start = Clock::now();
    {
        SoundPlayer player;
        player.playFile(write("long.wav", sineWave(3.0)));
        player.playCue(sineWave(0.6));
    }
    EXPECT_LT(Clock::now() - start, 3s);
}

}  // namespace
}  // namespace hinagiku::platform
