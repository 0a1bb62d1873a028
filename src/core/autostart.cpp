#include "core/autostart.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>

#include "platform/atomic_file.h"

namespace hinagiku::core {
namespace {

// Marks an entry as ours: only such entries are rewritten or removed.
constexpr std::string_view kMarker = "X-Hinagiku-Autostart=true";

bool hasLine(std::string_view text, std::string_view wanted) {
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line == wanted)
            return true;
        pos = end + 1;
    }
    return false;
}

}  // namespace

Autostart::Autostart(std::filesystem::path configHome) : configHome_(std::move(configHome)) {}

std::filesystem::path Autostart::defaultConfigHome() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/')
        return xdg;
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home != nullptr ? home : "/") / ".config";
}

std::filesystem::path Autostart::entryPath() const {
    return configHome_ / "autostart" / (std::string(kApplicationId) + ".desktop");
}

AutostartState Autostart::state() const {
    const std::filesystem::path path = entryPath();
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0)
        return errno == ENOENT || errno == ENOTDIR ? AutostartState::Off
                                                   : AutostartState::Unreadable;
    std::string text;
    if (!S_ISREG(st.st_mode) || !platform::readWholeFile(path, text))
        return AutostartState::Unreadable;
    if (!hasLine(text, kMarker))
        return AutostartState::Foreign;
    if (hasLine(text, "Hidden=true") || hasLine(text, "X-GNOME-Autostart-enabled=false"))
        return AutostartState::Disabled;
    return AutostartState::On;
}

std::string Autostart::quoteExecArgument(std::string_view argument) {
    // Reserved characters need the argument quoted; inside quotes ", `, $
    // and \ take a backslash. A literal % is always written %%.
    bool quote = argument.empty();
    std::string inner;
    for (const char c : argument) {
        if (std::strchr(" \t\n\"'\\><~|&;$*?#()`", c) != nullptr)
            quote = true;
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            inner += '\\';
        if (c == '%')
            inner += '%';
        inner += c;
    }
    if (!quote)
        return inner;
    // The desktop-entry level unescapes backslashes once more.
    std::string out = "\"";
    for (const char c : inner) {
        if (c == '\\')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string Autostart::entryText(const std::filesystem::path& program) {
    std::string text =
        "[Desktop Entry]\n"
        "Type=Application\n"
        "Name=Hinagiku\n"
        "Name[ja]=ひなぎく\n"
        "Comment=Resident desktop calendar and personal organiser\n"
        "Comment[ja]=常駐型のデスクトップカレンダーと個人手帳\n";
    text += "Exec=" + quoteExecArgument(program.string()) + "\n";
    text += "Icon=" + std::string(kApplicationId) + "\n";
    text +=
        "Terminal=false\n"
        "X-GNOME-Autostart-enabled=true\n";
    text += std::string(kMarker) + "\n";
    return text;
}

AutostartResult Autostart::set(bool on, const std::filesystem::path& program) const {
    const std::filesystem::path path = entryPath();
    switch (state()) {
        case AutostartState::Foreign:
            return {false, "\"" + path.string() +
                               "\" was not written by this program; it is left as it is."};
        case AutostartState::Unreadable:
            return {false, "\"" + path.string() + "\" cannot be read; it is left as it is."};
        case AutostartState::Off:
            if (!on)
                return {};
            break;
        case AutostartState::On:
        case AutostartState::Disabled:
            break;
    }
    try {
        if (on) {
            std::filesystem::create_directories(path.parent_path());
            platform::writeFileAtomically(path, entryText(program));
        } else {
            std::filesystem::remove(path);
        }
    } catch (const std::exception& e) {
        return {false, e.what()};
    }
    return {};
}

}  // namespace hinagiku::core
