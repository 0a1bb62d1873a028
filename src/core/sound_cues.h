#pragma once

#include <QByteArray>

#include <array>
#include <filesystem>
#include <string_view>

#include "platform/settings.h"
#include "platform/sound_output.h"

namespace hinagiku::core {

// The built-in cues, by the names callers ask for.
inline constexpr std::array<std::string_view, 9> kSoundCueNames{"ope", "clo", "sav", "del", "cop",
                                                                "c1",  "pop", "pas", "rml"};

// The RIFF WAVE bytes of the built-in sound `name` (a file ":/sounds/<NAME>.wav"
// of the program's resources; the name compares without regard to case).
// Empty when there is no such sound. The bytes live as long as the program.
QByteArray soundCueData(std::string_view name);

// Plays a built-in cue and returns at once, cutting off the cue still
// playing, unless [Form] Waveplay is off. An unknown name plays nothing.
void PlaySoundCue(const platform::Settings& settings, std::string_view name,
                  platform::SoundOutput& output = platform::soundOutput());

// Starts a .WAV or .MID file and returns at once; a new file replaces the one
// playing. A file that is missing or cannot be played stays silent.
void PlaySoundFile(const std::filesystem::path& path,
                   platform::SoundOutput& output = platform::soundOutput());

}  // namespace hinagiku::core
