#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace hinagiku::tools {

// What a shortcut file comes to: a command to start, or why it cannot be had.
struct ShortcutTarget {
    std::string program;     // a path or URL
    std::string parameters;  // a Windows-style command line (split like parameters)
    std::string workingFolder;
    std::string error;  // set when the shortcut cannot be followed
};

// The URL of an Internet shortcut (.url): "URL=" in [InternetShortcut]; CP932
// text is decoded. Nothing for a file without one.
std::optional<std::string> readUrlShortcut(std::string_view bytes);

// The Wine prefix whose "dosdevices" maps drive letters: $WINEPREFIX, else
// ~/.wine.
std::filesystem::path winePrefix();
// A Windows path "C:\dir\file" through `prefix`/dosdevices/c:/dir/file; empty
// when it is not a drive path.
std::string mapWindowsPath(std::string_view windowsPath, const std::filesystem::path& prefix);

// Follows a Windows shell link (.lnk) with liblnk (ANSI strings read as code
// page 932): the target is its relative path taken from the link's folder,
// else its local path through the Wine prefix; its arguments become the
// parameters. A target that does not exist gives an error naming it.
ShortcutTarget readLnkShortcut(const std::filesystem::path& link,
                               const std::filesystem::path& prefix = winePrefix());

}  // namespace hinagiku::tools
