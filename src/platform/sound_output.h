#pragma once

#include <QByteArray>

#include <filesystem>
#include <functional>
#include <memory>

class QTimer;

namespace hinagiku::platform {

// Where the program's sounds go: short cues held in memory and sound files
// from the user's disk. Every call returns at once; playback runs on its own
// and nothing reports its end or its failure (a sound that cannot be played
// is simply not heard).
class SoundOutput {
  public:
    SoundOutput();
    virtual ~SoundOutput();
    SoundOutput(const SoundOutput&) = delete;
    SoundOutput& operator=(const SoundOutput&) = delete;

    // Plays a RIFF WAVE clip held in memory. A cue cuts off the cue still
    // playing; it does not touch a file that is playing.
    virtual void playCue(const QByteArray& wave) = 0;
    // Plays a sound file (WAV, MIDI). A new file replaces the one playing;
    // a missing, unreadable or unsupported file plays nothing.
    virtual void playFile(const std::filesystem::path& path) = 0;
    // Silences the cue and the file.
    virtual void stop() = 0;

    // The tone channel, for key tones played one after another: its own
    // channel, which cues, files and stop() never cut, and requests that
    // never collapse. A new tone replaces only the tone still playing.
    // `playedOut` runs on the user-interface thread once the wave's length
    // has passed (whether or not a device could play it), unless stopTone()
    // or another playTone() comes first. The default plays nothing and only
    // gives the notice.
    virtual void playTone(const QByteArray& wave, std::function<void()> playedOut);
    // Silences the tone and drops its notice.
    virtual void stopTone();

  protected:
    void noticeAfterWave(const QByteArray& wave, std::function<void()> playedOut);
    void cancelToneNotice();

  private:
    std::unique_ptr<QTimer> toneTimer_;
};

// Playing time of a RIFF WAVE image in whole milliseconds, rounded up; 0
// when the header cannot be read.
int waveDurationMs(const QByteArray& wave);

// The process-wide output every window plays through: the system's player
// (SoundPlayer), which touches the audio device only when the first sound is
// requested. setSoundOutput installs another one (a test double); nullptr
// returns to the system's player. Neither call is thread-safe: use them from
// the user-interface thread.
SoundOutput& soundOutput();
void setSoundOutput(SoundOutput* output);

}  // namespace hinagiku::platform
