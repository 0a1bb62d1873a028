#pragma once

#include <QByteArray>

#include <filesystem>

namespace hinagiku::platform {

// Where the program's sounds go: short cues held in memory and sound files
// from the user's disk. Every call returns at once; playback runs on its own
// and nothing reports its end or its failure (a sound that cannot be played
// is simply not heard).
class SoundOutput {
  public:
    virtual ~SoundOutput() = default;

    // Plays a RIFF WAVE clip held in memory. A cue cuts off the cue still
    // playing; it does not touch a file that is playing.
    virtual void playCue(const QByteArray& wave) = 0;
    // Plays a sound file (WAV, MIDI). A new file replaces the one playing;
    // a missing, unreadable or unsupported file plays nothing.
    virtual void playFile(const std::filesystem::path& path) = 0;
    // Silences the cue and the file.
    virtual void stop() = 0;
};

// The process-wide output every window plays through: the system's player
// (SoundPlayer), which touches the audio device only when the first sound is
// requested. setSoundOutput installs another one (a test double); nullptr
// returns to the system's player. Neither call is thread-safe: use them from
// the user-interface thread.
SoundOutput& soundOutput();
void setSoundOutput(SoundOutput* output);

}  // namespace hinagiku::platform
