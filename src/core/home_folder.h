#pragma once

#include <filesystem>

namespace hinagiku::core {

// The folder of the running executable.
std::filesystem::path executableFolder();

// The home folder: where hinagiku.ini, the default "Schedule" folder, the
// "Shortcut" folder and the wallpaper bitmaps live. $HINAGIKU_HOME when set;
// else the executable's folder when a hinagiku.ini is there (portable use);
// else $XDG_DATA_HOME/hinagiku (~/.local/share/hinagiku). Not created here.
std::filesystem::path homeFolder();

// homeFolder(), created when missing (the program writes its settings there).
std::filesystem::path ensureHomeFolder();

// homeFolder() / "hinagiku.ini".
std::filesystem::path settingsFilePath();

}  // namespace hinagiku::core
