#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace hinagiku::core {

// Start at login through an XDG autostart entry,
// $XDG_CONFIG_HOME/autostart/<application id>.desktop. The state shown to
// the user is read from that file, never kept in the settings file.
inline constexpr std::string_view kApplicationId = "org.hinagiku.Hinagiku";

enum class AutostartState {
    Off,         // no entry
    On,          // our entry, enabled
    Disabled,    // our entry, switched off by the desktop (Hidden or not enabled)
    Foreign,     // an entry of that name that this program did not write
    Unreadable,  // something there that cannot be read as a file
};

struct AutostartResult {
    bool ok = true;
    std::string message;  // why not, for the user
};

class Autostart {
  public:
    // `configHome`: $XDG_CONFIG_HOME, else ~/.config (see defaultConfigHome).
    explicit Autostart(std::filesystem::path configHome);

    static std::filesystem::path defaultConfigHome();

    std::filesystem::path entryPath() const;
    AutostartState state() const;

    // On: writes the entry starting `program`; a disabled entry of ours is
    // replaced. Off: removes our entry. A foreign or unreadable entry is
    // never overwritten or removed: the result says why.
    AutostartResult set(bool on, const std::filesystem::path& program) const;

    // The entry's text for `program`.
    static std::string entryText(const std::filesystem::path& program);
    // A path as one argument of a desktop entry's Exec key.
    static std::string quoteExecArgument(std::string_view argument);

  private:
    std::filesystem::path configHome_;
};

}  // namespace hinagiku::core
