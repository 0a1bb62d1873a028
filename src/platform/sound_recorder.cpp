#include "platform/sound_recorder.h"

#include <utility>

namespace hinagiku::platform {

void SoundRecorder::playCue(const QByteArray& wave) {
    calls_.push_back({Kind::Cue, wave, {}});
}

void SoundRecorder::playFile(const std::filesystem::path& path) {
    calls_.push_back({Kind::File, {}, path});
}

void SoundRecorder::stop() {
    calls_.push_back({Kind::Stop, {}, {}});
}

void SoundRecorder::playTone(const QByteArray& wave, std::function<void()> playedOut) {
    calls_.push_back({Kind::Tone, wave, {}});
    playedOut_ = std::move(playedOut);
}

void SoundRecorder::stopTone() {
    calls_.push_back({Kind::StopTone, {}, {}});
    playedOut_ = nullptr;
}

bool SoundRecorder::finishTone() {
    auto notice = std::exchange(playedOut_, nullptr);
    if (!notice)
        return false;
    notice();
    return true;
}

}  // namespace hinagiku::platform
