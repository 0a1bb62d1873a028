#pragma once

#include <QByteArray>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/sound_output.h"

namespace hinagiku::platform {

// A SoundOutput that plays nothing and remembers every call, for tests of
// the code that decides which sound to play.
class SoundRecorder final : public SoundOutput {
  public:
    enum class Kind { Cue, File, Stop, Tone, StopTone };
    struct Call {
        Kind kind;
        QByteArray wave;             // for Cue
        std::filesystem::path path;  // for File
    };

    void playCue(const QByteArray& wave) override;
    void playFile(const std::filesystem::path& path) override;
    void stop() override;
    // Records the tone; its notice waits for finishTone().
    void playTone(const QByteArray& wave, std::function<void()> playedOut) override;
    void stopTone() override;
    // Gives the notice of the tone playing, as its end would; false when no
    // tone is waiting for one.
    bool finishTone();
    bool tonePending() const { return static_cast<bool>(playedOut_); }

    const std::vector<Call>& calls() const { return calls_; }
    void clear() { calls_.clear(); }

  private:
    std::vector<Call> calls_;
    std::function<void()> playedOut_;
};

}  // namespace hinagiku::platform
