#include "platform/wallpaper.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QString>
#include <QUrl>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>

#include "platform/atomic_file.h"
#include "platform/command_runner.h"

namespace hinagiku::platform {
namespace {

enum class Desktop { Unknown, Gnome, Cinnamon, Mate, Kde, Xfce, Lxqt, Lxde };

std::string lowered(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

Desktop desktopOf(std::string_view names) {
    std::size_t start = 0;
    while (start <= names.size()) {
        std::size_t end = names.find(':', start);
        if (end == std::string_view::npos)
            end = names.size();
        const std::string name = lowered(names.substr(start, end - start));
        if (name == "kde")
            return Desktop::Kde;
        if (name == "x-cinnamon" || name == "cinnamon")
            return Desktop::Cinnamon;
        if (name == "mate")
            return Desktop::Mate;
        if (name == "xfce")
            return Desktop::Xfce;
        if (name == "lxqt")
            return Desktop::Lxqt;
        if (name == "lxde")
            return Desktop::Lxde;
        if (name == "gnome" || name == "gnome-classic" || name == "gnome-flashback" ||
            name == "unity" || name == "budgie" || name == "pantheon" || name == "ubuntu") {
            return Desktop::Gnome;
        }
        start = end + 1;
    }
    return Desktop::Unknown;
}

// A GVariant string literal, so gsettings never guesses at the value.
std::string variantString(std::string_view text) {
    std::string result = "'";
    for (const char c : text) {
        if (c == '\'' || c == '\\')
            result.push_back('\\');
        result.push_back(c);
    }
    result.push_back('\'');
    return result;
}

// A JavaScript string literal for Plasma's scripting interface.
std::string scriptString(std::string_view text) {
    std::string result = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            result.push_back('\\');
        if (c == '\n') {
            result += "\\n";
            continue;
        }
        result.push_back(c);
    }
    result.push_back('"');
    return result;
}

std::string fileUri(const std::string& path) {
    return QUrl::fromLocalFile(QString::fromStdString(path))
        .toString(QUrl::FullyEncoded)
        .toStdString();
}

WallpaperCommand gsettings(const char* schema, const char* key, const std::string& value) {
    return {"gsettings", {"set", schema, key, variantString(value)}};
}

std::string plasmaScript(const std::string& path) {
    return "var all = desktops();"
           "for (var i = 0; i < all.length; i++) {"
           " var d = all[i];"
           " d.wallpaperPlugin = \"org.kde.image\";"
           " d.currentConfigGroup = Array(\"Wallpaper\", \"org.kde.image\", \"General\");"
           " d.writeConfig(\"Image\", " +
           scriptString(fileUri(path)) + ");}";
}

void rootWindowSetter(WallpaperPlan& plan, const std::string& path,
                      const std::function<bool(const std::string&)>& available) {
    const WallpaperCommand setters[] = {
        {"feh", {"--bg-scale", path}},
        {"xwallpaper", {"--stretch", path}},
        {"hsetroot", {"-fill", path}},
        {"xsetbg", {path}},
    };
    for (const auto& setter : setters) {
        if (available(setter.program)) {
            plan.commands.push_back(setter);
            return;
        }
    }
}

}  // namespace

DesktopSession DesktopSession::fromEnvironment() {
    DesktopSession session;
    if (const char* desktop = std::getenv("XDG_CURRENT_DESKTOP"))
        session.currentDesktop = desktop;
    const char* display = std::getenv("DISPLAY");
    session.hasX11Display = display != nullptr && *display != '\0';
    return session;
}

WallpaperPlan planWallpaper(const DesktopSession& session, const std::string& path,
                            const std::function<bool(const std::string&)>& available) {
    WallpaperPlan plan;
    switch (desktopOf(session.currentDesktop)) {
        case Desktop::Gnome:
            if (available("gsettings")) {
                const std::string uri = fileUri(path);
                plan.commands.push_back(
                    gsettings("org.gnome.desktop.background", "picture-uri", uri));
                // Older GNOME has no dark picture; that command then simply fails.
                plan.commands.push_back(
                    gsettings("org.gnome.desktop.background", "picture-uri-dark", uri));
            }
            break;
        case Desktop::Cinnamon:
            if (available("gsettings")) {
                plan.commands.push_back(
                    gsettings("org.cinnamon.desktop.background", "picture-uri", fileUri(path)));
            }
            break;
        case Desktop::Mate:
            if (available("gsettings")) {
                plan.commands.push_back(gsettings("org.mate.background", "picture-filename", path));
            }
            break;
        case Desktop::Kde:
            if (available("plasma-apply-wallpaperimage")) {
                plan.commands.push_back({"plasma-apply-wallpaperimage", {path}});
            } else if (available("qdbus")) {
                plan.commands.push_back(
                    {"qdbus",
                     {"org.kde.plasmashell", "/PlasmaShell", "org.kde.PlasmaShell.evaluateScript",
                      plasmaScript(path)}});
            } else if (available("dbus-send")) {
                plan.commands.push_back(
                    {"dbus-send",
                     {"--session", "--dest=org.kde.plasmashell", "--type=method_call",
                      "/PlasmaShell", "org.kde.PlasmaShell.evaluateScript",
                      "string:" + plasmaScript(path)}});
            }
            break;
        case Desktop::Xfce:
            if (available("xfconf-query"))
                plan.listXfceProperties = true;
            break;
        case Desktop::Lxqt:
            if (available("pcmanfm-qt")) {
                plan.commands.push_back({"pcmanfm-qt", {"--set-wallpaper=" + path}});
            }
            break;
        case Desktop::Lxde:
            if (available("pcmanfm")) {
                plan.commands.push_back({"pcmanfm", {"--set-wallpaper=" + path}});
            }
            break;
        case Desktop::Unknown:
            break;
    }
    if (plan.commands.empty() && !plan.listXfceProperties && session.hasX11Display) {
        rootWindowSetter(plan, path, available);
    }
    return plan;
}

std::vector<WallpaperCommand> xfceWallpaperCommands(std::string_view listing,
                                                    const std::string& path) {
    std::vector<WallpaperCommand> commands;
    std::size_t start = 0;
    while (start < listing.size()) {
        std::size_t end = listing.find('\n', start);
        if (end == std::string_view::npos)
            end = listing.size();
        std::string_view line = listing.substr(start, end - start);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
            line.remove_suffix(1);
        if (line.starts_with("/backdrop/") && line.ends_with("/last-image")) {
            commands.push_back(
                {"xfconf-query", {"-c", "xfce4-desktop", "-p", std::string(line), "-s", path}});
        }
        start = end + 1;
    }
    if (commands.empty()) {
        commands.push_back(
            {"xfconf-query",
             {"-c", "xfce4-desktop", "-p", "/backdrop/screen0/monitor0/workspace0/last-image",
              "--create", "-t", "string", "-s", path}});
    }
    return commands;
}

WallpaperResult SetWallpaper(const QImage& bitmap, const std::string& bmpPath,
                             CommandRunner& runner, const DesktopSession& session) {
    if (bitmap.isNull())
        return {WallpaperResult::Status::NotSaved, "壁紙にする画像がありません。"};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!bitmap.save(&buffer, "BMP")) {
        return {WallpaperResult::Status::NotSaved,
                "\"" + bmpPath + "\": BMP 形式で書き出せません。"};
    }
    try {
        writeFileAtomically(
            bmpPath, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    } catch (const IoError& error) {
        return {WallpaperResult::Status::NotSaved, error.what()};
    }

    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(bmpPath, error);
    const std::string path = error ? bmpPath : absolute.lexically_normal().string();
    const WallpaperPlan plan =
        planWallpaper(session, path, [&](const std::string& p) { return runner.isAvailable(p); });
    std::vector<WallpaperCommand> commands = plan.commands;
    if (plan.listXfceProperties) {
        const CommandOutcome listing = runner.run("xfconf-query", {"-c", "xfce4-desktop", "-l"});
        if (listing.succeeded())
            commands = xfceWallpaperCommands(listing.output, path);
    }
    bool applied = false;
    for (const auto& command : commands) {
        if (runner.run(command.program, command.arguments).succeeded())
            applied = true;
    }
    if (applied)
        return {WallpaperResult::Status::Applied, {}};
    return {WallpaperResult::Status::SavedOnly, commands.empty()
                                                    ? "この環境では壁紙を設定できません。"
                                                    : "壁紙を設定できませんでした。"};
}

WallpaperResult SetWallpaper(const QImage& bitmap, const std::string& bmpPath) {
    ProcessCommandRunner runner;
    return SetWallpaper(bitmap, bmpPath, runner);
}

}  // namespace hinagiku::platform
