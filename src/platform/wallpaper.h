#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class QImage;

namespace hinagiku::platform {

class CommandRunner;

// The running desktop, as far as the wallpaper cares.
struct DesktopSession {
    std::string currentDesktop;  // XDG_CURRENT_DESKTOP, e.g. "ubuntu:GNOME"
    bool hasX11Display = false;  // DISPLAY is set

    static DesktopSession fromEnvironment();
};

struct WallpaperCommand {
    std::string program;
    std::vector<std::string> arguments;
    bool operator==(const WallpaperCommand&) const = default;
};

// How the picture at `imagePath` (absolute) becomes the wallpaper.
struct WallpaperPlan {
    // Run in order; the wallpaper counts as set when one of them succeeds.
    std::vector<WallpaperCommand> commands;
    // Xfce keeps one picture per monitor and workspace: list its desktop
    // properties first (xfconf-query -c xfce4-desktop -l), then run
    // xfceWallpaperCommands on the listing.
    bool listXfceProperties = false;
};

// Decides by the desktop (the first name of XDG_CURRENT_DESKTOP that is
// known): GNOME and its relatives (Unity, Budgie, Pantheon) through
// gsettings, both the light and the dark picture; Cinnamon and MATE through
// their own gsettings schemas; KDE Plasma through plasma-apply-wallpaperimage
// or its scripting interface over D-Bus (qdbus, else dbus-send); Xfce through
// xfconf-query; LXQt and LXDE through their file managers. Any other desktop
// with an X11 display, or a known one whose tool is missing: the first root
// window setter found (feh, xwallpaper, hsetroot, xsetbg). Empty when none
// applies. `available` tells whether a program is on PATH.
WallpaperPlan planWallpaper(const DesktopSession& session, const std::string& imagePath,
                            const std::function<bool(const std::string&)>& available);

// The xfconf-query commands that point every "last-image" property of the
// listing at `imagePath`; without any such property, the first monitor's
// first workspace is created.
std::vector<WallpaperCommand> xfceWallpaperCommands(std::string_view propertyListing,
                                                    const std::string& imagePath);

struct WallpaperResult {
    enum class Status {
        Applied,    // saved, and the desktop took it
        SavedOnly,  // saved; no way to set it on this desktop, or the tool failed
        NotSaved,   // the picture could not be written (message says why)
    };
    Status status = Status::NotSaved;
    std::string message;
};

// Saves `bitmap` as a BMP file at `bmpPath` (replacing it as a whole), then
// makes it the desktop wallpaper by planWallpaper through `runner`. A desktop
// that offers no way to set it is left alone silently.
WallpaperResult SetWallpaper(const QImage& bitmap, const std::string& bmpPath,
                             CommandRunner& runner,
                             const DesktopSession& session = DesktopSession::fromEnvironment());
// The same with the system's commands.
WallpaperResult SetWallpaper(const QImage& bitmap, const std::string& bmpPath);

}  // namespace hinagiku::platform
