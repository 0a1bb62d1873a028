#include "platform/sound_output.h"

#include "platform/sound_player.h"

namespace hinagiku::platform {

namespace {

SoundOutput* installed = nullptr;

}  // namespace

SoundOutput& soundOutput() {
    if (installed != nullptr)
        return *installed;
    // Constructed on first use and cheap: the device opens with the first sound.
    static SoundPlayer systemPlayer;
    return systemPlayer;
}

void setSoundOutput(SoundOutput* output) {
    installed = output;
}

}  // namespace hinagiku::platform
