#pragma once

#include <QByteArray>

#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

#include "platform/sound_output.h"

namespace hinagiku::platform {

// The system's sound output, on SDL2_mixer: cues on one mixer channel, files
// as the mixer's music (MIDI through a General MIDI sound font).
//
// All audio work runs on one worker thread started by the first request, so
// the caller never waits for the device, a slow sound server or the loading
// of a sound font. The device is opened once, on the first sound; when that
// fails (no device, SDL_AUDIODRIVER naming nothing usable) sounds are dropped
// silently and the open is tried again only after `retryAfter`. Requests that
// arrive while the worker is busy collapse: only the latest cue and the
// latest file are played.
class SoundPlayer final : public SoundOutput {
  public:
    struct Options {
        std::chrono::milliseconds retryAfter{std::chrono::minutes(1)};
        std::filesystem::path soundFont{"/usr/share/sounds/sf2/TimGM6mb.sf2"};
    };
    enum class DeviceState { NotOpened, Open, Failed };

    SoundPlayer();
    explicit SoundPlayer(Options options);
    // Stops the sounds and closes the device; waits for the worker at most a
    // short while, so that a hung sound server cannot hold up the exit.
    ~SoundPlayer() override;
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    void playCue(const QByteArray& wave) override;
    void playFile(const std::filesystem::path& path) override;
    void stop() override;
    // Key tones play on a channel of their own (see SoundOutput).
    void playTone(const QByteArray& wave, std::function<void()> playedOut) override;
    void stopTone() override;

    // For diagnostics and tests.
    DeviceState deviceState() const;
    int openAttempts() const;
    // Waits until every request made so far has been handled; false when the
    // timeout passes first.
    bool waitIdle(std::chrono::milliseconds timeout) const;
    bool cuePlaying() const;
    bool filePlaying() const;

    struct Shared;  // state shared with the worker thread

  private:
    void ensureWorker();

    std::shared_ptr<Shared> shared_;
    std::thread worker_;
};

}  // namespace hinagiku::platform
