#include "platform/sound_recorder.h"

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

}  // namespace hinagiku::platform
